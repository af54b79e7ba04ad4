// POSIX dialog host: the dialog drawn as text in the terminal, its buttons worked by keys. The
// window that workers post to is a message queue, which the modal loop serves between keys.
#include "platform/Dialog.h"
#include "platform/MessageQueue.h"
#include "platform/Text.h"
#include "platform/posix/AppServices.h"
#include "platform/posix/Terminal.h"
#include "platform/posix/TerminalDialog.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>

namespace platform {
namespace posix {
namespace {

// The Windows template is 320 dialog units wide; 76 columns keep the frame within 80.
constexpr int kColumns = 76;
constexpr int kUnitsPerRow = 8;

enum Cell : unsigned char { kPlain, kEnabledButton, kDisabledButton, kCaption };

int Column(const TextDialogTemplate& t, int x)
{
    return t.width > 0 ? x * kColumns / t.width : x / 4;
}

struct Canvas {
    std::vector<std::wstring> text;
    std::vector<std::vector<Cell>> cells;

    Canvas(std::size_t rows, std::size_t columns)
        : text(rows, std::wstring(columns, L' ')), cells(rows, std::vector<Cell>(columns, kPlain))
    {
    }

    void Put(std::size_t row, int column, const std::wstring& s, Cell cell)
    {
        if (row >= text.size())
            return;
        for (std::size_t i = 0; i < s.size(); ++i) {
            const long at = static_cast<long>(column) + static_cast<long>(i);
            if (at < 0 || at >= static_cast<long>(text[row].size()))
                continue;
            text[row][static_cast<std::size_t>(at)] = s[i];
            cells[row][static_cast<std::size_t>(at)] = cell;
        }
    }
};

const char* AttributeOf(Cell cell)
{
    switch (cell) {
    case kEnabledButton: return "\x1b[0;1;7m";
    case kDisabledButton: return "\x1b[0;2m";
    case kCaption: return "\x1b[0;1m";
    default: return "\x1b[0m";
    }
}

std::string Serialize(const std::wstring& text, const std::vector<Cell>& cells, bool attributes)
{
    std::string line;
    Cell current = kPlain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (attributes && cells[i] != current) {
            current = cells[i];
            line += AttributeOf(current);
        }
        line += ToUtf8(std::wstring(1, text[i]));
    }
    if (attributes && current != kPlain)
        line += AttributeOf(kPlain);
    return line;
}

} // namespace

std::vector<std::string> RenderTextDialog(const TextDialogTemplate& dialogTemplate,
                                          const std::vector<TextControl>& controls,
                                          bool attributes)
{
    const std::size_t rows =
        static_cast<std::size_t>(dialogTemplate.height > 0 ? dialogTemplate.height / kUnitsPerRow : 14);
    Canvas canvas(rows, kColumns);
    std::wstring keys = L"Keys:";
    // Text runs wider in a terminal than in the Windows font: a text that would touch the one
    // before it on its row moves right, and so do the texts below that start where it started.
    std::vector<const TextControl*> ordered;
    for (const TextControl& control : controls)
        ordered.push_back(&control);
    std::stable_sort(ordered.begin(), ordered.end(), [](const TextControl* a, const TextControl* b) {
        return a->y / kUnitsPerRow != b->y / kUnitsPerRow ? a->y < b->y : a->x < b->x;
    });
    std::map<int, int> moved;
    std::vector<int> rowEnd(rows, 0);
    for (const TextControl* entry : ordered) {
        const TextControl& control = *entry;
        const std::size_t row = static_cast<std::size_t>(control.y / kUnitsPerRow);
        int column = Column(dialogTemplate, control.x);
        if (control.kind == TextControlKind::Text && row < rows) {
            const auto it = moved.find(column);
            if (it != moved.end())
                column = it->second;
            if (rowEnd[row] > 0 && column <= rowEnd[row]) {
                moved[Column(dialogTemplate, control.x)] = rowEnd[row] + 1;
                column = rowEnd[row] + 1;
            }
            // The label keeps its place whether or not its text is shown.
            rowEnd[row] = std::max(rowEnd[row], column + static_cast<int>(control.text.size()));
        }
        if (!control.visible)
            continue;
        switch (control.kind) {
        case TextControlKind::Text:
            canvas.Put(row, column, control.text, kPlain);
            break;
        case TextControlKind::RightText: {
            const int end = Column(dialogTemplate, control.x + control.width);
            canvas.Put(row, end - static_cast<int>(control.text.size()), control.text, kPlain);
            break;
        }
        case TextControlKind::Button: {
            // Brackets for a button that can be pressed, parentheses and dim for one that
            // cannot, so that the state shows without colour too.
            const std::wstring face = control.enabled ? L"[ " + control.text + L" ]"
                                                      : L"( " + control.text + L" )";
            canvas.Put(row, column, face, control.enabled ? kEnabledButton : kDisabledButton);
            if (control.enabled) {
                std::wstring press;
                if (control.id == kCommandOk)
                    press = L"Enter";
                if (control.key != 0)
                    press += std::wstring(press.empty() ? L"" : L" or ") +
                             static_cast<wchar_t>(control.key);
                if (!press.empty())
                    keys += L"  " + press + L" = " + control.text;
            }
            break;
        }
        }
    }
    keys += L"  Esc = Cancel";

    std::vector<std::string> lines;
    std::wstring top = L"+- " + dialogTemplate.caption + L" ";
    top.resize(kColumns + 1, L'-');
    top += L'+';
    std::vector<Cell> topCells(top.size(), kPlain);
    for (std::size_t i = 3; i < 3 + dialogTemplate.caption.size() && i < top.size(); ++i)
        topCells[i] = kCaption;
    lines.push_back(Serialize(top, topCells, attributes));
    for (std::size_t row = 0; row < rows; ++row)
        lines.push_back("|" + Serialize(canvas.text[row], canvas.cells[row], attributes) + "|");
    lines.push_back("+" + std::string(kColumns, '-') + "+");
    lines.push_back(ToUtf8(L" " + keys));
    return lines;
}

namespace {

class TerminalDialogWindow final : public DialogWindow {
public:
    TerminalDialogWindow(Dialog& dialog, const TextDialogTemplate& dialogTemplate,
                         MessageQueue& queue)
        : m_dialog(dialog), m_template(dialogTemplate), m_controls(dialogTemplate.controls),
          m_queue(queue)
    {
    }

