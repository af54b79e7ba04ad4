#pragma once
// A worker on the fake platform, with a dialog that records what reaches it and scripted steps.
#include "engine/SetupThread.h"
#include "platform/Text.h"
#include "platform/fakes/Fakes.h"

#include <functional>
#include <string>
#include <vector>

namespace enginetest {

// What the dialog received, one entry per message, in a form that reads well in a failure:
// "STATUS:text", "DETAIL:text", "ERROR:code:flag:message", "DONE".
class RecordingDialog {
public:
    explicit RecordingDialog(platform::fakes::FakeWindowMessages& fakeWindows)
    {
        fakeWindows.onPost = [this](const platform::fakes::PostedMessage& posted) { Receive(posted); };
    }

    void Receive(const platform::fakes::PostedMessage& posted)
    {
        switch (posted.message) {
        case WM_SETUP_STATUS:
            events.push_back("STATUS:" + platform::ToUtf8(*TakePayload<std::wstring>(posted.lParam)));
            break;
        case WM_SETUP_DETAIL:
            events.push_back("DETAIL:" + platform::ToUtf8(*TakePayload<std::wstring>(posted.lParam)));
            break;
        case WM_SETUP_ERROR: {
            const auto failure = TakePayload<SetupException>(posted.lParam);
            events.push_back("ERROR:" + std::to_string(failure->m_nCode) + ":" +
                             (failure->m_bError ? "1" : "0") + ":" +
                             platform::ToUtf8(failure->m_strMessage));
            break;
        }
        case WM_SETUP_DONE:
            events.push_back("DONE");
            break;
        default:
            events.push_back("OTHER:" + std::to_string(posted.message));
        }
        windows.push_back(posted.window);
    }

    std::vector<std::string> events;
    std::vector<platform::WindowHandle> windows;
};

// Steps with scripted answers; every call is recorded in `calls`.
class ScriptedSteps final : public UpdateSteps {
public:
    bool CheckFamilyADrive(SetupThread& worker) override
    {
        calls.push_back("CheckFamilyADrive");
        return Answer(worker, familyA);
    }
    bool CheckFamilyBDrive(SetupThread& worker) override
    {
        calls.push_back("CheckFamilyBDrive");
        return Answer(worker, familyB);
    }
    void RunUpdater(SetupThread& worker) override
    {
        calls.push_back("RunUpdater");
        if (runUpdater)
            runUpdater(worker);
    }
    void RestartWindows(SetupThread& worker) override
    {
        calls.push_back(worker.m_bRestart ? "RestartWindows(restart)" : "RestartWindows");
    }

    enum class Drive { NoMatch, Match, QueryFails };
    Drive familyA = Drive::NoMatch;
    Drive familyB = Drive::Match;
    std::function<void(SetupThread&)> runUpdater;
    std::vector<std::string> calls;

private:
    static bool Answer(SetupThread& worker, Drive drive)
    {
        if (drive == Drive::QueryFails)
            worker.ReportError({L"An error occurred while checking the hard drive model. "
                                L"An error occurred executing the WMI query to get the drive model.",
                                kCodeDriveQueryFailed, true});
        return drive == Drive::Match;
    }
};

// The log lines of a run that passes every prerequisite on Windows 7, up to the drive check.
inline std::vector<std::wstring> PrerequisiteLogLines()
{
    return {
        L"Logfile opened",
        L"Checking for administrator credentials...",
        L"Admin credentials were found",
        L"Checking Windows version...",
        L"Current Windows version = 6.1",
        L"Windows 2000 or later was found",
        L"Checking system power status...",
        L"System is on AC power",
        L"Checking hard drive model...",
    };
}

// The bytes of a log holding these lines.
inline std::string LogBytes(const std::vector<std::wstring>& lines)
{
    std::string bytes = "\xFF\xFE";
    for (const auto& line : lines)
        bytes += platform::ToUtf16LEBytes(line + L"\r\n");
    return bytes;
}

inline platform::WindowHandle DialogWindow()
{
    static int window;
    return &window;
}

// Posts the start message as the dialog does, by running the handler on this thread.
inline void RunSequence(SetupThread& worker)
{
    worker.OnSetupStart(0, PayloadParam(new StartPayload{DialogWindow()}));
}

} // namespace enginetest
