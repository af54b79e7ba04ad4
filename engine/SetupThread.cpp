#include "engine/SetupThread.h"

#include "engine/Prerequisites.h"
#include "platform/Text.h"

SetupThread::SetupThread(platform::Services& services, UpdateSteps& steps)
    : m_services(services), m_steps(steps)
{
    m_bLogOpen = false;
    OpenLog();
}

SetupThread::~SetupThread()
{
    // The handler must not run while the members it uses go away.
    Stop();
    if (m_bLogOpen) {
        Log(L"Logfile closed");
        m_pLogFile.reset();
        m_bLogOpen = false;
    }
}

void SetupThread::OnThreadMessage(const platform::QueuedMessage& message)
{
    if (message.message == WM_SETUP_START)
        OnSetupStart(message.wParam, message.lParam);
}

void SetupThread::OpenLog()
{
    m_bLogOpen = false;
    platform::FileSystem& files = *m_services.files;
    const std::wstring path = files.JoinPath(files.GetWorkingDirectory(), kLogFileName);
    // A file that cannot be deleted is emptied by the creation that follows.
    files.RemoveFile(path);
    m_pLogFile = files.CreateForWriting(path);
    if (m_pLogFile) {
        static const char kByteOrderMark[] = {'\xFF', '\xFE'};
        m_pLogFile->Write(kByteOrderMark, sizeof(kByteOrderMark));
    }
    // Open even without a file (a read-only folder): the run goes on and Log drops its text.
    m_bLogOpen = true;
    Log(L"Logfile opened");
}

void SetupThread::Log(std::wstring text)
{
    if (!m_bLogOpen || !m_pLogFile)
        return;
    text += L"\r\n";
    // One write per line, straight to the file: a silent run can end while the worker is still
    // logging, and a line logged before that must already be there. Lines of any length are
    // written whole.
    const std::string bytes = platform::ToUtf16LEBytes(text);
    m_pLogFile->Write(bytes.data(), bytes.size());
}

void SetupThread::Report(std::uint32_t message, std::wstring text)
{
    if (!m_bSilent) {
        if (m_hDialog != nullptr)
            PostWithPayload(*m_services.windows, m_hDialog, message,
                            std::make_unique<std::wstring>(text));
        m_services.clock->Sleep(kReportPauseMs);
    }
    Log(std::move(text));
}

void SetupThread::ReportStatus(std::wstring text) { Report(WM_SETUP_STATUS, std::move(text)); }

void SetupThread::ReportDetail(std::wstring text) { Report(WM_SETUP_DETAIL, std::move(text)); }

void SetupThread::ReportError(SetupException failure)
{
    // Logged before it is posted: a silent dialog ends the process as soon as the failure
    // arrives, and this line is the one a silent run most needs to keep.
    Log(L"Exception: " + failure.m_strMessage);
    if (m_hDialog != nullptr)
        PostWithPayload(*m_services.windows, m_hDialog, WM_SETUP_ERROR,
                        std::make_unique<SetupException>(std::move(failure)));
}

bool SetupThread::IsWindows2000OrLater()
{
    const platform::WindowsVersion version = m_services.system->GetVersion();
    ReportDetail(L"Current Windows version = " + std::to_wstring(version.major) + L"." +
                 std::to_wstring(version.minor));
    if (version.major < kMinimumWindowsMajorVersion)
        return false;
    ReportDetail(L"Windows 2000 or later was found");
    return true;
}

void SetupThread::OnSetupStart(std::uintptr_t /*wParam*/, platform::MessageParam lParam)
{
    // The worker owns the start payload and frees it once the sequence has ended.
    const std::unique_ptr<StartPayload> start = TakePayload<StartPayload>(lParam);
    m_hDialog = start ? start->hDialog : nullptr;
    try {
        if (!RunSequence())
            return;
    } catch (const SetupException& failure) {
        Log(failure.m_strMessage);
        ReportError(failure);
        return;
    }
    if (m_hDialog != nullptr)
        m_services.windows->PostToWindow(m_hDialog, WM_SETUP_DONE, 0, 0);
}

bool SetupThread::RunSequence()
{
    ReportStatus(L"Checking for administrator credentials...");
    if (!IsAdministrator(*m_services.system)) {
        ReportError({L"Admin credentials were not found.", kCodeNotAdministrator, false});
        return false;
    }
    ReportDetail(L"Admin credentials were found");

    ReportStatus(L"Checking Windows version...");
    if (!IsWindows2000OrLater()) {
        ReportError({L"Windows 2000 or later was not found.", kCodeWindowsTooOld, false});
        return false;
    }

    ReportStatus(L"Checking system power status...");
    if (!IsOnACPower(*m_services.system)) {
        ReportError({L"System is not on AC power.", kCodeNotOnACPower, false});
        return false;
    }
    ReportDetail(L"System is on AC power");

    ReportStatus(L"Checking hard drive model...");
    m_bFamilyA = false;
    m_bFamilyB = false;
    // Both checks always run, family A first, also when the first one has matched.
    m_bFamilyA = CheckFamilyADrive();
    m_bFamilyB = CheckFamilyBDrive();
    if (!m_bFamilyA && !m_bFamilyB) {
        ReportError({L"This hard disk model is not supported.", kCodeDriveNotSupported, false});
        return false;
    }
    ReportDetail(L"A supported hard disk was found");

    RunUpdater();
    RestartWindows();
    return true;
}
