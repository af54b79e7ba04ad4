#pragma once
// Test doubles of the dialog host, message boxes, restart services and command line.
#include "platform/Arguments.h"
#include "platform/Dialog.h"
#include "platform/MessageBox.h"
#include "platform/MessageQueue.h"
#include "platform/Restart.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace platform::fakes {

struct FakeControl {
    std::wstring text;
    bool visible = true;
    bool enabled = true;
};

// A dialog window kept in memory. Every show request passes the dialog's position-changing
// handler, as a Win32 window's does.
class FakeDialogWindow final : public DialogWindow {
public:
    FakeDialogWindow(Dialog& dialog, std::map<int, FakeControl> initial)
        : controls(std::move(initial)), m_dialog(dialog)
    {
    }

    WindowHandle Handle() const override { return const_cast<FakeDialogWindow*>(this); }
    void SetItemText(int id, const std::wstring& text) override
    {
        Control(id).text = text;
        texts.push_back({id, text});
    }
    void ShowItem(int id, bool show) override { Control(id).visible = show; }
    void EnableItem(int id, bool enable) override { Control(id).enabled = enable; }
    bool IsItemEnabled(int id) const override
    {
        const auto it = controls.find(id);
        return it != controls.end() && it->second.enabled;
    }
    void Show(bool show) override
    {
        if (show)
            m_dialog.OnWindowPosChanging(show);
        visible = show;
        everShown = everShown || show;
    }
    void SetIcon(IconHandle icon, bool big) override { (big ? bigIcon : smallIcon) = icon; }
    bool IsMinimized() const override { return minimized; }
    Size ClientSize() const override { return clientSize; }
    Size SystemIconSize() const override { return systemIconSize; }
    void PaintIcon(IconHandle icon, int x, int y) override
    {
        paintedIcon = icon;
        paintedAt = {x, y};
        ++iconPaints;
    }
    void End(int endResult) override
    {
        ended = true;
        result = endResult;
        ++endCalls;
    }

    // A control the test did not declare is a fault of the code under test.
    FakeControl& Control(int id) { return controls.at(id); }

    std::map<int, FakeControl> controls;
    // Every text set, in order.
    std::vector<std::pair<int, std::wstring>> texts;
    bool visible = false;
    bool everShown = false;
    bool minimized = false;
    Size clientSize{480, 188};
    Size systemIconSize{32, 32};
    IconHandle bigIcon = nullptr;
    IconHandle smallIcon = nullptr;
    IconHandle paintedIcon = nullptr;
    Size paintedAt{-1, -1};
    int iconPaints = 0;
    bool ended = false;
    int result = 0;
    int endCalls = 0;

private:
    Dialog& m_dialog;
};

// Runs a dialog on the calling thread. After the initialisation and the initial show (the
// template is visible), the steps run one after another until the dialog has ended. Messages
// that reach the window through Deliver are dispatched at once while the dialog runs, so a
// worker run on the test's thread is seen report by report; after the end they are kept in
// `undelivered`, as a message queue would keep them when the process ends.
class FakeDialogHost final : public DialogHost {
public:
    // Result of a run whose steps ran out before the dialog ended.
    static constexpr int kStillRunning = -12345;

    int RunModal(Dialog& dialog) override;
    IconHandle LoadAppIcon(int resourceId) override;

    void Deliver(std::uint32_t message, std::uintptr_t wParam, MessageParam lParam);
    // A button command, as a click or the Enter (OK) and Escape (Cancel) keys make it.
    void Press(int commandId);

    // Controls of each template id, in their initial state.
    std::map<int, std::map<int, FakeControl>> templates;
    bool failCreate = false;
    std::vector<std::function<void()>> steps;
    // The window of the last run; it outlives the run so that tests can read it.
    std::unique_ptr<FakeDialogWindow> window;
    std::vector<QueuedMessage> undelivered;
    std::vector<int> loadedIcons;

private:
    bool Running() const { return m_pDialog != nullptr && window && !window->ended; }

    Dialog* m_pDialog = nullptr;
    std::map<int, int> m_icons;
};

class FakeMessageBoxes final : public MessageBoxes {
public:
    void ShowWarning(WindowHandle owner, const std::wstring& text) override
    {
        shown.push_back({owner, text});
        if (onShow)
            onShow(text);
    }
    struct Box {
        WindowHandle owner;
        std::wstring text;
    };
    std::vector<Box> shown;
    std::function<void(const std::wstring&)> onShow;
};

// Records every call in `calls`; never restarts anything.
class FakeRestartServices final : public RestartServices {
public:
    std::unique_ptr<AccessToken> OpenProcessToken() override;
    bool LookupPrivilege(const std::wstring& name, PrivilegeId& id) override;
    void AdjustPrivilege(AccessToken& token, const PrivilegeId& id, bool enable) override;
    std::uint32_t LastError() override;
    bool RequestRestart() override;

    bool failOpen = false;
    // What LastError answers after an adjustment (1300 is ERROR_NOT_ALL_ASSIGNED).
    std::uint32_t adjustError = 0;
    PrivilegeId shutdownPrivilege{0x13, 0};
    std::vector<std::string> calls;
    int tokensOpen = 0;
    int restartRequests = 0;
    std::function<void()> onRestart;

private:
    std::uint32_t m_nLastError = 0;
};

class FakeProcessArguments final : public ProcessArguments {
public:
    std::vector<std::wstring> Get() override { return arguments; }
    std::vector<std::wstring> arguments{L"KavloSSDUpdateWin.exe"};
};

} // namespace platform::fakes

#include "platform/fakes/Fakes.h"

namespace platform::fakes {

// The fake platform with the services of the program's shell wired in as well.
struct FakeAppPlatform : FakePlatform {
    FakeAppPlatform()
    {
        services.dialogs = &dialogs;
        services.messageBoxes = &messageBoxes;
        services.restart = &restart;
        services.arguments = &arguments;
    }
    FakeDialogHost dialogs;
    FakeMessageBoxes messageBoxes;
    FakeRestartServices restart;
    FakeProcessArguments arguments;
};

} // namespace platform::fakes
