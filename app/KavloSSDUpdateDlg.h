#pragma once
// The main window: starts the worker, shows its reports in a status and a detail line, offers
// Close and the restart at the end, and ends with the result that becomes the exit code. In
// silent mode it exists but is never shown, and ends by itself.
#include "app/KavloSSDUpdateApp.h"
#include "platform/Dialog.h"

#include <cstdint>

class KavloSSDUpdateDlg : public platform::Dialog {
public:
    explicit KavloSSDUpdateDlg(KavloSSDUpdateApp& app);

    bool OnInitDialog() override;
    void OnWindowPosChanging(bool& show) override;
    bool OnPaint() override;
    platform::IconHandle OnQueryDragIcon() override { return m_hIcon; }

    // The worker's reports; each payload is freed when its handler returns.
    std::intptr_t OnSetupStatus(std::uintptr_t wParam, platform::MessageParam lParam);
    std::intptr_t OnSetupDetail(std::uintptr_t wParam, platform::MessageParam lParam);
    std::intptr_t OnSetupError(std::uintptr_t wParam, platform::MessageParam lParam);
    std::intptr_t OnSetupHide(std::uintptr_t wParam, platform::MessageParam lParam);
    std::intptr_t OnSetupShow(std::uintptr_t wParam, platform::MessageParam lParam);
    std::intptr_t OnSetupDone(std::uintptr_t wParam, platform::MessageParam lParam);
    void OnOkButton();
    void OnCloseButton();

    // Counts down in the two lines, ends the dialog with 1 and requests the restart.
    void RestartWindows();

    platform::IconHandle m_hIcon = nullptr;
    bool m_bSilent = false;
    bool m_bRestart = false;
    std::int32_t m_nResultCode = 0;
    bool m_bRestarting = false;

    static constexpr std::uint32_t kAutoEndPauseMs = 3000;

private:
    KavloSSDUpdateApp& m_app;
};
