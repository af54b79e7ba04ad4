#include "app/Logoff.h"

#include "platform/MessageBox.h"
#include "platform/Restart.h"

void Logoff::SetShutdownPrivilege(bool enable)
{
    platform::RestartServices& restart = *m_services.restart;
    const std::unique_ptr<platform::AccessToken> token = restart.OpenProcessToken();
    if (!token) {
        m_services.messageBoxes->ShowWarning(m_hOwner, L"ERROR: Unable to open process token.");
        return;
    }
    // An unknown name leaves the identifier empty, and the adjustment then reports the failure.
    platform::PrivilegeId shutdown;
    restart.LookupPrivilege(L"SeShutdownPrivilege", shutdown);
    restart.AdjustPrivilege(*token, shutdown, enable);
    // The adjustment "succeeds" with ERROR_NOT_ALL_ASSIGNED when the token lacks the
    // privilege; only the last error tells.
    if (restart.LastError() != 0)
        m_services.messageBoxes->ShowWarning(m_hOwner,
                                             L"ERROR: Uanble to adjust token privileges.");
}

void RequestWindowsRestart(platform::Services& services, platform::WindowHandle owner)
{
    Logoff logoff(services, owner);
    logoff.EnableShutdownPrivilege();
    services.restart->RequestRestart();
    logoff.DisableShutdownPrivilege();
}
