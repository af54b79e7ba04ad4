#pragma once
// The only way in to <windows.h>. Lean headers, no min/max macros, and an explicit Windows
// version, since MinGW's default is older than the calls the backend makes.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#endif
#include <windows.h>
// CommandLineToArgvW; the lean headers leave it out.
#include <shellapi.h>

#include <string>

namespace platform::win32 {

// Owns a kernel handle; INVALID_HANDLE_VALUE and null both mean none.
class ScopedHandle {
public:
    ScopedHandle() = default;
    explicit ScopedHandle(HANDLE handle) : m_h(handle) {}
    ~ScopedHandle() { Reset(); }
    ScopedHandle(ScopedHandle&& other) noexcept : m_h(other.Release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;

    HANDLE Get() const { return m_h; }
    bool IsValid() const { return m_h != nullptr && m_h != INVALID_HANDLE_VALUE; }
    HANDLE Release()
    {
        HANDLE h = m_h;
        m_h = nullptr;
        return h;
    }
    void Reset(HANDLE handle = nullptr)
    {
        if (IsValid())
            ::CloseHandle(m_h);
        m_h = handle;
    }

private:
    HANDLE m_h = nullptr;
};

// Windows' wchar_t is UTF-16 already: our strings go to the API unchanged.
inline const wchar_t* Wide(const std::wstring& text) { return text.c_str(); }

} // namespace platform::win32
