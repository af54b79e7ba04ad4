#include "app/KavloSSDUpdateDlg.h"

#include "app/CommandLine.h"
#include "app/Logoff.h"
#include "app/RestartCountdown.h"
#include "app/res/resource.h"
#include "engine/Messages.h"

KavloSSDUpdateDlg::KavloSSDUpdateDlg(KavloSSDUpdateApp& app)
    : platform::Dialog(IDD_UPDATE_DIALOG), m_app(app)
{
    if (app.GetServices().dialogs != nullptr)
        m_hIcon = app.GetServices().dialogs->LoadAppIcon(IDR_APP_ICON);

    const auto handler = [this](std::intptr_t (KavloSSDUpdateDlg::*method)(
                             std::uintptr_t, platform::MessageParam)) {
        return [this, method](std::uintptr_t wParam, platform::MessageParam lParam) {
            return (this->*method)(wParam, lParam);
        };
    };
    OnMessage(WM_SETUP_STATUS, handler(&KavloSSDUpdateDlg::OnSetupStatus));
    OnMessage(WM_SETUP_DETAIL, handler(&KavloSSDUpdateDlg::OnSetupDetail));
    OnMessage(WM_SETUP_ERROR, handler(&KavloSSDUpdateDlg::OnSetupError));
    OnMessage(WM_SETUP_HIDE, handler(&KavloSSDUpdateDlg::OnSetupHide));
    OnMessage(WM_SETUP_SHOW, handler(&KavloSSDUpdateDlg::OnSetupShow));
    OnMessage(WM_SETUP_DONE, handler(&KavloSSDUpdateDlg::OnSetupDone));
    OnCommand(IDOK, [this] { OnOkButton(); });
    OnCommand(IDCLOSE, [this] { OnCloseButton(); });
}

bool KavloSSDUpdateDlg::OnInitDialog()
{
    platform::Dialog::OnInitDialog();
    Window().SetIcon(m_hIcon, true);
    Window().SetIcon(m_hIcon, false);

    SetupThread* worker = nullptr;
    const std::uint32_t createError = m_app.GetLauncher().Create(worker);
    m_app.m_pSetupThread = worker;

    // The options are read even when the worker could not be made: a silent dialog must stay
    // hidden on its way out.
    {
        CommandLine commandLine;
        m_app.ParseCommandLine(commandLine);
        m_bRestart = commandLine.m_bRestart;
        m_bSilent = commandLine.m_bSilent;
    }
    if (worker == nullptr) {
        // Nothing would ever end a dialog whose worker never runs; and a run that did nothing
        // must not end with 0, which a caller takes for success.
        EndDialog(static_cast<int>(createError != 0 ? createError : kErrorInvalidThreadId));
        return true;
    }
    worker->m_bRestart = m_bRestart;
    worker->m_bSilent = m_bSilent;

    const std::uint32_t postError = m_app.GetLauncher().PostStart(
        *worker, std::make_unique<StartPayload>(StartPayload{Window().Handle()}));
    if (postError != 0)
        EndDialog(static_cast<int>(postError));
    return true;
}

void KavloSSDUpdateDlg::OnWindowPosChanging(bool& show)
{
    if (m_bSilent)
        show = false;
}

bool KavloSSDUpdateDlg::OnPaint()
{
    if (!Window().IsMinimized())
        return false;
    const platform::Size client = Window().ClientSize();
    const platform::Size icon = Window().SystemIconSize();
    Window().PaintIcon(m_hIcon, (client.width - icon.width + 1) / 2,
                       (client.height - icon.height + 1) / 2);
    return true;
}

std::intptr_t KavloSSDUpdateDlg::OnSetupStatus(std::uintptr_t, platform::MessageParam lParam)
{
    const auto text = TakePayload<std::wstring>(lParam);
    Window().SetItemText(IDC_STATUS_TEXT, *text);
    Window().SetItemText(IDC_DETAIL_TEXT, L"");
    return 0;
}

