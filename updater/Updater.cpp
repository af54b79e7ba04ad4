#include "updater/Updater.h"

#include "engine/SetupThread.h"
#include "hardware/SupportedHardware.h"

#include <new>

namespace updater {
namespace {

std::wstring UpdaterMissingMessage(const std::wstring& updaterPath)
{
    return L"An error occurred running the installation wizard."
           L"The Kavlo SSD upgrade utility was not found at \"" +
           updaterPath + L"\". Ensure that this file is not missing, in use or corrupt.";
}

// The time limit in the milliseconds of a wait.
std::uint32_t WaitMilliseconds(std::int32_t timeLimitSeconds)
{
    if (timeLimitSeconds < 0)
        return platform::kWaitInfinite;
    // Limits beyond what a wait can count are as good as no limit.
    const std::uint64_t milliseconds = static_cast<std::uint64_t>(timeLimitSeconds) * 1000u;
    return milliseconds < platform::kWaitInfinite ? static_cast<std::uint32_t>(milliseconds)
                                                  : platform::kWaitInfinite - 1;
}

// Everything after the last separator; both separators count, so a path written with '/' on
// Windows still yields the bare name.
std::wstring FileNamePart(const std::wstring& path)
{
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

} // namespace

std::wstring ExitCodeMessage(std::uint32_t exitCode)
{
    if (exitCode < 1 || exitCode > 22)
        return {};
    return kExitCodeMessages[exitCode - 1];
}

void LaunchAndWait(platform::Processes& processes, std::int32_t timeLimitSeconds,
                   std::wstring applicationPath, std::wstring arguments,
                   std::uint32_t& windowsError, std::uint32_t& exitCode)
{
    platform::StartResult start;
    try {
        if (!arguments.empty() && arguments.front() != L' ')
            arguments.insert(arguments.begin(), L' ');
        const std::wstring commandLine = FileNamePart(applicationPath) + arguments;
        start = processes.Start(applicationPath, commandLine);
    } catch (const std::bad_alloc&) {
        // The command line could not be made: nothing was started.
        windowsError = 1;
        return;
    }
    if (!start.process) {
        // A start that failed without saying why must not pass for a success.
        windowsError = start.error != 0 ? start.error : 1;
        return;
    }
    if (timeLimitSeconds != 0) {
        const std::uint32_t waited = start.process->Wait(WaitMilliseconds(timeLimitSeconds));
        if (waited != 0) {
            windowsError = waited;
            return;
        }
    }
    exitCode = start.process->ExitCode();
}

void RunUpdater(SetupThread& worker, const std::function<bool()>& isListedBoard)
{
    platform::Services& services = worker.GetServices();
    platform::FileSystem& files = *services.files;
    const std::wstring workingDirectory = files.GetWorkingDirectory();

    worker.ReportStatus(L"Running the Kavlo SSD upgrade utility...");

    const std::wstring fileName =
        hardware::ChooseUpdaterFileName(worker.m_bFamilyA, worker.m_bFamilyB, isListedBoard);
    const std::wstring updaterPath = files.JoinPath(workingDirectory, fileName);

    platform::Processes& processes = *services.processes;
    const std::uint32_t searchError = processes.FindFile(updaterPath);
    if (searchError != 0)
        throw SetupException(UpdaterMissingMessage(updaterPath),
                             static_cast<std::int32_t>(searchError), true);

    worker.Log(L"executing: " + updaterPath + L" " + kUpdaterArguments);

    std::uint32_t windowsError = 0;
    std::uint32_t exitCode = 0;
    LaunchAndWait(processes, kTimeLimitSeconds, updaterPath, kUpdaterArguments, windowsError,
                  exitCode);
    services.clock->Sleep(kAfterUpdaterPauseMs);

    // The updater's own verdict comes first; codes pass on unchanged, whatever their size.
    if (exitCode != 0)
        throw SetupException(ExitCodeMessage(exitCode), static_cast<std::int32_t>(exitCode),
                             false);
    if (windowsError != 0)
        throw SetupException(L"An Windows error occurred, Error = " + std::to_wstring(windowsError),
                             static_cast<std::int32_t>(windowsError), true);

    worker.ReportDetail(L"Update executed successfully.");
}

} // namespace updater
