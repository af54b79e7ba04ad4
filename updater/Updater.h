#pragma once
// The updater step: looks for the chosen vendor updater in the working directory, runs it with
// "-firmware_update", waits for it and turns its exit code into a report or a failure.
#include "platform/Processes.h"

#include <cstdint>
#include <functional>
#include <string>

class SetupThread;

namespace updater {

constexpr const wchar_t* kUpdaterArguments = L"-firmware_update";
constexpr std::int32_t kTimeLimitSeconds = 120;
// Lets a person read the outcome before it is reported; silent runs pause too.
constexpr std::uint32_t kAfterUpdaterPauseMs = 1000;

// The updater's own failures, by exit code 1 to 22.
constexpr const wchar_t* kExitCodeMessages[22] = {
    L"Kavlo Utility error - invalid drive letter",
    L"Kavlo Utility error - invalid drive serial number",
    L"Kavlo Utility error - invalid drive index",
    L"Kavlo Utility error - invalid drive letter serial number",
    L"Kavlo Utility error - invalid command line parameters",
    L"Kavlo Utility error - user canceled utility",
    L"This operating system is unsupported.",
    L"There is insufficient memory to complete the operation.",
    L"The Setup.ini file is invalid.",
    L"An error occurred while copying the DOS image and bin files.",
    L"An error occurred while patching the DOS image file.",
    L"The DOS image file is not contiguous.",
    L"The DOS image file appears to be invalid.",
    L"An error occurred while decompressing a compressed image file.",
    L"An error occurred getting file info from the DOS image file.",
    L"The sector size in the DOS image file is invalid.",
    L"An error occurred while calculating the CRC for the DOS image file.",
    L"An error occurred while updating the boot.ini file.",
    L"An error occurred while updating the BCD (boot configuration data).",
    L"The user is not an administrator.",
    L"The system is not on AC power.",
    L"A unknown error occurred.",
};

// The row of the exit code; empty for a code without one (0, or above 22).
std::wstring ExitCodeMessage(std::uint32_t exitCode);

// Starts applicationPath with the bare file name and the arguments as its command line and waits
// up to timeLimitSeconds (0: not at all, -1: without limit). Writes windowsError only when the
// start or the wait fails, exitCode only when the child has ended; the caller zeroes both. The
// child is never terminated.
void LaunchAndWait(platform::Processes& processes, std::int32_t timeLimitSeconds,
                   std::wstring applicationPath, std::wstring arguments,
                   std::uint32_t& windowsError, std::uint32_t& exitCode);

// The worker's updater step. isListedBoard is asked only for a family A drive, after the step's
// status report. Returns after a successful update; every failure is thrown as SetupException,
// for the sequence to log and report.
void RunUpdater(SetupThread& worker, const std::function<bool()>& isListedBoard);

} // namespace updater
