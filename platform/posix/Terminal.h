#pragma once
// The terminal shared by the dialog host and the message boxes: raw keyboard mode, the screen
// that both draw on, and who reads the keyboard.
#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

namespace platform::posix {

// Standard input and output are both terminals.
bool HasTerminal();

// Writes all of the text to the descriptor, as far as it takes it.
void WriteAll(int fd, const std::string& text);

// Keys arrive one at a time and are not echoed while an object of this class exists. The
// previous mode comes back when the last one ends, and also when a signal ends the process.
class RawKeyboard {
public:
    RawKeyboard();
    ~RawKeyboard();
    RawKeyboard(const RawKeyboard&) = delete;
    RawKeyboard& operator=(const RawKeyboard&) = delete;
};

constexpr int kKeyNone = -1;
constexpr int kKeyEnter = '\r';
constexpr int kKeyEscape = 27;
// The input has ended (the terminal hung up): no key will ever come.
constexpr int kKeyEnd = -2;

// One key, or kKeyNone when none arrives within the timeout. The sequences of cursor and
// function keys (which begin with Escape) are read whole and answered as kKeyNone, so that
// only a lone Escape counts as Escape.
int ReadKey(int timeoutMs);

// What the terminal shows: the dialog's lines with an open message box below them, redrawn in
// place. The lines are UTF-8 and may carry attribute sequences.
class Screen {
public:
    static Screen& Instance();

    void SetDialog(std::vector<std::string> lines);
    // The dialog has ended: its last picture stays on the terminal, and later drawing starts
    // below it.
    void ReleaseDialog();
    void SetBox(std::vector<std::string> lines);

    // The keyboard belongs to an open message box, which may be on another thread than the
    // dialog; the dialog reads keys only while no box wants them.
    std::mutex& Keyboard() { return m_keyboard; }
    std::atomic<int>& BoxesWaiting() { return m_nBoxesWaiting; }

private:
    void RedrawLocked();

    std::mutex m_mutex;
    std::vector<std::string> m_dialog;
    std::vector<std::string> m_box;
    std::size_t m_nDrawnLines = 0;
    std::mutex m_keyboard;
    std::atomic<int> m_nBoxesWaiting{0};
};

} // namespace platform::posix