    ~TerminalDialogWindow() override
    {
        if (m_pKeyboard)
            Screen::Instance().ReleaseDialog();
    }

    TerminalDialogWindow(const TerminalDialogWindow&) = delete;
    TerminalDialogWindow& operator=(const TerminalDialogWindow&) = delete;

    WindowHandle Handle() const override { return &m_queue; }

    void SetItemText(int id, const std::wstring& text) override
    {
        if (TextControl* control = Find(id)) {
            control->text = text;
            Redraw();
        }
    }
    void ShowItem(int id, bool show) override
    {
        if (TextControl* control = Find(id)) {
            control->visible = show;
            Redraw();
        }
    }
    void EnableItem(int id, bool enable) override
    {
        if (TextControl* control = Find(id)) {
            control->enabled = enable;
            Redraw();
        }
    }
    bool IsItemEnabled(int id) const override
    {
        for (const TextControl& control : m_controls)
            if (control.id == id)
                return control.enabled;
        return false;
    }

    // Every request to show passes the dialog first, as on Windows. Hiding erases the picture;
    // the keyboard stays with the window until it ends.
    void Show(bool show) override
    {
        if (!show) {
            if (m_bShown)
                Screen::Instance().SetDialog({});
            m_bShown = false;
            return;
        }
        bool allowed = true;
        m_dialog.OnWindowPosChanging(allowed);
        if (!allowed || m_bShown)
            return;
        if (!HasTerminal()) {
            // Without a terminal there is nowhere to show the window.
            m_bCreateFailed = true;
            return;
        }
        if (!m_pKeyboard)
            m_pKeyboard = std::make_unique<RawKeyboard>();
        m_bShown = true;
        Redraw();
    }

    void SetIcon(IconHandle, bool) override {}
    bool IsMinimized() const override { return false; }
    Size ClientSize() const override { return {kColumns, m_template.height / kUnitsPerRow}; }
    Size SystemIconSize() const override { return {1, 1}; }
    void PaintIcon(IconHandle, int, int) override {}
    void End(int result) override
    {
        if (m_bEnded)
            return;
        m_bEnded = true;
        m_nResult = result;
    }

    bool Ended() const { return m_bEnded || m_bCreateFailed; }
    int Result() const { return m_bCreateFailed ? kDialogCreateFailed : m_nResult; }
    bool Shown() const { return m_bShown; }
    // After a hang-up the loop only serves messages.
    bool InputEnded() const { return m_bInputEnded; }
    void EndInput() { m_bInputEnded = true; }

