// Win32 restart services: the process token, the privilege adjustment and ExitWindowsEx.
#include "platform/Restart.h"
#include "platform/NativeBackends.h"
#include "platform/win32/Win32.h"

namespace platform {
namespace {

class Win32AccessToken final : public AccessToken {
public:
    explicit Win32AccessToken(HANDLE token) : m_token(token) {}
    HANDLE Get() const { return m_token.Get(); }

private:
    win32::ScopedHandle m_token;
};

class Win32RestartServices final : public RestartServices {
public:
    std::unique_ptr<AccessToken> OpenProcessToken() override
    {
        HANDLE token = nullptr;
        if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY,
                                &token))
            return nullptr;
        return std::make_unique<Win32AccessToken>(token);
    }

    bool LookupPrivilege(const std::wstring& name, PrivilegeId& id) override
    {
        LUID luid{};
        if (!::LookupPrivilegeValueW(nullptr, win32::Wide(name), &luid))
            return false;
        id.low = luid.LowPart;
        id.high = luid.HighPart;
        return true;
    }

    void AdjustPrivilege(AccessToken& token, const PrivilegeId& id, bool enable) override
    {
        TOKEN_PRIVILEGES privileges{};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Luid.LowPart = id.low;
        privileges.Privileges[0].Luid.HighPart = id.high;
        privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
        ::AdjustTokenPrivileges(static_cast<Win32AccessToken&>(token).Get(), FALSE, &privileges,
                                0, nullptr, nullptr);
    }

    std::uint32_t LastError() override { return ::GetLastError(); }

    bool RequestRestart() override { return ::ExitWindowsEx(EWX_REBOOT, 0) != FALSE; }
};

} // namespace

RestartServices& NativeRestartServices()
{
    static Win32RestartServices restart;
    return restart;
}

} // namespace platform
