#pragma once
// The Win32 backends of the program shell's services, wired into NativeServices.
#include "platform/Services.h"

namespace platform::win32 {

DialogHost& NativeDialogHost();
MessageBoxes& NativeMessageBoxes();
RestartServices& NativeRestartServices();
ProcessArguments& NativeProcessArguments();

inline bool WireAppServices(Services& services)
{
    services.dialogs = &NativeDialogHost();
    services.messageBoxes = &NativeMessageBoxes();
    services.restart = &NativeRestartServices();
    services.arguments = &NativeProcessArguments();
    return true;
}

} // namespace platform::win32
