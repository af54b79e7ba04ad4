#pragma once
// What a Windows restart needs: the process's access token, the shutdown privilege in it, and
// the restart request itself.
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// An open access token of this process; closed when the object ends.
class AccessToken {
public:
    virtual ~AccessToken() = default;
};

// A privilege's local identifier (a LUID on Windows).
struct PrivilegeId {
    std::uint32_t low = 0;
    std::int32_t high = 0;
};

class RestartServices {
public:
    virtual ~RestartServices() = default;
    // The current process's token, opened to adjust and query privileges; null when it cannot
    // be opened.
    virtual std::unique_ptr<AccessToken> OpenProcessToken() = 0;
    // The identifier of a privilege on the local system; false when the name is unknown.
    virtual bool LookupPrivilege(const std::wstring& name, PrivilegeId& id) = 0;
    // Sets one privilege's attribute in the token, enabled or not; the outcome is LastError.
    virtual void AdjustPrivilege(AccessToken& token, const PrivilegeId& id, bool enable) = 0;
    // The calling thread's last OS error code; 0 after a call that fully succeeded.
    virtual std::uint32_t LastError() = 0;
    // Asks the OS to restart (no force, reason 0); returns once the restart has begun.
    virtual bool RequestRestart() = 0;
};

} // namespace platform
