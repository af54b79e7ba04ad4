// RunUpdater on the fake platform: the path it looks at, the start it asks for with the 120 s
// limit, and every outcome on the Windows side, with reports, pauses and log lines.
#include "updater/tests/UpdaterTestSupport.h"

#include <memory>
#include <optional>

using namespace enginetest;

namespace {

struct FakeRun {
    platform::fakes::FakePlatform fake;
    ScriptedSteps steps;
    RecordingDialog dialog{fake.windows};
    std::unique_ptr<SetupThread> worker;
    int boardQueries = 0;

    // The worker opens its log when it is made, so the working directory is set first.
    explicit FakeRun(const std::wstring& workingDirectory = L"C:\\Updates",
                     wchar_t separator = L'\\')
    {
        fake.files.workingDirectory = workingDirectory;
        fake.files.separator = separator;
        worker = std::make_unique<SetupThread>(fake.services, steps);
        worker->m_hDialog = DialogWindow();
        worker->m_bFamilyB = true;
    }

    std::optional<SetupException> Run()
    {
        try {
            updater::RunUpdater(*worker, [this] {
                ++boardQueries;
                return false;
            });
        } catch (const SetupException& failure) {
            return failure;
        }
        return std::nullopt;
    }

    std::string Log() const
    {
        const platform::fakes::FakeFile* file = fake.files.Find(
            platform::JoinPath(fake.files.workingDirectory, L"KavloSSDInstallerLog.txt",
                               fake.files.separator));
        return file != nullptr ? file->bytes : std::string();
    }
};

const std::wstring kUpdaterPath = L"C:\\Updates\\sorvid_qz_2.1.0.exe";
const std::wstring kExecutingLine = L"executing: C:\\Updates\\sorvid_qz_2.1.0.exe -firmware_update";

TEST(RunUpdater, SuccessRunsTheWorkingDirectorysUpdaterFor120Seconds)
{
    FakeRun run;

    EXPECT_FALSE(run.Run().has_value());

    const auto& processes = run.fake.processes;
    EXPECT_EQ(processes.searched, std::vector<std::wstring>{kUpdaterPath});
    ASSERT_EQ(processes.started.size(), 1u);
    EXPECT_EQ(platform::ToUtf8(processes.started[0].applicationPath),
              platform::ToUtf8(kUpdaterPath));
    EXPECT_EQ(platform::ToUtf8(processes.started[0].commandLine),
              "sorvid_qz_2.1.0.exe -firmware_update");
    EXPECT_EQ(processes.waits, std::vector<std::uint32_t>{120000});
    EXPECT_EQ(processes.released, 1);
    EXPECT_EQ(run.boardQueries, 0);
    EXPECT_EQ(run.fake.clock.pauses, (std::vector<std::uint32_t>{800, 1000, 800}));
    EXPECT_EQ(run.dialog.events, (std::vector<std::string>{
                                     "STATUS:Running the Kavlo SSD upgrade utility...",
                                     "DETAIL:Update executed successfully."}));
    EXPECT_EQ(run.Log(), LogBytes({L"Logfile opened", L"Running the Kavlo SSD upgrade utility...",
                                   kExecutingLine, L"Update executed successfully."}));
}

TEST(RunUpdater, SilentRunKeepsTheLogAndTheUpdaterPauseOnly)
{
    FakeRun run;
    run.worker->m_bSilent = true;

    EXPECT_FALSE(run.Run().has_value());

    EXPECT_TRUE(run.dialog.events.empty());
    EXPECT_EQ(run.fake.clock.pauses, std::vector<std::uint32_t>{1000});
    EXPECT_EQ(run.Log(), LogBytes({L"Logfile opened", L"Running the Kavlo SSD upgrade utility...",
                                   kExecutingLine, L"Update executed successfully."}));
}

struct WindowsSideCase {
    const char* name;
    std::uint32_t startError;
    std::uint32_t waitResult;
    std::wstring message;
    std::int32_t code;
    int exitCodeReads;
};

TEST(RunUpdater, StartOrWaitFailureCarriesTheWindowsError)
{
    const std::vector<WindowsSideCase> cases = {
        {"start fails", 5, 0, L"An Windows error occurred, Error = 5", 5, 0},
        {"updater outlasts 120 s", 0, platform::kWaitTimeout,
         L"An Windows error occurred, Error = 258", 258, 0},
        // WAIT_FAILED passes on bit for bit: as a signed code it is -1.
        {"wait fails", 0, platform::kWaitFailed, L"An Windows error occurred, Error = 4294967295",
         -1, 0},
    };
    for (const WindowsSideCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeRun run;
        run.fake.processes.startError = c.startError;
        run.fake.processes.waitResult = c.waitResult;
        run.fake.processes.exitCode = 9; // never read: the wait did not see the end

        const std::optional<SetupException> failure = run.Run();

        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(platform::ToUtf8(failure->m_strMessage), platform::ToUtf8(c.message));
        EXPECT_EQ(failure->m_nCode, c.code);
        EXPECT_TRUE(failure->m_bError);
        EXPECT_EQ(run.fake.processes.exitCodeReads, c.exitCodeReads);
        EXPECT_EQ(run.fake.clock.pauses, (std::vector<std::uint32_t>{800, 1000}));
        EXPECT_EQ(run.dialog.events,
                  std::vector<std::string>{"STATUS:Running the Kavlo SSD upgrade utility..."});
        EXPECT_EQ(run.Log(), LogBytes({L"Logfile opened",
                                       L"Running the Kavlo SSD upgrade utility...",
                                       kExecutingLine}));
    }
}

struct MissingCase {
    const char* name;
    std::wstring workingDirectory;
    wchar_t separator;
    std::wstring updaterPath;
};

TEST(RunUpdater, MissingUpdaterIsReportedWithItsPathAndNothingStarts)
{
    const std::vector<MissingCase> cases = {
        {"folder", L"C:\\Updates", L'\\', L"C:\\Updates\\sorvid_qz_2.1.0.exe"},
        {"drive root", L"C:\\", L'\\', L"C:\\sorvid_qz_2.1.0.exe"},
        {"POSIX folder", L"/srv/kavlo", L'/', L"/srv/kavlo/sorvid_qz_2.1.0.exe"},
        {"POSIX root", L"/", L'/', L"/sorvid_qz_2.1.0.exe"},
    };
    for (const MissingCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeRun run(c.workingDirectory, c.separator);
        run.fake.processes.findError = 2;

        const std::optional<SetupException> failure = run.Run();

        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(platform::ToUtf8(failure->m_strMessage),
                  "An error occurred running the installation wizard.The Kavlo SSD upgrade "
                  "utility was not found at \"" +
                      platform::ToUtf8(c.updaterPath) +
                      "\". Ensure that this file is not missing, in use or corrupt.");
        EXPECT_EQ(failure->m_nCode, 2);
        EXPECT_TRUE(failure->m_bError);
        EXPECT_EQ(run.fake.processes.searched, std::vector<std::wstring>{c.updaterPath});
        EXPECT_TRUE(run.fake.processes.started.empty());
        EXPECT_EQ(run.fake.clock.pauses, std::vector<std::uint32_t>{800});
        EXPECT_EQ(run.Log(), LogBytes({L"Logfile opened",
                                       L"Running the Kavlo SSD upgrade utility..."}));
    }
}

TEST(RunUpdater, FailureEndsTheSequenceWithItsReportAndNoRestart)
{
    FakeRun run;
    run.fake.processes.exitCode = 6;
    run.steps.runUpdater = [](SetupThread& worker) {
        updater::RunUpdater(worker, [] { return false; });
    };

    RunSequence(*run.worker);

    ASSERT_FALSE(run.dialog.events.empty());
    EXPECT_EQ(run.dialog.events.back(), "ERROR:6:0:Kavlo Utility error - user canceled utility");
    EXPECT_EQ(run.steps.calls,
              (std::vector<std::string>{"CheckFamilyADrive", "CheckFamilyBDrive", "RunUpdater"}));
    const std::string log = run.Log();
    EXPECT_NE(log.find(platform::ToUtf16LEBytes(
                  kExecutingLine + L"\r\n"
                                   L"Kavlo Utility error - user canceled utility\r\n"
                                   L"Exception: Kavlo Utility error - user canceled utility\r\n")),
              std::string::npos);
}

TEST(RunUpdater, ExitCodeTableHasTwentyTwoRowsAndNothingElse)
{
    EXPECT_EQ(updater::ExitCodeMessage(0), L"");
    EXPECT_EQ(updater::ExitCodeMessage(1), L"Kavlo Utility error - invalid drive letter");
    EXPECT_EQ(updater::ExitCodeMessage(5),
              L"Kavlo Utility error - invalid command line parameters");
    EXPECT_EQ(updater::ExitCodeMessage(9), L"The Setup.ini file is invalid.");
    EXPECT_EQ(updater::ExitCodeMessage(19),
              L"An error occurred while updating the BCD (boot configuration data).");
    EXPECT_EQ(updater::ExitCodeMessage(21), L"The system is not on AC power.");
    EXPECT_EQ(updater::ExitCodeMessage(22), L"A unknown error occurred.");
    EXPECT_EQ(updater::ExitCodeMessage(23), L"");
    EXPECT_EQ(updater::ExitCodeMessage(0xC0000005), L"");
}

} // namespace
