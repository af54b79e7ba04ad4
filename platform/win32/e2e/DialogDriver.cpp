// Drives the program's dialog from outside, as a person would: starts the program, finds its
// window by the caption, waits for a state, reads the three lines and the two buttons through
// the window API, presses a button or a key, and returns the program's exit code.
//
//   KavloDialogDriver <program> <action> <screenshot.bmp or -> [program arguments...]
//
// Actions: watch-hidden (a silent run: reports whether the window existed and was ever shown),
// none (only waits for the exit code, which a Unix shell would cut to 8 bits), close (once
// Close is enabled), ok (once OK is enabled), escape (once the first status report has
// arrived), escape-in-countdown (during the worker's restart countdown), enter-then-close
// (Enter and the OK command while the sequence runs, then Close once it is enabled). The state
// read just before the press is printed.
#include "platform/win32/Win32.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kStatusText = 1002;
constexpr int kDetailText = 1003;
constexpr int kHintText = 1004;
constexpr DWORD kPollMs = 50;
constexpr DWORD kStateTimeoutMs = 90000;
constexpr int kDriverFailed = 250;

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    wchar_t caption[64] = {};
    ::GetWindowTextW(window, caption, 64);
    if (owner == search->processId && std::wstring(caption) == L"Kavlo SSD Firmware Update") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

std::wstring ItemText(HWND dialog, int id)
{
    wchar_t text[512] = {};
    ::GetDlgItemTextW(dialog, id, text, 512);
    return text;
}

bool Enabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }

void PrintState(HWND dialog)
{
    std::wprintf(L"window: %ls\n", ::IsWindowVisible(dialog) ? L"shown" : L"hidden");
    std::wprintf(L"status: %ls\n", ItemText(dialog, kStatusText).c_str());
    std::wprintf(L"detail: %ls\n", ItemText(dialog, kDetailText).c_str());
    // The style, not IsWindowVisible: a silent or headless dialog is never on the screen.
    const bool hintShown =
        (::GetWindowLongW(::GetDlgItem(dialog, kHintText), GWL_STYLE) & WS_VISIBLE) != 0;
    std::wprintf(L"hint: %ls\n", hintShown ? ItemText(dialog, kHintText).c_str() : L"(hidden)");
    std::wprintf(L"OK: %ls\n", Enabled(dialog, IDOK) ? L"enabled" : L"disabled");
    std::wprintf(L"Close: %ls\n", Enabled(dialog, IDCLOSE) ? L"enabled" : L"disabled");
    std::fflush(stdout);
}

template <class Condition>
bool WaitFor(HANDLE process, Condition condition)
{
    for (DWORD waited = 0; waited < kStateTimeoutMs; waited += kPollMs) {
        if (condition())
            return true;
        if (::WaitForSingleObject(process, kPollMs) == WAIT_OBJECT_0)
            return condition();
    }
    return false;
}

