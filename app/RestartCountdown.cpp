#include "app/RestartCountdown.h"

#include "app/Logoff.h"
#include "engine/SetupThread.h"

#include <cwchar>

std::wstring RestartCountdownText(int seconds)
{
    wchar_t text[64];
    std::swprintf(text, sizeof(text) / sizeof(text[0]), L"Restarting Windows in %.2d seconds...",
                  seconds);
    return text;
}

void RestartWindowsFromWorker(SetupThread& worker)
{
    if (!worker.m_bRestart)
        return;
    worker.ReportStatus(kRestartingText);
    for (int seconds = kRestartCountdownFrom; seconds >= 1; --seconds) {
        worker.ReportDetail(RestartCountdownText(seconds));
        worker.GetServices().clock->Sleep(kRestartCountdownStepMs);
    }
    RequestWindowsRestart(worker.GetServices(), worker.m_hDialog);
}
