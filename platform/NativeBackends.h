#pragma once
// The real service objects of the build's OS. Each backend folder (win32/, posix/) defines every
// one of these; NativeServices gathers them in one place for both.
#include "platform/Services.h"

namespace platform {

Clock& NativeClock();
WindowMessages& NativeWindowMessages();
FileSystem& NativeFileSystem();
SystemInfo& NativeSystemInfo();
Wmi& NativeWmi();
Processes& NativeProcesses();
DialogHost& NativeDialogHost();
MessageBoxes& NativeMessageBoxes();
RestartServices& NativeRestartServices();
ProcessArguments& NativeProcessArguments();

} // namespace platform