void Press(HWND dialog, int id)
{
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

void PressKey(HWND dialog, WPARAM key) { ::PostMessageW(dialog, WM_KEYDOWN, key, 0); }

// The window as the screen shows it, as a 24-bit bitmap file.
bool SaveScreenshot(HWND dialog, const wchar_t* path)
{
    RECT rect{};
    ::GetWindowRect(dialog, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return false;
    const HDC screen = ::GetDC(nullptr);
    const HDC memory = ::CreateCompatibleDC(screen);
    const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ previous = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    ::SelectObject(memory, previous);

    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    std::vector<char> pixels(stride * static_cast<DWORD>(height));
    ::GetDIBits(memory, bitmap, 0, height, pixels.data(),
                reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    FILE* out = _wfopen(path, L"wb");
    if (out == nullptr)
        return false;
    std::fwrite(&file, sizeof(file), 1, out);
    std::fwrite(&header, sizeof(header), 1, out);
    std::fwrite(pixels.data(), 1, pixels.size(), out);
    std::fclose(out);
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4) {
        std::fwprintf(stderr, L"usage: %ls program action screenshot [arguments...]\n", argv[0]);
        return kDriverFailed;
    }
    const std::wstring action = argv[2];
    const std::wstring screenshot = argv[3];
    std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\"";
    for (int i = 4; i < argc; ++i)
        commandLine += L" " + std::wstring(argv[i]);

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &started)) {
        std::fwprintf(stderr, L"cannot start %ls: %lu\n", argv[1], ::GetLastError());
        return kDriverFailed;
    }
    platform::win32::ScopedHandle process(started.hProcess);
    platform::win32::ScopedHandle thread(started.hThread);

    if (action == L"watch-hidden") {
        // A silent run: the window must exist, receive the reports and end the program, and
        // must not be shown at any moment the polling sees.
        Search search{started.dwProcessId, nullptr};
        bool seenShown = false;
        do {
            if (search.found == nullptr)
                ::EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&search));
            if (search.found != nullptr && ::IsWindowVisible(search.found))
                seenShown = true;
        } while (::WaitForSingleObject(process.Get(), 5) == WAIT_TIMEOUT);
        std::wprintf(L"dialog: %ls\n", search.found != nullptr ? L"found" : L"never found");
        std::wprintf(L"window: %ls\n", seenShown ? L"shown" : L"never shown");
        DWORD exitCode = 0;
        ::GetExitCodeProcess(process.Get(), &exitCode);
        std::wprintf(L"exit: %ld\n", static_cast<long>(exitCode));
        return static_cast<int>(exitCode);
    }
    if (action == L"none") {
        ::WaitForSingleObject(process.Get(), kStateTimeoutMs);
        DWORD exitCode = 0;
        ::GetExitCodeProcess(process.Get(), &exitCode);
        std::wprintf(L"exit: %ld\n", static_cast<long>(exitCode));
        return static_cast<int>(exitCode);
    }

    Search search{started.dwProcessId, nullptr};
    WaitFor(process.Get(), [&] {
        ::EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    });
    const HWND dialog = search.found;
    if (dialog == nullptr) {
        std::fwprintf(stderr, L"no dialog appeared\n");
        ::TerminateProcess(process.Get(), kDriverFailed);
        return kDriverFailed;
    }

    const auto running = [&] { return ItemText(dialog, kStatusText) != L"[ status text... ]"; };
    bool reached = false;
    if (action == L"close") {
        reached = WaitFor(process.Get(), [&] { return Enabled(dialog, IDCLOSE); });
    } else if (action == L"ok") {
        reached = WaitFor(process.Get(), [&] { return Enabled(dialog, IDOK); });
    } else if (action == L"escape") {
        reached = WaitFor(process.Get(), running);
    } else if (action == L"escape-in-countdown") {
        reached = WaitFor(process.Get(), [&] {
            return ItemText(dialog, kStatusText) == L"Restarting Windows..." &&
                   ItemText(dialog, kDetailText) == L"Restarting Windows in 13 seconds...";
        });
    } else if (action == L"enter-then-close") {
        reached = WaitFor(process.Get(), running);
        if (reached) {
            PressKey(dialog, VK_RETURN);
            Press(dialog, IDOK);
            reached = WaitFor(process.Get(), [&] { return Enabled(dialog, IDCLOSE); });
        }
    }
    if (!reached) {
        std::fwprintf(stderr, L"the dialog never reached the state for %ls\n", action.c_str());
        ::TerminateProcess(process.Get(), kDriverFailed);
        return kDriverFailed;
    }
    PrintState(dialog);
    if (screenshot != L"-" && !SaveScreenshot(dialog, screenshot.c_str()))
        std::fwprintf(stderr, L"no screenshot\n");

    if (action == L"ok")
        Press(dialog, IDOK);
    else if (action == L"escape" || action == L"escape-in-countdown")
        PressKey(dialog, VK_ESCAPE);
    else
        Press(dialog, IDCLOSE);

    if (::WaitForSingleObject(process.Get(), kStateTimeoutMs) != WAIT_OBJECT_0) {
        std::fwprintf(stderr, L"the program did not end\n");
        ::TerminateProcess(process.Get(), kDriverFailed);
        return kDriverFailed;
    }
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process.Get(), &exitCode);
    std::wprintf(L"exit: %ld\n", static_cast<long>(exitCode));
    return static_cast<int>(exitCode);
}
