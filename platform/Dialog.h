#pragma once
// A modal dialog built from a resource template, and the host that runs it. The dialog keeps a
// dispatch table of application messages and button commands; the host (a Win32 dialog box, a
// terminal, a fake) creates the window, feeds it messages and returns the result it ended with.
#include "platform/Services.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>

namespace platform {

// An icon loaded from the program's own resources; shared, never destroyed by its user.
using IconHandle = void*;

// The base results: OK ends with 1, Cancel (the Escape key) with 2; a dialog that cannot be
// created gives -1.
constexpr int kDialogResultOk = 1;
constexpr int kDialogResultCancel = 2;
constexpr int kDialogCreateFailed = -1;
// Button commands the base dialog knows.
constexpr int kCommandOk = 1;
constexpr int kCommandCancel = 2;

struct Size {
    int width = 0;
    int height = 0;
};

// The operations on a created dialog window and its controls, addressed by control id.
class DialogWindow {
public:
    virtual ~DialogWindow() = default;
    // The handle that worker threads post to.
    virtual WindowHandle Handle() const = 0;
    virtual void SetItemText(int controlId, const std::wstring& text) = 0;
    virtual void ShowItem(int controlId, bool show) = 0;
    virtual void EnableItem(int controlId, bool enable) = 0;
    // False also when there is no such control.
    virtual bool IsItemEnabled(int controlId) const = 0;
    virtual void Show(bool show) = 0;
    virtual void SetIcon(IconHandle icon, bool big) = 0;
    virtual bool IsMinimized() const = 0;
    virtual Size ClientSize() const = 0;
    // The system's icon size, the size in which a minimised window draws its icon.
    virtual Size SystemIconSize() const = 0;
    // Paints the client area of a minimised window: the icon's background, then the icon at
    // (x, y).
    virtual void PaintIcon(IconHandle icon, int x, int y) = 0;
    // Marks the modal run to end with the result once the current handler has returned.
    virtual void End(int result) = 0;
};

class Dialog {
public:
    using MessageHandler = std::function<std::intptr_t(std::uintptr_t wParam, MessageParam lParam)>;
    using CommandHandler = std::function<void()>;

    explicit Dialog(int templateId) : m_nTemplateId(templateId) {}
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    int TemplateId() const { return m_nTemplateId; }

    // The host's side. Attach comes first, with the window just created; the other calls
    // arrive on the dialog's thread while the window exists.
    void Attach(DialogWindow* window) { m_pWindow = window; }
    virtual bool OnInitDialog() { return true; }
    // False when the table has no entry for the message.
    bool HandleMessage(std::uint32_t message, std::uintptr_t wParam, MessageParam lParam,
                         std::intptr_t& result);
    // A button command. OK never runs while the OK button is disabled: the Enter key becomes
    // the OK command even then.
    void DispatchCommand(int commandId);
    // Every request to show the window passes here; clearing `show` keeps it hidden.
    virtual void OnWindowPosChanging(bool& show) { (void)show; }
    // False lets the host paint as usual.
    virtual bool OnPaint() { return false; }
    virtual IconHandle OnQueryDragIcon() { return nullptr; }

    // The base operations.
    virtual void OnOK() { EndDialog(kDialogResultOk); }
    virtual void OnCancel() { EndDialog(kDialogResultCancel); }
    void EndDialog(int result) { Window().End(result); }

protected:
    DialogWindow& Window() { return *m_pWindow; }
    // Dispatch table: one handler per message and per command, filled by the constructor of
    // the derived dialog.
    void OnMessage(std::uint32_t message, MessageHandler handler);
    void OnCommand(int commandId, CommandHandler handler);

private:
    int m_nTemplateId;
    DialogWindow* m_pWindow = nullptr;
    std::map<std::uint32_t, MessageHandler> m_messages;
    std::map<int, CommandHandler> m_commands;
};

class DialogHost {
public:
    virtual ~DialogHost() = default;
    // Creates the window from the dialog's template, runs it modally on this thread and returns
    // the result it ended with; kDialogCreateFailed when the window cannot be created.
    virtual int RunModal(Dialog& dialog) = 0;
    // An icon of the program's own resources; null when there is none.
    virtual IconHandle LoadAppIcon(int resourceId) = 0;
};

} // namespace platform
