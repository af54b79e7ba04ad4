// LaunchAndWait: the command line it builds, how it waits and what it writes back, first against
// the fake process service, then with the fixture updater as a real child.
#include "updater/tests/UpdaterTestSupport.h"

using namespace updatertest;

namespace {

// LaunchAndWait writes an output only in its own cases; this shows where it left one alone.
constexpr std::uint32_t kUntouched = 0xABCD;

struct LaunchCase {
    const char* name = "";
    std::int32_t timeLimitSeconds = 120;
    std::wstring applicationPath = L"C:\\Updates\\sorvid_qz_2.1.0.exe";
    std::wstring arguments = L"-firmware_update";
    std::uint32_t startError = 0;
    std::uint32_t waitResult = 0;
    std::uint32_t childExitCode = 0;
    std::wstring commandLine = L"sorvid_qz_2.1.0.exe -firmware_update";
    std::vector<std::uint32_t> waits;
    std::uint32_t windowsError = kUntouched;
    std::uint32_t exitCode = kUntouched;
};

std::vector<LaunchCase> LaunchCases()
{
    std::vector<LaunchCase> cases;
    LaunchCase c;
    c.name = "updater ends in time";
    c.childExitCode = 7;
    c.waits = {120000};
    c.exitCode = 7;
    cases.push_back(c);

    c = {};
    c.name = "leading space kept";
    c.timeLimitSeconds = 1;
    c.applicationPath = L"C:\\a\\b.exe";
    c.arguments = L" -x";
    c.commandLine = L"b.exe -x";
    c.waits = {1000};
    c.exitCode = 0;
    cases.push_back(c);

    c = {};
    c.name = "no arguments";
    c.timeLimitSeconds = 1;
    c.applicationPath = L"C:\\b.exe";
    c.arguments = L"";
    c.commandLine = L"b.exe";
    c.waits = {1000};
    c.exitCode = 0;
    cases.push_back(c);

    c = {};
    c.name = "path without folder";
    c.applicationPath = L"b.exe";
    c.commandLine = L"b.exe -firmware_update";
    c.waits = {120000};
    c.exitCode = 0;
    cases.push_back(c);

    c = {};
    c.name = "limit 0 reads the exit code at once";
    c.timeLimitSeconds = 0;
    c.childExitCode = 259;
    c.exitCode = 259;
    cases.push_back(c);

    c = {};
    c.name = "limit -1 waits without limit";
    c.timeLimitSeconds = -1;
    c.waits = {platform::kWaitInfinite};
    c.exitCode = 0;
    cases.push_back(c);

    c = {};
    c.name = "timeout";
    c.waitResult = platform::kWaitTimeout;
    c.waits = {120000};
    c.windowsError = 258;
    cases.push_back(c);

    c = {};
    c.name = "wait fails";
    c.waitResult = platform::kWaitFailed;
    c.waits = {120000};
    c.windowsError = 0xFFFFFFFF;
    cases.push_back(c);

    c = {};
    c.name = "start fails";
    c.startError = 5;
    c.windowsError = 5;
    cases.push_back(c);
    return cases;
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

TEST(LaunchAndWait, RealChildGetsTheBareFileNameAndItsExitCodeComesBack)
{
    TempFolder folder;
    CopyFixture(folder.Path(), L"sorvid_qz_2.1.0.exe");
    FixtureSettings settings;
    settings.exitCode = "42";
    settings.recordFile = (folder.Path() / "arguments.txt").u8string();
    settings.Apply();
    std::uint32_t windowsError = 0;
    std::uint32_t exitCode = 0;

    updater::LaunchAndWait(*platform::NativeServices().processes, 30,
                           Wide(folder.Path() / "sorvid_qz_2.1.0.exe"), L"-firmware_update",
                           windowsError, exitCode);

    EXPECT_EQ(windowsError, 0u);
    EXPECT_EQ(exitCode, 42u);
    EXPECT_EQ(ReadLines(settings.recordFile),
              (std::vector<std::string>{"sorvid_qz_2.1.0.exe", "-firmware_update"}));
}

TEST(LaunchAndWait, RealChildThatOutlastsTheLimitIsLeftRunning)
{
    TempFolder folder;
    CopyFixture(folder.Path(), L"sorvid_qz_2.1.0.exe");
    FixtureSettings settings;
    settings.delayMs = "5000";
    settings.exitCode = "0";
    settings.recordFile = (folder.Path() / "ended.txt").u8string();
    settings.stopFile = (folder.Path() / "stop.txt").u8string();
    settings.Apply();
    std::uint32_t windowsError = 0;
    std::uint32_t exitCode = kUntouched;

    updater::LaunchAndWait(*platform::NativeServices().processes, 1,
                           Wide(folder.Path() / "sorvid_qz_2.1.0.exe"), L"-firmware_update",
                           windowsError, exitCode);

    EXPECT_EQ(windowsError, 258u);
    EXPECT_EQ(exitCode, kUntouched);
    // Still running: it has not written its last file. Told to stop, it ends by itself, which a
    // terminated child could not do.
    EXPECT_FALSE(fs::exists(settings.recordFile));
    std::ofstream(settings.stopFile).put('x');
    EXPECT_TRUE(WaitForFile(settings.recordFile, std::chrono::seconds(20)));
}

TEST(LaunchAndWait, LimitZeroReadsTheExitCodeOfARunningChild)
{
    TempFolder folder;
    CopyFixture(folder.Path(), L"sorvid_qz_2.1.0.exe");
    FixtureSettings settings;
    settings.delayMs = "30000";
    settings.recordFile = (folder.Path() / "ended.txt").u8string();
    settings.stopFile = (folder.Path() / "stop.txt").u8string();
    settings.Apply();
    std::uint32_t windowsError = 0;
    std::uint32_t exitCode = 0;

    updater::LaunchAndWait(*platform::NativeServices().processes, 0,
                           Wide(folder.Path() / "sorvid_qz_2.1.0.exe"), L"-firmware_update",
                           windowsError, exitCode);

    EXPECT_EQ(windowsError, 0u);
    EXPECT_EQ(exitCode, platform::kStillActive);
    std::ofstream(settings.stopFile).put('x');
    EXPECT_TRUE(WaitForFile(settings.recordFile, std::chrono::seconds(20)));
}

TEST(LaunchAndWait, FolderInPlaceOfTheProgramIsAStartFailure)
{
    TempFolder folder;
    fs::create_directory(folder.Path() / "sorvid_qz_2.1.0.exe");
    std::uint32_t windowsError = 0;
    std::uint32_t exitCode = kUntouched;

    updater::LaunchAndWait(*platform::NativeServices().processes, 30,
                           Wide(folder.Path() / "sorvid_qz_2.1.0.exe"), L"-firmware_update",
                           windowsError, exitCode);

    EXPECT_TRUE(IsFolderStartError(windowsError)) << windowsError;
    EXPECT_EQ(exitCode, kUntouched);
}

} // namespace