    // A key while the window is shown: a button's key presses it while it is enabled, Enter is
    // the OK command (which the dialog itself refuses while OK is disabled), Escape is Cancel.
    void OnKey(int key)
    {
        if (key == kKeyEscape) {
            m_dialog.DispatchCommand(kCommandCancel);
            return;
        }
        if (key == kKeyEnter) {
            m_dialog.DispatchCommand(kCommandOk);
            return;
        }
        for (const TextControl& control : m_controls) {
            if (control.kind == TextControlKind::Button && control.key != 0 &&
                (key == control.key || key == control.key - 'a' + 'A')) {
                if (control.enabled && control.visible)
                    m_dialog.DispatchCommand(control.id);
                return;
            }
        }
    }

    // A message posted to the window; one the dialog has no handler for is dropped.
    void Deliver(const QueuedMessage& message)
    {
        std::intptr_t result = 0;
        m_dialog.HandleMessage(message.message, message.wParam, message.lParam, result);
    }

private:
    TextControl* Find(int id)
    {
        for (TextControl& control : m_controls)
            if (control.id == id)
                return &control;
        return nullptr;
    }

    void Redraw()
    {
        if (m_bShown)
            Screen::Instance().SetDialog(RenderTextDialog(m_template, m_controls, true));
    }

    Dialog& m_dialog;
    const TextDialogTemplate& m_template;
    std::vector<TextControl> m_controls;
    MessageQueue& m_queue;
    // Declared before the flags that depend on it and released after the last picture.
    std::unique_ptr<RawKeyboard> m_pKeyboard;
    bool m_bShown = false;
    bool m_bEnded = false;
    bool m_bCreateFailed = false;
    bool m_bInputEnded = false;
    int m_nResult = 0;
};

class TerminalDialogHost final : public DialogHost {
public:
    int RunModal(Dialog& dialog) override
    {
        const TextDialogTemplate* dialogTemplate = FindTextTemplate(dialog.TemplateId());
        if (dialogTemplate == nullptr)
            return kDialogCreateFailed;
        // A worker may still post to the window after the dialog has ended: its queue is
        // closed then, and kept as long as the host, which refuses those posts.
        MessageQueue& queue = NewQueue();
        int result = kDialogCreateFailed;
        {
            TerminalDialogWindow window(dialog, *dialogTemplate, queue);
            dialog.Attach(&window);
            dialog.OnInitDialog();
            // The template is visible: the window shows itself once initialised.
            if (!window.Ended())
                window.Show(true);
            while (!window.Ended())
                Serve(window, queue);
            result = window.Result();
            queue.Close();
            dialog.Attach(nullptr);
        }
        return result;
    }

    IconHandle LoadAppIcon(int) override { return nullptr; }

private:
    MessageQueue& NewQueue()
    {
        m_queues.push_back(std::make_unique<MessageQueue>());
        return *m_queues.back();
    }

    // One turn of the modal loop: a key, if the window takes keys, then every message queued.
    static void Serve(TerminalDialogWindow& window, MessageQueue& queue)
    {
        constexpr int kTurnMs = 20;
        Screen& screen = Screen::Instance();
        bool waited = false;
        if (window.Shown() && !window.InputEnded() && screen.BoxesWaiting().load() == 0) {
            std::unique_lock<std::mutex> keyboard(screen.Keyboard(), std::try_to_lock);
            if (keyboard.owns_lock()) {
                const int key = ReadKey(kTurnMs);
                keyboard.unlock();
                waited = true;
                if (key == kKeyEnd)
                    window.EndInput();
                else if (key != kKeyNone)
                    window.OnKey(key);
            }
        }
        if (!waited && !window.Ended()) {
            if (const auto message = queue.WaitFor(std::chrono::milliseconds(kTurnMs)))
                window.Deliver(*message);
        }
        while (!window.Ended()) {
            const auto message = queue.TryTake();
            if (!message)
                break;
            window.Deliver(*message);
        }
    }

    std::vector<std::unique_ptr<MessageQueue>> m_queues;
};

} // namespace
} // namespace posix

DialogHost& NativeDialogHost()
{
    static posix::TerminalDialogHost host;
    return host;
}

} // namespace platform
