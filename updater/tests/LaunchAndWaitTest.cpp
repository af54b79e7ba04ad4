// LaunchAndWait: the command line it builds, how it waits and what it writes back, first against
// the fake process service, then with the fixture updater as a real child.
#include "updater/tests/UpdaterTestSupport.h"

using namespace updatertest;

namespace {

// LaunchAndWait writes an output only in its own cases; this shows where it left one alone.
constexpr std::uint32_t kUntouched = 0xABCD;

struct LaunchCase {
    const char* name;
    std::int32_t timeLimitSeconds;
    std::wstring applicationPath;
    std::wstring arguments;
    // The fake's answers.
    std::uint32_t startError;
    std::uint32_t waitResult;
    std::uint32_t childExitCode;
    // What LaunchAndWait must do with them.
    std::wstring commandLine;
    std::vector<std::uint32_t> waits;
    std::uint32_t windowsError;
    std::uint32_t exitCode;
};

const std::wstring kPath = L"C:\\Updates\\sorvid_qz_2.1.0.exe";
const std::wstring kCommandLine = L"sorvid_qz_2.1.0.exe -firmware_update";
constexpr std::uint32_t kInfinite = platform::kWaitInfinite;

std::vector<LaunchCase> LaunchCases()
{
    // clang-format off
    return {
        // name, limit, path, arguments, start error, wait result, child's exit code,
        //   command line, waits, Windows error, exit code
        {"updater ends in time", 120, kPath, L"-firmware_update", 0, 0, 7,
         kCommandLine, {120000}, kUntouched, 7},
        {"leading space kept", 1, L"C:\\a\\b.exe", L" -x", 0, 0, 0,
         L"b.exe -x", {1000}, kUntouched, 0},
        {"no arguments", 1, L"C:\\b.exe", L"", 0, 0, 0,
         L"b.exe", {1000}, kUntouched, 0},
        {"path without folder", 120, L"b.exe", L"-firmware_update", 0, 0, 0,
         L"b.exe -firmware_update", {120000}, kUntouched, 0},
        {"limit 0 reads the exit code at once", 0, kPath, L"-firmware_update", 0, 0, 259,
         kCommandLine, {}, kUntouched, 259},
        {"limit -1 waits without limit", -1, kPath, L"-firmware_update", 0, 0, 0,
         kCommandLine, {kInfinite}, kUntouched, 0},
        {"timeout", 120, kPath, L"-firmware_update", 0, platform::kWaitTimeout, 0,
         kCommandLine, {120000}, 258, kUntouched},
        {"wait fails", 120, kPath, L"-firmware_update", 0, platform::kWaitFailed, 0,
         kCommandLine, {120000}, 0xFFFFFFFF, kUntouched},
        {"start fails", 120, kPath, L"-firmware_update", 5, 0, 0,
         kCommandLine, {}, 5, kUntouched},
    };
    // clang-format on
}

TEST(LaunchAndWait, BuildsTheCommandLineWaitsAndWritesOnlyItsOutputs)
{
    for (const LaunchCase& c : LaunchCases()) {
        SCOPED_TRACE(c.name);
        platform::fakes::FakeProcesses processes;
        processes.startError = c.startError;
        processes.waitResult = c.waitResult;
        processes.exitCode = c.childExitCode;
        std::uint32_t windowsError = kUntouched;
        std::uint32_t exitCode = kUntouched;

        updater::LaunchAndWait(processes, c.timeLimitSeconds, c.applicationPath, c.arguments,
                               windowsError, exitCode);

        ASSERT_EQ(processes.started.size(), 1u);
        EXPECT_EQ(platform::ToUtf8(processes.started[0].applicationPath),
                  platform::ToUtf8(c.applicationPath));
        EXPECT_EQ(platform::ToUtf8(processes.started[0].commandLine),
                  platform::ToUtf8(c.commandLine));
        EXPECT_EQ(processes.waits, c.waits);
        EXPECT_EQ(windowsError, c.windowsError);
        EXPECT_EQ(exitCode, c.exitCode);
        EXPECT_EQ(processes.exitCodeReads, c.exitCode == kUntouched ? 0 : 1);
        // A started child is released once; nothing is left to release after a failed start.
        EXPECT_EQ(processes.released, c.startError == 0 ? 1 : 0);
    }
}

// The fixture as a real child in a folder of its own; the outputs start as kUntouched.
struct RealLaunch {
    TempFolder folder;
    FixtureSettings settings;
    std::uint32_t windowsError = kUntouched;
    std::uint32_t exitCode = kUntouched;

    RealLaunch()
    {
        settings.recordFile = (folder.Path() / "ended.txt").u8string();
        settings.stopFile = (folder.Path() / "stop.txt").u8string();
    }

    void Launch(std::int32_t timeLimitSeconds)
    {
        settings.Apply();
        updater::LaunchAndWait(*platform::NativeServices().processes, timeLimitSeconds,
                               Wide(folder.Path() / "sorvid_qz_2.1.0.exe"), L"-firmware_update",
                               windowsError, exitCode);
    }

    bool Ended() const { return fs::exists(settings.recordFile); }

    // Asks a running fixture to end and waits until it has.
    bool Stop() const
    {
        std::ofstream(settings.stopFile).put('x');
        return WaitForFile(settings.recordFile, std::chrono::seconds(20));
    }
};

TEST(LaunchAndWait, RealChildGetsTheBareFileNameAndItsExitCodeComesBack)
{
    RealLaunch real;
    CopyFixture(real.folder.Path(), L"sorvid_qz_2.1.0.exe");
    real.settings.exitCode = "42";

    real.Launch(30);

    EXPECT_EQ(real.windowsError, kUntouched);
    EXPECT_EQ(real.exitCode, 42u);
    EXPECT_EQ(ReadLines(real.settings.recordFile),
              (std::vector<std::string>{"sorvid_qz_2.1.0.exe", "-firmware_update"}));
}

TEST(LaunchAndWait, RealChildThatOutlastsTheLimitIsLeftRunning)
{
    RealLaunch real;
    CopyFixture(real.folder.Path(), L"sorvid_qz_2.1.0.exe");
    real.settings.delayMs = "5000";

    real.Launch(1);

    EXPECT_EQ(real.windowsError, 258u);
    EXPECT_EQ(real.exitCode, kUntouched);
    // Still running: it has not written its last file. Told to stop, it ends by itself, which a
    // terminated child could not do.
    EXPECT_FALSE(real.Ended());
    EXPECT_TRUE(real.Stop());
}

TEST(LaunchAndWait, LimitZeroReadsTheExitCodeOfARunningChild)
{
    RealLaunch real;
    CopyFixture(real.folder.Path(), L"sorvid_qz_2.1.0.exe");
    real.settings.delayMs = "30000";

    real.Launch(0);

    EXPECT_EQ(real.windowsError, kUntouched);
    EXPECT_EQ(real.exitCode, platform::kStillActive);
    EXPECT_TRUE(real.Stop());
}

TEST(LaunchAndWait, FolderInPlaceOfTheProgramIsAStartFailure)
{
    RealLaunch real;
    fs::create_directory(real.folder.Path() / "sorvid_qz_2.1.0.exe");

    real.Launch(30);

    EXPECT_TRUE(IsFolderStartError(real.windowsError)) << real.windowsError;
    EXPECT_EQ(real.exitCode, kUntouched);
}

} // namespace
