#pragma once
// Looking for a program file, starting it and waiting for it. Errors are Windows error codes on
// every platform (the POSIX backend hands on errno, whose ENOENT is 2 like ERROR_FILE_NOT_FOUND),
// because they end up unchanged in the process exit code.
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

constexpr std::uint32_t kWaitInfinite = 0xFFFFFFFF;
// What Wait answers when the time has passed, or when it could not wait at all.
constexpr std::uint32_t kWaitTimeout = 258;
constexpr std::uint32_t kWaitFailed = 0xFFFFFFFF;
// The exit code of a process that is still running.
constexpr std::uint32_t kStillActive = 259;

// A started child. Letting go of it releases what refers to the child, never the child itself:
// a program that outlasts the wait goes on running by itself.
class Process {
public:
    virtual ~Process() = default;
    // 0 once the child has ended; otherwise kWaitTimeout, or kWaitFailed when it cannot wait.
    // 0 ms only looks, kWaitInfinite waits for the end.
    virtual std::uint32_t Wait(std::uint32_t milliseconds) = 0;
    // The child's exit code; kStillActive while it runs. A child ended by signal N on POSIX
    // gives 128 + N.
    virtual std::uint32_t ExitCode() = 0;
};

struct StartResult {
    std::unique_ptr<Process> process; // null when the start failed
    std::uint32_t error = 0;          // the OS error of a failed start
};

class Processes {
public:
    virtual ~Processes() = default;
    // 0 when something (file or folder) is at the path, otherwise the OS error of the search.
    virtual std::uint32_t FindFile(const std::wstring& path) = 0;
    // Starts the file at applicationPath; the command line (program name first, then the
    // arguments, separated by spaces) is what the child sees. Environment and working directory
    // are this process's own; no handle is inherited.
    virtual StartResult Start(const std::wstring& applicationPath,
                              const std::wstring& commandLine) = 0;
};

// The backend of the build's operating system.
Processes& NativeProcesses();

} // namespace platform
