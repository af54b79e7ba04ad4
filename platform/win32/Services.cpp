// Win32 backends of the clock, window messages, files and the prerequisite questions.
#include "platform/NativeBackends.h"
#include "platform/win32/Win32.h"

#include <memory>
#include <vector>

namespace platform {
namespace {

class Win32Clock final : public Clock {
public:
    void Sleep(std::uint32_t milliseconds) override { ::Sleep(milliseconds); }
};

class Win32WindowMessages final : public WindowMessages {
public:
    bool PostToWindow(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                      MessageParam lParam) override
    {
        // PostMessageW to a null window posts to the calling thread instead; that is never meant.
        if (window == nullptr)
            return false;
        return ::PostMessageW(static_cast<HWND>(window), message, wParam, lParam) != FALSE;
    }
};

class Win32OutputFile final : public OutputFile {
public:
    explicit Win32OutputFile(win32::ScopedHandle file) : m_file(std::move(file)) {}

    bool Write(const void* bytes, std::size_t size) override
    {
        const auto* next = static_cast<const char*>(bytes);
        while (size > 0) {
            const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
            DWORD written = 0;
            if (!::WriteFile(m_file.Get(), next, chunk, &written, nullptr) || written == 0)
                return false;
            next += written;
            size -= written;
        }
        return true;
    }

    void Flush() override { ::FlushFileBuffers(m_file.Get()); }

private:
    win32::ScopedHandle m_file;
};

class Win32FileSystem final : public FileSystem {
public:
    std::wstring GetWorkingDirectory() override
    {
        // The length first, then the folder; a directory that changes in between is asked again.
        for (int attempt = 0; attempt < 4; ++attempt) {
            const DWORD length = ::GetCurrentDirectoryW(0, nullptr);
            if (length == 0)
                break;
            std::vector<wchar_t> buffer(length);
            const DWORD copied = ::GetCurrentDirectoryW(length, buffer.data());
            if (copied > 0 && copied < length)
                return std::wstring(buffer.data(), copied);
        }
        return L".";
    }

    wchar_t PathSeparator() const override { return L'\\'; }

    bool RemoveFile(const std::wstring& path) override
    {
        return ::DeleteFileW(win32::Wide(path)) != FALSE;
    }

    std::unique_ptr<OutputFile> CreateForWriting(const std::wstring& path) override
    {
        win32::ScopedHandle file(::CreateFileW(win32::Wide(path), GENERIC_WRITE,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE |
                                                   FILE_SHARE_DELETE,
                                               nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                               nullptr));
        if (!file.IsValid())
            return nullptr;
        return std::make_unique<Win32OutputFile>(std::move(file));
    }
};

class Win32SystemInfo final : public SystemInfo {
public:
    bool IsAdministratorsMember() override
    {
        SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
        PSID sid = nullptr;
        if (!::AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                        DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &sid))
            return false;
        const std::unique_ptr<void, decltype(&::FreeSid)> administrators(sid, &::FreeSid);
        // No token: the thread's own, or the process's when the thread impersonates nobody.
        BOOL member = FALSE;
        if (!::CheckTokenMembership(nullptr, administrators.get(), &member))
            return false;
        return member != FALSE;
    }

    WindowsVersion GetVersion() override
    {
        OSVERSIONINFOW info{};
        info.dwOSVersionInfoSize = sizeof(info);
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
        ::GetVersionExW(&info);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
        return {info.dwMajorVersion, info.dwMinorVersion};
    }

    std::uint8_t GetACLineStatus() override
    {
        // A status that cannot be read is unknown, as Windows itself reports a machine whose
        // power source it cannot tell; only a known "offline" stops the update.
        SYSTEM_POWER_STATUS status{};
        if (!::GetSystemPowerStatus(&status))
            return kACLineUnknown;
        return status.ACLineStatus;
    }
};

} // namespace

Clock& NativeClock()
{
    static Win32Clock clock;
    return clock;
}

WindowMessages& NativeWindowMessages()
{
    static Win32WindowMessages windows;
    return windows;
}

FileSystem& NativeFileSystem()
{
    static Win32FileSystem files;
    return files;
}

SystemInfo& NativeSystemInfo()
{
    static Win32SystemInfo system;
    return system;
}

} // namespace platform
