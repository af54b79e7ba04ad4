#pragma once
// Real updater runs in tests: a temporary working folder holding copies of the fixture updater
// under the vendor file names, and the environment through which the test tells the fixture
// what to do.
#include "engine/tests/EngineFixture.h"
#include "platform/Processes.h"
#include "platform/Text.h"
#include "platform/fakes/Fakes.h"
#include "updater/Updater.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace updatertest {

namespace fs = std::filesystem;

#ifdef _WIN32
constexpr wchar_t kSeparator = L'\\';
#else
constexpr wchar_t kSeparator = L'/';
#endif

inline std::wstring Wide(const fs::path& path) { return platform::FromUtf8(path.u8string()); }
inline fs::path PathOf(const std::wstring& path) { return fs::u8path(platform::ToUtf8(path)); }

// Children inherit the variable.
inline void SetVariable(const std::string& name, const std::string& value)
{
#ifdef _WIN32
    _putenv((name + "=" + value).c_str());
#else
    setenv(name.c_str(), value.c_str(), 1);
#endif
}

// What starting a folder fails with. Windows refuses it with ERROR_ACCESS_DENIED (5), Wine with
// ERROR_INVALID_HANDLE (6); glibc's posix_spawn hands on execve's EACCES (13).
inline bool IsFolderStartError(std::uint32_t error)
{
#ifdef _WIN32
    return error == 5 || error == 6;
#else
    return error == 13;
#endif
}

// A fresh folder of its own under the temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder()
    {
        std::random_device random;
        const std::string name = "kavlo-updater-" + std::to_string(random()) + "-" +
                                 std::to_string(random());
        m_path = fs::temp_directory_path() / name;
        fs::create_directories(m_path);
    }
    ~TempFolder()
    {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const fs::path& Path() const { return m_path; }
    std::wstring Wide() const { return updatertest::Wide(m_path); }

private:
    fs::path m_path;
};

// Passes everything to the real backend and keeps what was started.
class RecordingProcesses final : public platform::Processes {
public:
    std::uint32_t FindFile(const std::wstring& path) override { return m_real.FindFile(path); }
    platform::StartResult Start(const std::wstring& applicationPath,
                                const std::wstring& commandLine) override
    {
        started.push_back(applicationPath);
        return m_real.Start(applicationPath, commandLine);
    }
    std::vector<std::wstring> started;

private:
    platform::Processes& m_real = *platform::NativeServices().processes;
};

// The fixture's behaviour for the next start: exit code, delay and where it records its
// arguments. Every variable is set, so nothing is left over from an earlier case.
struct FixtureSettings {
    std::string exitCode = "0";
    std::string delayMs = "0";
    bool terminate = false;
    std::string recordFile;
    std::string stopFile;

    void Apply() const
    {
        SetVariable("KAVLO_FIXTURE_EXIT_CODE", exitCode);
        SetVariable("KAVLO_FIXTURE_DELAY_MS", delayMs);
        SetVariable("KAVLO_FIXTURE_TERMINATE", terminate ? "1" : "0");
        SetVariable("KAVLO_FIXTURE_RECORD_FILE", recordFile);
        SetVariable("KAVLO_FIXTURE_STOP_FILE", stopFile);
    }
};

inline void CopyFixture(const fs::path& folder, const std::wstring& fileName)
{
    fs::copy_file(fs::u8path(KAVLO_FIXTURE_UPDATER), folder / PathOf(fileName));
}

inline std::vector<std::string> ReadLines(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return lines;
}

// Waits for a file that a running fixture writes when it ends. Real time: the fixture is a real
// process.
inline bool WaitForFile(const fs::path& path, std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!fs::exists(path)) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// A worker on the fake platform whose working directory is a real folder and whose updater runs
// as a real process.
struct RealUpdaterRun {
    platform::fakes::FakePlatform fake;
    RecordingProcesses processes;
    TempFolder folder;
    enginetest::ScriptedSteps steps;

    RealUpdaterRun()
    {
        fake.files.workingDirectory = folder.Wide();
        fake.files.separator = kSeparator;
        fake.services.processes = &processes;
    }

    std::wstring PathInFolder(const std::wstring& name) const
    {
        return platform::JoinPath(folder.Wide(), name, kSeparator);
    }

    std::string LogOf() const
    {
        const platform::fakes::FakeFile* file =
            fake.files.Find(PathInFolder(L"KavloSSDInstallerLog.txt"));
        return file != nullptr ? file->bytes : std::string();
    }
};

} // namespace updatertest
