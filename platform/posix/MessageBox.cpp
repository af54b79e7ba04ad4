// POSIX message boxes: in the terminal, the text and an OK button answered with Enter, drawn
// below the dialog; without a terminal, the text goes to standard error and the caller goes on.
#include "platform/MessageBox.h"
#include "platform/Text.h"
#include "platform/posix/AppServices.h"
#include "platform/posix/Terminal.h"

#include <climits>
#include <unistd.h>

namespace platform {
namespace {

std::string ProgramName()
{
    std::string path(PATH_MAX, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0)
        return "";
    path.resize(static_cast<std::size_t>(length));
    const std::size_t slash = path.find_last_of('/');
    if (slash != std::string::npos)
        path.erase(0, slash + 1);
    const std::size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        path.erase(dot);
    return path;
}

std::vector<std::string> BoxLines(const std::string& caption, const std::string& text)
{
    constexpr std::size_t kInner = 60;
    const std::string message = " ! " + text;
    const std::size_t inner = message.size() + 2 > kInner ? message.size() + 2 : kInner;
    std::string top = "+- \x1b[1m" + caption + "\x1b[0m ";
    top += std::string(inner > caption.size() + 3 ? inner - caption.size() - 3 : 1, '-') + "+";
    const std::string button = "\x1b[1;7m[ OK ]\x1b[0m";
    return {
        top,
        "|" + message + std::string(inner - message.size(), ' ') + "|",
        "|" + std::string(inner - 8, ' ') + button + "  |",
        "+" + std::string(inner, '-') + "+",
        " Keys:  Enter = OK",
    };
}

class PosixMessageBoxes final : public MessageBoxes {
public:
    void ShowWarning(WindowHandle, const std::wstring& text) override
    {
        const std::string caption = ProgramName();
        if (!posix::HasTerminal()) {
            posix::WriteAll(STDERR_FILENO, caption + ": " + ToUtf8(text) + "\n");
            return;
        }
        posix::Screen& screen = posix::Screen::Instance();
        // Boxes from two threads take their turns, and the dialog stops reading keys meanwhile.
        ++screen.BoxesWaiting();
        {
            const std::lock_guard<std::mutex> keyboard(screen.Keyboard());
            const posix::RawKeyboard raw;
            screen.SetBox(BoxLines(caption, ToUtf8(text)));
            for (;;) {
                const int key = posix::ReadKey(-1);
                // At the end of the input nobody can answer the box any more.
                if (key == posix::kKeyEnter || key == posix::kKeyEnd)
                    break;
            }
            screen.SetBox({});
        }
        --screen.BoxesWaiting();
    }
};

} // namespace

MessageBoxes& NativeMessageBoxes()
{
    static PosixMessageBoxes boxes;
    return boxes;
}

} // namespace platform
