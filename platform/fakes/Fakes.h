#pragma once
// Test doubles of the platform services. The clock is virtual: it records every pause and
// returns at once, so no test sleeps for real.
#include "platform/Services.h"
#include "platform/fakes/FakeWmi.h"
#include "platform/fakes/FakeProcesses.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace platform::fakes {

class FakeClock final : public Clock {
public:
    void Sleep(std::uint32_t milliseconds) override
    {
        pauses.push_back(milliseconds);
        now += milliseconds;
    }
    std::vector<std::uint32_t> pauses;
    std::uint64_t now = 0;
};

struct PostedMessage {
    WindowHandle window = nullptr;
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    MessageParam lParam = 0;
};

// Records raw posts. A payload stays the caller's business: give `release` a function that
// frees it as the receiving window would, and it runs for every accepted post.
class FakeWindowMessages final : public WindowMessages {
public:
    bool PostToWindow(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                      MessageParam lParam) override
    {
        if (refuse)
            return false;
        posted.push_back({window, message, wParam, lParam});
        if (onPost)
            onPost(posted.back());
        return true;
    }
    bool refuse = false;
    std::function<void(const PostedMessage&)> onPost;
    std::vector<PostedMessage> posted;
};

struct FakeFile {
    std::string bytes;
    std::size_t writes = 0;
    bool open = false;
};

class FakeFileSystem final : public FileSystem {
public:
    std::wstring GetWorkingDirectory() override { return workingDirectory; }
    wchar_t PathSeparator() const override { return separator; }
    bool RemoveFile(const std::wstring& path) override;
    std::unique_ptr<OutputFile> CreateForWriting(const std::wstring& path) override;

    // The bytes of a file, or nothing when there is none.
    const FakeFile* Find(const std::wstring& path) const;

    std::wstring workingDirectory = L"C:\\Updates";
    wchar_t separator = L'\\';
    bool refuseCreate = false;
    std::vector<std::wstring> removed;
    std::map<std::wstring, std::shared_ptr<FakeFile>> files;
};

class FakeSystemInfo final : public SystemInfo {
public:
    bool IsAdministratorsMember() override { return administrator; }
    WindowsVersion GetVersion() override { return version; }
    std::uint8_t GetACLineStatus() override { return acLineStatus; }

    bool administrator = true;
    WindowsVersion version{6, 1};
    std::uint8_t acLineStatus = kACLineOnline;
};

// One of each fake, wired into a Services record.
struct FakePlatform {
    FakeClock clock;
    FakeWindowMessages windows;
    FakeFileSystem files;
    FakeSystemInfo system;
    FakeWmi wmi;
    FakeProcesses processes;
    Services services{&clock, &windows, &files, &system, &wmi, &processes};
};

} // namespace platform::fakes
