#include "platform/fakes/FakeProcesses.h"

namespace platform::fakes {
namespace {

class FakeProcess final : public Process {
public:
    explicit FakeProcess(FakeProcesses& owner) : m_owner(owner) {}
    ~FakeProcess() override { ++m_owner.released; }
    FakeProcess(const FakeProcess&) = delete;
    FakeProcess& operator=(const FakeProcess&) = delete;

    std::uint32_t Wait(std::uint32_t milliseconds) override
    {
        m_owner.waits.push_back(milliseconds);
        return m_owner.waitResult;
    }

    std::uint32_t ExitCode() override
    {
        ++m_owner.exitCodeReads;
        return m_owner.exitCode;
    }

private:
    FakeProcesses& m_owner;
};

} // namespace

StartResult FakeProcesses::Start(const std::wstring& applicationPath,
                                 const std::wstring& commandLine)
{
    started.push_back({applicationPath, commandLine});
    StartResult result;
    if (startError != 0)
        result.error = startError;
    else
        result.process = std::make_unique<FakeProcess>(*this);
    return result;
}

} // namespace platform::fakes