std::intptr_t KavloSSDUpdateDlg::OnSetupDetail(std::uintptr_t, platform::MessageParam lParam)
{
    const auto text = TakePayload<std::wstring>(lParam);
    Window().SetItemText(IDC_DETAIL_TEXT, *text);
    return 0;
}

std::intptr_t KavloSSDUpdateDlg::OnSetupError(std::uintptr_t, platform::MessageParam lParam)
{
    const auto failure = TakePayload<SetupException>(lParam);
    m_nResultCode = failure->m_nCode;
    if (m_bSilent) {
        EndDialog(m_nResultCode);
        return 0;
    }
    Window().EnableItem(IDCLOSE, true);
    if (!m_bRestarting) {
        Window().ShowItem(IDC_HINT_TEXT, true);
        Window().SetItemText(IDC_HINT_TEXT, L"Press the \"Close\" button to exit.");
    }
    if (failure->m_bError) {
        Window().SetItemText(IDC_STATUS_TEXT, L"An error occurred...");
        Window().SetItemText(IDC_DETAIL_TEXT, failure->m_strMessage);
    } else {
        Window().SetItemText(IDC_STATUS_TEXT, failure->m_strMessage);
        Window().SetItemText(IDC_DETAIL_TEXT, L"");
    }
    return 0;
}

std::intptr_t KavloSSDUpdateDlg::OnSetupHide(std::uintptr_t, platform::MessageParam)
{
    Window().Show(false);
    return 0;
}

std::intptr_t KavloSSDUpdateDlg::OnSetupShow(std::uintptr_t, platform::MessageParam)
{
    if (!m_bSilent)
        Window().Show(true);
    return 0;
}

std::intptr_t KavloSSDUpdateDlg::OnSetupDone(std::uintptr_t, platform::MessageParam)
{
    if (!m_bSilent) {
        Window().SetItemText(IDC_STATUS_TEXT, L"The installation completed successfully.");
        Window().SetItemText(IDC_DETAIL_TEXT, L"");
    }
    if (m_bRestart) {
        // The worker has already requested the restart; the pause lets the text be read.
        m_app.GetServices().clock->Sleep(kAutoEndPauseMs);
        EndDialog(m_nResultCode);
        return 0;
    }
    if (!m_bSilent) {
        Window().SetItemText(IDC_DETAIL_TEXT, L"You need to reboot for this update to take effect.");
        Window().EnableItem(IDOK, true);
        Window().EnableItem(IDCLOSE, true);
        if (!m_bRestarting) {
            Window().ShowItem(IDC_HINT_TEXT, true);
            Window().SetItemText(IDC_HINT_TEXT, L"Press \"OK\" to reboot now or \"Close\" to exit.");
        }
        return 0;
    }
    // Silent after an earlier failure report: that report has already ended the dialog.
    if (m_nResultCode == 0)
        EndDialog(kExitRebootRequired);
    return 0;
}

void KavloSSDUpdateDlg::OnOkButton()
{
    if (m_bRestarting)
        return;
    Window().EnableItem(IDOK, false);
    Window().EnableItem(IDCLOSE, false);
    Window().ShowItem(IDC_HINT_TEXT, false);
    RestartWindows();
}

void KavloSSDUpdateDlg::OnCloseButton()
{
    EndDialog(m_nResultCode != 0 ? m_nResultCode : kExitRebootRequired);
}

void KavloSSDUpdateDlg::RestartWindows()
{
    m_bRestarting = true;
    Window().SetItemText(IDC_STATUS_TEXT, kRestartingText);
    for (int seconds = kRestartCountdownFrom; seconds >= 1; --seconds) {
        Window().SetItemText(IDC_DETAIL_TEXT, RestartCountdownText(seconds));
        m_app.GetServices().clock->Sleep(kRestartCountdownStepMs);
    }
    // Marked to end first: the window closes once this handler returns, whatever the restart
    // request does.
    OnOK();
    RequestWindowsRestart(m_app.GetServices(), Window().Handle());
}
