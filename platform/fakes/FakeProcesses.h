#pragma once
// Test double of the process service: scripted answers, every call recorded, nothing started.
#include "platform/Processes.h"

#include <string>
#include <vector>

namespace platform::fakes {

struct FakeStart {
    std::wstring applicationPath;
    std::wstring commandLine;
};

class FakeProcesses final : public Processes {
public:
    std::uint32_t FindFile(const std::wstring& path) override
    {
        searched.push_back(path);
        return findError;
    }

    StartResult Start(const std::wstring& applicationPath,
                      const std::wstring& commandLine) override;

    // Answers: the search's error (0: found), the start's error (0: started), then the wait's
    // result and the exit code of the started child.
    std::uint32_t findError = 0;
    std::uint32_t startError = 0;
    std::uint32_t waitResult = 0;
    std::uint32_t exitCode = 0;

    std::vector<std::wstring> searched;
    std::vector<FakeStart> started;
    std::vector<std::uint32_t> waits;
    int exitCodeReads = 0;
    int released = 0;
};

} // namespace platform::fakes
