#pragma once
// The worker: a thread with its own message queue that runs the update sequence once, when the
// dialog posts WM_SETUP_START, and reports every step to the dialog and to the installer log.
#include "engine/Messages.h"
#include "engine/SetupException.h"
#include "engine/UpdateSteps.h"
#include "platform/MessageThread.h"
#include "platform/Services.h"

#include <memory>
#include <string>

class SetupThread : public platform::MessageThread {
public:
    // Runs on the creating (dialog) thread and opens the installer log there.
    SetupThread(platform::Services& services, UpdateSteps& steps);
    ~SetupThread() override;

    // The update sequence; the payload is a StartPayload, which the worker frees when the
    // sequence has ended.
    void OnSetupStart(std::uintptr_t wParam, platform::MessageParam lParam);

    // Reports: posted to the dialog (status and detail only when not silent, each followed by
    // an 800 ms pause) and written to the log. None of them fails towards its caller.
    void ReportStatus(std::wstring text);
    void ReportDetail(std::wstring text);
    void ReportError(SetupException failure);

    // One line of the installer log; dropped when the log is not open.
    void Log(std::wstring text);

    // Reports the version it found; true from Windows 2000 (5.0) on.
    bool IsWindows2000OrLater();

    // The steps reached through UpdateSteps.
    bool CheckFamilyADrive() { return m_steps.CheckFamilyADrive(*this); }
    bool CheckFamilyBDrive() { return m_steps.CheckFamilyBDrive(*this); }
    void RunUpdater() { m_steps.RunUpdater(*this); }
    void RestartWindows() { m_steps.RestartWindows(*this); }

    platform::Services& GetServices() { return m_services; }

    platform::WindowHandle m_hDialog = nullptr;
    std::unique_ptr<platform::OutputFile> m_pLogFile;
    bool m_bLogOpen = false;
    // Written by the dialog before it posts WM_SETUP_START, read only after it has arrived.
    bool m_bRestart = false;
    bool m_bSilent = false;
    // Set by the sequence from the drive checks, read by the updater step.
    bool m_bFamilyA = false;
    bool m_bFamilyB = false;

    static constexpr const wchar_t* kLogFileName = L"KavloSSDInstallerLog.txt";
    static constexpr std::uint32_t kReportPauseMs = 800;

protected:
    void OnThreadMessage(const platform::QueuedMessage& message) override;

private:
    void OpenLog();
    void Report(std::uint32_t message, std::wstring text);
    // The steps of the sequence; false when a refusal has ended it.
    bool RunSequence();

    platform::Services& m_services;
    UpdateSteps& m_steps;
};
