// POSIX restart services. The shutdown privilege is the root user's; the restart is asked of
// the service manager (`systemctl reboot`, else `shutdown -r now`), never made with the reboot
// system call, so that the machine shuts down in order.
#include "platform/Restart.h"
#include "platform/posix/AppServices.h"

#include <cerrno>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace platform {
namespace {

// Windows' ERROR_NOT_ALL_ASSIGNED: the token does not hold the privilege.
constexpr std::uint32_t kNotAllAssigned = 1300;
// The local identifier Windows gives SeShutdownPrivilege.
constexpr std::uint32_t kShutdownPrivilegeLow = 19;

thread_local std::uint32_t t_lastError = 0;

class PosixAccessToken final : public AccessToken {};

bool OnPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    const std::string folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = folders.find(':', start);
        std::string folder = folders.substr(start, end == std::string::npos ? std::string::npos
                                                                            : end - start);
        if (folder.empty())
            folder = ".";
        const std::string candidate = folder + "/" + name;
        struct stat info {};
        if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            ::access(candidate.c_str(), X_OK) == 0)
            return true;
        if (end == std::string::npos)
            return false;
        start = end + 1;
    }
}

// Runs the command found on PATH and waits for it; true when it ended with 0.
bool RunCommand(const std::vector<std::string>& command)
{
    std::vector<char*> argv;
    for (const std::string& part : command)
        argv.push_back(const_cast<char*>(part.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class PosixRestartServices final : public RestartServices {
public:
    // A process's credentials can always be read.
    std::unique_ptr<AccessToken> OpenProcessToken() override
    {
        return std::make_unique<PosixAccessToken>();
    }

    bool LookupPrivilege(const std::wstring& name, PrivilegeId& id) override
    {
        if (name != L"SeShutdownPrivilege")
            return false;
        id.low = kShutdownPrivilegeLow;
        id.high = 0;
        return true;
    }

    // Only root may restart the machine, so only root holds the privilege to switch.
    void AdjustPrivilege(AccessToken&, const PrivilegeId& id, bool) override
    {
        const bool known = id.low == kShutdownPrivilegeLow && id.high == 0;
        t_lastError = known && ::geteuid() == 0 ? 0 : kNotAllAssigned;
    }

    std::uint32_t LastError() override { return t_lastError; }

    bool RequestRestart() override
    {
        if (OnPath("systemctl"))
            return RunCommand({"systemctl", "reboot"});
        if (OnPath("shutdown"))
            return RunCommand({"shutdown", "-r", "now"});
        return false;
    }
};

} // namespace

RestartServices& NativeRestartServices()
{
    static PosixRestartServices restart;
    return restart;
}

} // namespace platform
