// Win32 backend of the process service.
#include "platform/Processes.h"
#include "platform/win32/Win32.h"

#include <vector>

namespace platform {
namespace {

class Win32Process final : public Process {
public:
    std::uint32_t Wait(std::uint32_t milliseconds) override
    {
        const DWORD result = ::WaitForSingleObject(m_process.Get(), milliseconds);
        return result == WAIT_OBJECT_0 ? 0 : result;
    }

    std::uint32_t ExitCode() override
    {
        DWORD code = 0;
        ::GetExitCodeProcess(m_process.Get(), &code);
        return code;
    }

    // Filled in by CreateProcessW; closing them leaves the child running.
    win32::ScopedHandle m_process;
    win32::ScopedHandle m_thread;
};

class Win32Processes final : public Processes {
public:
    std::uint32_t FindFile(const std::wstring& path) override
    {
        WIN32_FIND_DATAW data{};
        const HANDLE find = ::FindFirstFileW(win32::Wide(path), &data);
        if (find == INVALID_HANDLE_VALUE) {
            const DWORD error = ::GetLastError();
            // A failed search that sets no error still means "not there".
            return error != 0 ? error : ERROR_FILE_NOT_FOUND;
        }
        ::FindClose(find);
        return 0;
    }

    StartResult Start(const std::wstring& applicationPath, const std::wstring& commandLine) override
    {
        // Everything that can fail to allocate is made before the child exists, so that a
        // started child always has an owner for its handles.
        auto process = std::make_unique<Win32Process>();
        // CreateProcessW may write into its command line: it gets a copy of its own.
        std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
        buffer.push_back(L'\0');

        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        if (!::CreateProcessW(win32::Wide(applicationPath), buffer.data(), nullptr, nullptr,
                              FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr, nullptr, &startup,
                              &info)) {
            StartResult failed;
            failed.error = ::GetLastError();
            return failed;
        }
        process->m_process.Reset(info.hProcess);
        process->m_thread.Reset(info.hThread);
        StartResult started;
        started.process = std::move(process);
        return started;
    }
};

} // namespace

Processes& NativeProcesses()
{
    static Win32Processes processes;
    return processes;
}

} // namespace platform
