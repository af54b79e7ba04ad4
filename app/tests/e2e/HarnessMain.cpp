// KavloSSDUpdateHarness.exe: the real program on the real platform layer (dialog, worker
// thread, log, the updater's process), with the answers of a machine with a family B drive in
// place of the hardware queries and a stand-in for the restart request, so that the success
// paths run from start to end on a test machine.
#include "app/Program.h"
#include "app/RestartCountdown.h"
#include "engine/SetupThread.h"
#include "platform/Entry.h"
#include "platform/Restart.h"
#include "updater/Updater.h"

#include <string>

namespace {

// Holds every privilege; a restart request only counts itself in "restart-requests.txt".
class StandInRestart final : public platform::RestartServices {
public:
    explicit StandInRestart(platform::FileSystem& files) : m_files(files) {}

    std::unique_ptr<platform::AccessToken> OpenProcessToken() override
    {
        return std::make_unique<platform::AccessToken>();
    }
    bool LookupPrivilege(const std::wstring&, platform::PrivilegeId&) override { return true; }
    void AdjustPrivilege(platform::AccessToken&, const platform::PrivilegeId&, bool) override {}
    std::uint32_t LastError() override { return 0; }
    bool RequestRestart() override
    {
        const auto file = m_files.CreateForWriting(
            m_files.JoinPath(m_files.GetWorkingDirectory(), L"restart-requests.txt"));
        if (file) {
            const std::string count = std::to_string(++m_nRequests) + "\n";
            file->Write(count.data(), count.size());
        }
        return true;
    }

private:
    platform::FileSystem& m_files;
    int m_nRequests = 0;
};

// A family B drive; the updater step is the real one.
class SupportedMachineSteps final : public UpdateSteps {
public:
    bool CheckFamilyADrive(SetupThread&) override { return false; }
    bool CheckFamilyBDrive(SetupThread&) override { return true; }
    void RunUpdater(SetupThread& worker) override
    {
        updater::RunUpdater(worker, [] { return false; });
    }
    void RestartWindows(SetupThread& worker) override { RestartWindowsFromWorker(worker); }
};

} // namespace

int KavloMain()
{
    static platform::Services services = platform::NativeServices();
    static StandInRestart restart(*services.files);
    services.restart = &restart;
    static SupportedMachineSteps steps;
    return RunKavloSSDUpdate(services, steps);
}
