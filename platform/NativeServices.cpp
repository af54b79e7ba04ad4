#include "platform/NativeBackends.h"

namespace platform {

Services& NativeServices()
{
    static Services services = [] {
        Services s;
        s.clock = &NativeClock();
        s.windows = &NativeWindowMessages();
        s.files = &NativeFileSystem();
        s.system = &NativeSystemInfo();
        s.wmi = &NativeWmi();
        s.processes = &NativeProcesses();
        s.dialogs = &NativeDialogHost();
        s.messageBoxes = &NativeMessageBoxes();
        s.restart = &NativeRestartServices();
        s.arguments = &NativeProcessArguments();
        return s;
    }();
    return services;
}

} // namespace platform
