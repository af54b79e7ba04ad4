#pragma once
// The POSIX backends of the program shell's services, wired into NativeServices.
#include "platform/Services.h"

namespace platform::posix {

DialogHost& NativeDialogHost();
MessageBoxes& NativeMessageBoxes();
RestartServices& NativeRestartServices();
ProcessArguments& NativeProcessArguments();

// The entry hands over the argument vector that main received; there is no other portable way
// to read it.
void SetProcessArguments(int argc, char** argv);

inline bool WireAppServices(Services& services)
{
    services.dialogs = &NativeDialogHost();
    services.messageBoxes = &NativeMessageBoxes();
    services.restart = &NativeRestartServices();
    services.arguments = &NativeProcessArguments();
    return true;
}

} // namespace platform::posix
