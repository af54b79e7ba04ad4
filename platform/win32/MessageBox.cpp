// Win32 message boxes, captioned with the executable's base name.
#include "platform/MessageBox.h"
#include "platform/NativeBackends.h"
#include "platform/win32/Win32.h"

#include <vector>

namespace platform {
namespace {

std::wstring ProgramName()
{
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(),
                                                  static_cast<DWORD>(path.size()));
        if (length == 0)
            return L"";
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    std::wstring name(path.begin(), path.end());
    const std::size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos)
        name.erase(0, slash + 1);
    const std::size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos)
        name.erase(dot);
    return name;
}

class Win32MessageBoxes final : public MessageBoxes {
public:
    void ShowWarning(WindowHandle owner, const std::wstring& text) override
    {
        ::MessageBoxW(static_cast<HWND>(owner), win32::Wide(text), win32::Wide(ProgramName()),
                      MB_OK | MB_ICONWARNING);
    }
};

} // namespace

MessageBoxes& NativeMessageBoxes()
{
    static Win32MessageBoxes boxes;
    return boxes;
}

} // namespace platform
