#pragma once
// The services through which the rest of the program reaches the operating system. Nothing in
// these interfaces names an OS type; each has a Win32 backend, a POSIX backend and a fake.
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class Wmi; // platform/Wmi.h
class Processes;
class DialogHost;
class MessageBoxes;
class RestartServices;
class ProcessArguments;

// A window that receives posted messages: an HWND on Windows, a message queue on POSIX.
using WindowHandle = void*;

// Messages travel with two integer parameters; a pointer payload rides in the second one.
using MessageParam = std::intptr_t;

class Clock {
public:
    virtual ~Clock() = default;
    virtual void Sleep(std::uint32_t milliseconds) = 0;
};

class WindowMessages {
public:
    virtual ~WindowMessages() = default;
    // Posts without waiting for the receiver; false when the window is gone or its queue is full.
    virtual bool PostToWindow(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                              MessageParam lParam) = 0;
};

class OutputFile {
public:
    virtual ~OutputFile() = default;
    // One call reaches the file as one write; nothing is held back in a buffer of ours.
    virtual bool Write(const void* bytes, std::size_t size) = 0;
    virtual void Flush() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual std::wstring GetWorkingDirectory() = 0;
    virtual wchar_t PathSeparator() const = 0;
    virtual bool RemoveFile(const std::wstring& path) = 0;
    // Creates the file anew (an existing one is emptied) for writing, readable and deletable by
    // other programs while it is open. Null when it cannot be created.
    virtual std::unique_ptr<OutputFile> CreateForWriting(const std::wstring& path) = 0;

    std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) const;
};

struct WindowsVersion {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
};

// The AC line status byte: 0 offline, 1 online, 255 unknown.
constexpr std::uint8_t kACLineOffline = 0;
constexpr std::uint8_t kACLineOnline = 1;
constexpr std::uint8_t kACLineUnknown = 255;

class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    // Membership of the built-in Administrators group; a failed test answers false.
    virtual bool IsAdministratorsMember() = 0;
    // A query that fails leaves 0.0.
    virtual WindowsVersion GetVersion() = 0;
    virtual std::uint8_t GetACLineStatus() = 0;
};

// Folder, one separator unless the folder already ends in one, then the name. Nothing else is
// normalised.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name, wchar_t separator);

struct Services {
    Clock* clock = nullptr;
    WindowMessages* windows = nullptr;
    FileSystem* files = nullptr;
    SystemInfo* system = nullptr;
    Wmi* wmi = nullptr;
    Processes* processes = nullptr;
    DialogHost* dialogs = nullptr;
    MessageBoxes* messageBoxes = nullptr;
    RestartServices* restart = nullptr;
    ProcessArguments* arguments = nullptr;
};

// The real backends of the build's operating system.
Services& NativeServices();

} // namespace platform
