#include "platform/posix/Terminal.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace platform::posix {
namespace {

// The mode to come back to. Written before the signal handlers are installed and read by them,
// so it is plain data that a handler may touch.
struct termios g_savedMode;
volatile sig_atomic_t g_bRaw = 0;

constexpr int kRestoredSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGABRT};
struct sigaction g_previousActions[sizeof(kRestoredSignals) / sizeof(kRestoredSignals[0])];

// Shows the cursor again and resets the attributes; safe inside a signal handler.
void WriteRestoreSequence()
{
    static const char sequence[] = "\x1b[0m\x1b[?25h";
    const ssize_t written = ::write(STDOUT_FILENO, sequence, sizeof(sequence) - 1);
    (void)written;
}

void RestoreMode()
{
    if (!g_bRaw)
        return;
    // Discards keys typed but not read, so that they do not reach the shell afterwards.
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_savedMode);
    WriteRestoreSequence();
    g_bRaw = 0;
}

void OnFatalSignal(int signalNumber)
{
    const int savedErrno = errno;
    RestoreMode();
    // Ends the process the way the signal would have ended it, so that the caller sees it.
    for (std::size_t i = 0; i < sizeof(kRestoredSignals) / sizeof(kRestoredSignals[0]); ++i) {
        if (kRestoredSignals[i] == signalNumber)
            ::sigaction(signalNumber, &g_previousActions[i], nullptr);
    }
    errno = savedErrno;
    ::raise(signalNumber);
}

std::mutex g_rawMutex;
int g_nRawUsers = 0;

void EnterRaw()
{
    if (::tcgetattr(STDIN_FILENO, &g_savedMode) != 0)
        return;
    struct termios raw = g_savedMode;
    // Output processing stays on (a new line still returns the carriage), and so do the signal
    // keys: Ctrl+C ends the program as it always does, through the handlers below.
    raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO | IEXTEN));
    raw.c_iflag &= static_cast<tcflag_t>(~(IXON | ICRNL | INLCR));
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    struct sigaction action {};
    action.sa_handler = &OnFatalSignal;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < sizeof(kRestoredSignals) / sizeof(kRestoredSignals[0]); ++i) {
        ::sigaction(kRestoredSignals[i], &action, &g_previousActions[i]);
        // A signal that the program was started to ignore stays ignored.
        if (g_previousActions[i].sa_handler == SIG_IGN)
            ::sigaction(kRestoredSignals[i], &g_previousActions[i], nullptr);
    }
    g_bRaw = 1;
    if (::tcsetattr(STDIN_FILENO, TCSANOW, &raw) != 0)
        g_bRaw = 0;
    static const char hideCursor[] = "\x1b[?25l";
    const ssize_t written = ::write(STDOUT_FILENO, hideCursor, sizeof(hideCursor) - 1);
    (void)written;
}

void LeaveRaw()
{
    RestoreMode();
    for (std::size_t i = 0; i < sizeof(kRestoredSignals) / sizeof(kRestoredSignals[0]); ++i)
        ::sigaction(kRestoredSignals[i], &g_previousActions[i], nullptr);
}

bool WaitReadable(int timeoutMs)
{
    struct pollfd input {};
    input.fd = STDIN_FILENO;
    input.events = POLLIN;
    for (;;) {
        const int ready = ::poll(&input, 1, timeoutMs);
        if (ready < 0 && errno == EINTR)
            continue;
        return ready > 0 && (input.revents & (POLLIN | POLLHUP)) != 0;
    }
}

int ReadByte()
{
    unsigned char byte = 0;
    for (;;) {
        const ssize_t got = ::read(STDIN_FILENO, &byte, 1);
        if (got < 0 && errno == EINTR)
            continue;
        return got == 1 ? byte : kKeyEnd;
    }
}

} // namespace

bool HasTerminal() { return ::isatty(STDIN_FILENO) == 1 && ::isatty(STDOUT_FILENO) == 1; }

void WriteAll(int fd, const std::string& text)
{
    const char* next = text.data();
    std::size_t size = text.size();
    while (size > 0) {
        const ssize_t written = ::write(fd, next, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        next += written;
        size -= static_cast<std::size_t>(written);
    }
}

RawKeyboard::RawKeyboard()
{
    const std::lock_guard<std::mutex> lock(g_rawMutex);
    if (g_nRawUsers++ == 0)
        EnterRaw();
}

RawKeyboard::~RawKeyboard()
{
    const std::lock_guard<std::mutex> lock(g_rawMutex);
    if (--g_nRawUsers == 0)
        LeaveRaw();
}

int ReadKey(int timeoutMs)
{
    if (!WaitReadable(timeoutMs))
        return kKeyNone;
    const int key = ReadByte();
    if (key == kKeyEnd)
        return kKeyEnd;
    if (key != kKeyEscape)
        return key == '\n' ? kKeyEnter : key;
    // A terminal sends the bytes of one key's sequence together; a lone Escape has none after it.
    if (!WaitReadable(30))
        return kKeyEscape;
    const int introducer = ReadByte();
    if (introducer != '[' && introducer != 'O')
        return kKeyNone;
    // Parameters and intermediates up to the final byte (0x40 to 0x7e).
    for (int count = 0; count < 16 && WaitReadable(30); ++count) {
        const int byte = ReadByte();
        if (byte == kKeyEnd || (byte >= 0x40 && byte <= 0x7e))
            break;
    }
    return kKeyNone;
}

Screen& Screen::Instance()
{
    static Screen screen;
    return screen;
}

void Screen::SetDialog(std::vector<std::string> lines)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_dialog = std::move(lines);
    RedrawLocked();
}

void Screen::ReleaseDialog()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_nDrawnLines = m_box.size();
    m_dialog.clear();
    if (m_box.empty())
        return;
    RedrawLocked();
}

void Screen::SetBox(std::vector<std::string> lines)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_box = std::move(lines);
    RedrawLocked();
}

void Screen::RedrawLocked()
{
    std::string out;
    // Back to the first line drawn last time, then every line anew; what was below is erased.
    out += '\r';
    if (m_nDrawnLines > 0)
        out += "\x1b[" + std::to_string(m_nDrawnLines) + "A";
    std::size_t count = 0;
    for (const auto* part : {&m_dialog, &m_box}) {
        for (const std::string& line : *part) {
            out += "\x1b[2K";
            out += line;
            out += "\x1b[0m\n";
            ++count;
        }
    }
    out += "\x1b[J";
    m_nDrawnLines = count;
    WriteAll(STDOUT_FILENO, out);
}

} // namespace platform::posix
