// POSIX backends of the clock, window messages, files and the prerequisite questions.
#include "platform/NativeBackends.h"
#include "platform/MessageQueue.h"
#include "platform/Text.h"
#include "platform/posix/Sysfs.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <sys/utsname.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace platform {
namespace {

class PosixClock final : public Clock {
public:
    void Sleep(std::uint32_t milliseconds) override
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
};

// On POSIX a dialog window is the message queue that its loop serves.
class PosixWindowMessages final : public WindowMessages {
public:
    bool PostToWindow(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                      MessageParam lParam) override
    {
        if (window == nullptr)
            return false;
        return static_cast<MessageQueue*>(window)->Post({message, wParam, lParam});
    }
};

class PosixOutputFile final : public OutputFile {
public:
    explicit PosixOutputFile(int fd) : m_fd(fd) {}
    ~PosixOutputFile() override { ::close(m_fd); }
    PosixOutputFile(const PosixOutputFile&) = delete;
    PosixOutputFile& operator=(const PosixOutputFile&) = delete;

    bool Write(const void* bytes, std::size_t size) override
    {
        const auto* next = static_cast<const char*>(bytes);
        while (size > 0) {
            const ssize_t written = ::write(m_fd, next, size);
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return false;
            next += written;
            size -= static_cast<std::size_t>(written);
        }
        return true;
    }

    void Flush() override { ::fsync(m_fd); }

private:
    int m_fd;
};

class PosixFileSystem final : public FileSystem {
public:
    std::wstring GetWorkingDirectory() override
    {
        std::vector<char> buffer(256);
        while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
            if (errno != ERANGE)
                return L".";
            buffer.resize(buffer.size() * 2);
        }
        return FromUtf8(buffer.data());
    }

    wchar_t PathSeparator() const override { return L'/'; }

    bool RemoveFile(const std::wstring& path) override
    {
        return ::unlink(ToUtf8(path).c_str()) == 0;
    }

    std::unique_ptr<OutputFile> CreateForWriting(const std::wstring& path) override
    {
        const int fd = ::open(ToUtf8(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0)
            return nullptr;
        return std::make_unique<PosixOutputFile>(fd);
    }
};

class PosixSystemInfo final : public SystemInfo {
public:
    // The root user holds every right an administrator has.
    bool IsAdministratorsMember() override { return ::geteuid() == 0; }

    // The kernel release's major and minor numbers ("6.1.0-18-amd64" is 6.1).
    WindowsVersion GetVersion() override
    {
        struct utsname name {};
        if (::uname(&name) != 0)
            return {};
        char* end = nullptr;
        WindowsVersion version;
        version.major = static_cast<std::uint32_t>(std::strtoul(name.release, &end, 10));
        if (end != nullptr && *end == '.')
            version.minor = static_cast<std::uint32_t>(std::strtoul(end + 1, nullptr, 10));
        return version;
    }

    // A Mains supply that is online means AC power; Mains supplies that are all offline, or a
    // discharging battery with no Mains supply at all, mean battery; anything else is unknown.
    std::uint8_t GetACLineStatus() override
    {
        const std::string folder = posix::SysfsRoot() + "/class/power_supply";
        bool mainsSeen = false;
        bool batteryDischarging = false;
        for (const std::string& supply : posix::ListFolder(folder)) {
            const std::string base = folder + "/" + supply + "/";
            const auto type = posix::ReadAttribute(base + "type");
            if (!type)
                continue;
            if (*type == "Mains") {
                const auto online = posix::ReadAttribute(base + "online");
                if (!online)
                    continue;
                if (*online == "1")
                    return kACLineOnline;
                mainsSeen = true;
            } else if (*type == "Battery") {
                if (posix::ReadAttribute(base + "status") == std::optional<std::string>("Discharging"))
                    batteryDischarging = true;
            }
        }
        if (mainsSeen || batteryDischarging)
            return kACLineOffline;
        return kACLineUnknown;
    }
};

} // namespace

Clock& NativeClock()
{
    static PosixClock clock;
    return clock;
}

WindowMessages& NativeWindowMessages()
{
    static PosixWindowMessages windows;
    return windows;
}

FileSystem& NativeFileSystem()
{
    static PosixFileSystem files;
    return files;
}

SystemInfo& NativeSystemInfo()
{
    static PosixSystemInfo system;
    return system;
}

} // namespace platform
