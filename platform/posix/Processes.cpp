// POSIX backend of the process service. errno values stand for the Windows errors.
#include "platform/Processes.h"
#include "platform/Text.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace platform {
namespace {

// A descriptor that refers to the child, so the wait needs no signal handler (the wait runs on
// the worker thread, where SIGCHLD cannot be relied on). -1 when the kernel has no pidfd_open.
int OpenProcessDescriptor(pid_t pid)
{
#ifdef SYS_pidfd_open
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    return -1;
#endif
}

class PosixProcess final : public Process {
public:
    PosixProcess() = default;
    ~PosixProcess() override
    {
        if (m_pidfd >= 0)
            ::close(m_pidfd);
        // A child that is still running is left alone; reaping it here keeps an ended one from
        // lingering as a zombie.
        if (m_pid > 0 && !m_ended)
            Reap();
    }
    PosixProcess(const PosixProcess&) = delete;
    PosixProcess& operator=(const PosixProcess&) = delete;

    // Takes over the child that has just been started.
    void Attach(pid_t pid)
    {
        m_pid = pid;
        m_pidfd = OpenProcessDescriptor(pid);
    }

    std::uint32_t Wait(std::uint32_t milliseconds) override
    {
        using Clock = std::chrono::steady_clock;
        const bool forever = milliseconds == kWaitInfinite;
        const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
        auto sleep = std::chrono::milliseconds(1);
        for (;;) {
            if (m_ended || Reap())
                return 0;
            if (m_failed)
                return kWaitFailed;
            const Clock::time_point now = Clock::now();
            if (!forever && now >= deadline)
                return kWaitTimeout;
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
            if (m_pidfd >= 0) {
                pollfd ready{m_pidfd, POLLIN, 0};
                const int timeout =
                    forever ? -1 : static_cast<int>(std::min<long long>(left.count() + 1, 1 << 30));
                if (::poll(&ready, 1, timeout) < 0 && errno != EINTR)
                    return kWaitFailed;
            } else {
                std::this_thread::sleep_for(
                    forever ? sleep : std::min(sleep, left + std::chrono::milliseconds(1)));
                sleep = std::min(sleep * 2, std::chrono::milliseconds(50));
            }
        }
    }

    std::uint32_t ExitCode() override
    {
        if (!m_ended && !Reap())
            return kStillActive;
        return m_exitCode;
    }

private:
    // True once the child has ended and its status is kept.
    bool Reap()
    {
        int status = 0;
        pid_t reaped;
        do
            reaped = ::waitpid(m_pid, &status, WNOHANG);
        while (reaped < 0 && errno == EINTR);
        if (reaped < 0) {
            m_failed = true;
            return false;
        }
        if (reaped == 0)
            return false;
        m_ended = true;
        if (WIFEXITED(status))
            m_exitCode = static_cast<std::uint32_t>(WEXITSTATUS(status));
        else if (WIFSIGNALED(status))
            m_exitCode = 128u + static_cast<std::uint32_t>(WTERMSIG(status));
        return true;
    }

    pid_t m_pid = 0;
    int m_pidfd = -1;
    bool m_ended = false;
    bool m_failed = false;
    std::uint32_t m_exitCode = 0;
};

// The command line split at spaces: the updater's arguments carry no quoting.
std::vector<std::string> SplitCommandLine(const std::wstring& commandLine)
{
    std::vector<std::string> words;
    std::wstring word;
    for (const wchar_t c : commandLine + L' ') {
        if (c != L' ') {
            word += c;
        } else if (!word.empty()) {
            words.push_back(ToUtf8(word));
            word.clear();
        }
    }
    return words;
}

class PosixProcesses final : public Processes {
public:
    std::uint32_t FindFile(const std::wstring& path) override
    {
        struct stat info {};
        if (::stat(ToUtf8(path).c_str(), &info) != 0)
            return errno != 0 ? static_cast<std::uint32_t>(errno) : ENOENT;
        return 0;
    }

    StartResult Start(const std::wstring& applicationPath, const std::wstring& commandLine) override
    {
        const std::string path = ToUtf8(applicationPath);
        std::vector<std::string> words = SplitCommandLine(commandLine);
        if (words.empty())
            words.push_back(path);
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);

        // Made before the child exists, so that a started child always has an owner.
        auto process = std::make_unique<PosixProcess>();
        StartResult result;
        pid_t pid = 0;
        const int error = ::posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(), environ);
        if (error != 0) {
            result.error = static_cast<std::uint32_t>(error);
            return result;
        }
        process->Attach(pid);
        result.process = std::move(process);
        return result;
    }
};

} // namespace

Processes& NativeProcesses()
{
    static PosixProcesses processes;
    return processes;
}

} // namespace platform
