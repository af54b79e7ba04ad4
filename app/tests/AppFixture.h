#pragma once
// The application on the fake platform: the dialog host runs the dialog on the test's thread,
// the worker's sequence runs there too when a step asks for it, and every report reaches the
// dialog the moment it is posted.
#include "app/KavloSSDUpdateApp.h"
#include "app/RestartCountdown.h"
#include "app/res/resource.h"
#include "engine/tests/EngineFixture.h"
#include "platform/fakes/AppFakes.h"

#include <memory>
#include <string>
#include <vector>

namespace apptest {

using platform::fakes::FakeControl;

// Template 101 as the resource script gives it.
inline std::map<int, FakeControl> UpdateDialogTemplate()
{
    return {
        {IDC_WAIT_TEXT, {L"Please wait while the firmware update is running ...", true, true}},
        {IDC_STATUS_LABEL, {L"Update status:", true, true}},
        {IDC_STATUS_TEXT, {L"[ status text... ]", true, true}},
        {IDOK, {L"OK", true, false}},
        {IDCLOSE, {L"Close", true, false}},
        {IDC_HINT_TEXT, {L"", false, true}},
        {IDC_DETAIL_TEXT, {L"", true, true}},
    };
}

// The scripted drive checks and updater of the engine's tests, with the real automatic restart.
class AppSteps final : public UpdateSteps {
public:
    bool CheckFamilyADrive(SetupThread& worker) override { return scripted.CheckFamilyADrive(worker); }
    bool CheckFamilyBDrive(SetupThread& worker) override { return scripted.CheckFamilyBDrive(worker); }
    void RunUpdater(SetupThread& worker) override { scripted.RunUpdater(worker); }
    void RestartWindows(SetupThread& worker) override { RestartWindowsFromWorker(worker); }
    enginetest::ScriptedSteps scripted;
};

// Makes the worker without starting its thread; the test runs its sequence on its own thread.
class FakeLauncher final : public SetupThreadLauncher {
public:
    FakeLauncher(platform::Services& services, UpdateSteps& steps)
        : m_services(services), m_steps(steps)
    {
    }
    std::uint32_t Create(SetupThread*& created) override
    {
        if (createError != 0)
            return createError;
        worker = std::make_unique<SetupThread>(m_services, m_steps);
        created = worker.get();
        return 0;
    }
    std::uint32_t PostStart(SetupThread&, std::unique_ptr<StartPayload> payload) override
    {
        ++posts;
        if (postError != 0)
            return postError;
        start = std::move(payload);
        return 0;
    }
    // The worker's handler of WM_SETUP_START, which takes the payload over.
    void RunWorker() { worker->OnSetupStart(0, PayloadParam(start.release())); }

    std::uint32_t createError = 0;
    std::uint32_t postError = 0;
    int posts = 0;
    std::unique_ptr<SetupThread> worker;
    std::unique_ptr<StartPayload> start;

private:
    platform::Services& m_services;
    UpdateSteps& m_steps;
};

class AppFixture {
public:
    AppFixture()
    {
        fake.dialogs.templates[IDD_UPDATE_DIALOG] = UpdateDialogTemplate();
        fake.windows.onPost = [this](const platform::fakes::PostedMessage& posted) {
            fake.dialogs.Deliver(posted.message, posted.wParam, posted.lParam);
        };
        // Drive B matches and the updater succeeds unless a test says otherwise.
        steps.scripted.familyB = enginetest::ScriptedSteps::Drive::Match;
    }
    ~AppFixture()
    {
        // Reports that reached no dialog: the process would have ended with them queued.
        for (const auto& message : fake.dialogs.undelivered) {
            if (message.message == WM_SETUP_STATUS || message.message == WM_SETUP_DETAIL)
                TakePayload<std::wstring>(message.lParam);
            else if (message.message == WM_SETUP_ERROR)
                TakePayload<SetupException>(message.lParam);
        }
    }

    void Arguments(std::vector<std::wstring> arguments)
    {
        arguments.insert(arguments.begin(), L"KavloSSDUpdateWin.exe");
        fake.arguments.arguments = std::move(arguments);
    }
    void Then(std::function<void()> step) { fake.dialogs.steps.push_back(std::move(step)); }
    void ThenRunWorker() { Then([this] { launcher.RunWorker(); }); }
    void ThenPress(int command) { Then([this, command] { fake.dialogs.Press(command); }); }

    // The whole program: the exit code.
    int Run() { return app.Run(); }

    platform::fakes::FakeDialogWindow& Window() { return *fake.dialogs.window; }
    std::wstring Text(int id) { return Window().Control(id).text; }
    std::vector<std::wstring> TextsOf(int id)
    {
        std::vector<std::wstring> texts;
        for (const auto& [control, text] : Window().texts)
            if (control == id)
                texts.push_back(text);
        return texts;
    }
    std::string LogBytes()
    {
        const auto* file = fake.files.Find(L"C:\\Updates\\KavloSSDInstallerLog.txt");
        return file ? file->bytes : std::string();
    }

    platform::fakes::FakeAppPlatform fake;
    AppSteps steps;
    FakeLauncher launcher{fake.services, steps};
    KavloSSDUpdateApp app{fake.services, launcher};
};

inline std::vector<std::wstring> Countdown()
{
    std::vector<std::wstring> texts;
    for (int n = 15; n >= 1; --n)
        texts.push_back(RestartCountdownText(n));
    return texts;
}

} // namespace apptest
