#pragma once
// The 15-second countdown that both restart procedures show before the restart request.
#include <cstdint>
#include <string>

class SetupThread;

constexpr int kRestartCountdownFrom = 15;
constexpr std::uint32_t kRestartCountdownStepMs = 1000;

// "Restarting Windows in 09 seconds...": at least two digits.
std::wstring RestartCountdownText(int seconds);

constexpr const wchar_t* kRestartingText = L"Restarting Windows...";

// The worker's restart: with "/r" only, after a successful update; reported and logged like
// every other step.
void RestartWindowsFromWorker(SetupThread& worker);
