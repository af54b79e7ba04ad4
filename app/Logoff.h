#pragma once
// The shutdown privilege around a restart request. Failures are shown in a message box and go
// no further.
#include "platform/Services.h"

class Logoff {
public:
    // `owner`: the window over which a failure box appears.
    Logoff(platform::Services& services, platform::WindowHandle owner)
        : m_services(services), m_hOwner(owner)
    {
    }
    virtual ~Logoff() = default;
    Logoff(const Logoff&) = delete;
    Logoff& operator=(const Logoff&) = delete;

    void EnableShutdownPrivilege() { SetShutdownPrivilege(true); }
    void DisableShutdownPrivilege() { SetShutdownPrivilege(false); }

private:
    void SetShutdownPrivilege(bool enable);

    platform::Services& m_services;
    platform::WindowHandle m_hOwner;
};

// Both restart procedures end in these steps: the privilege enabled, the restart requested
// (its result does not matter: nothing is shown either way), the privilege disabled again.
void RequestWindowsRestart(platform::Services& services, platform::WindowHandle owner);
