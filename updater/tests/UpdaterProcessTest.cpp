// RunUpdater with the fixture updater as a real child process in a real working folder: the
// exit codes that come back, the file that is chosen, a missing or unstartable updater, and a
// whole update sequence that ends with WM_SETUP_DONE.
#include "hardware/SupportedHardware.h"
#include "updater/tests/UpdaterTestSupport.h"

#include <memory>
#include <optional>

using namespace enginetest;
using namespace updatertest;

namespace {

const std::wstring kStatus = L"Running the Kavlo SSD upgrade utility...";

struct ProcessRun : RealUpdaterRun {
    RecordingDialog dialog{fake.windows};
    std::unique_ptr<SetupThread> worker;

    explicit ProcessRun(bool familyA = false, bool familyB = true)
    {
        worker = std::make_unique<SetupThread>(fake.services, steps);
        worker->m_hDialog = DialogWindow();
        worker->m_bFamilyA = familyA;
        worker->m_bFamilyB = familyB;
    }

    std::optional<SetupException> RunUpdater(const std::function<bool()>& isListedBoard)
    {
        try {
            updater::RunUpdater(*worker, isListedBoard);
        } catch (const SetupException& failure) {
            return failure;
        }
        return std::nullopt;
    }

    std::wstring ExecutingLine(const std::wstring& name) const
    {
        return L"executing: " + PathInFolder(name) + L" -firmware_update";
    }
};

bool NoListedBoard() { return false; }

struct ExitCase {
    const char* name;
    FixtureSettings fixture;
    std::optional<SetupException> failure; // none: success
};

std::vector<ExitCase> ExitCases()
{
    auto exitingWith = [](const char* code) {
        FixtureSettings settings;
        settings.exitCode = code;
        return settings;
    };
    FixtureSettings crash;
#ifdef _WIN32
    crash.exitCode = "3221225477"; // 0xC0000005, an access violation
    const std::int32_t crashCode = static_cast<std::int32_t>(0xC0000005u);
#else
    crash.terminate = true; // SIGTERM (15): 128 + 15
    const std::int32_t crashCode = 143;
#endif
    return {
        {"0", exitingWith("0"), std::nullopt},
        {"1", exitingWith("1"),
         SetupException(L"Kavlo Utility error - invalid drive letter", 1, false)},
        {"6", exitingWith("6"),
         SetupException(L"Kavlo Utility error - user canceled utility", 6, false)},
        {"13", exitingWith("13"),
         SetupException(L"The DOS image file appears to be invalid.", 13, false)},
        {"22", exitingWith("22"), SetupException(L"A unknown error occurred.", 22, false)},
        {"23", exitingWith("23"), SetupException(L"", 23, false)},
        {"crash", crash, SetupException(L"", crashCode, false)},
    };
}

TEST(UpdaterProcess, ExitCodeBecomesTheOutcome)
{
    for (const ExitCase& c : ExitCases()) {
        SCOPED_TRACE(c.name);
        ProcessRun run;
        CopyFixture(run.folder.Path(), hardware::kUpdaterFamilyB);
        c.fixture.Apply();

        const std::optional<SetupException> failure = run.RunUpdater(NoListedBoard);

        std::vector<std::wstring> log = {L"Logfile opened", kStatus,
                                         run.ExecutingLine(hardware::kUpdaterFamilyB)};
        std::vector<std::string> events = {"STATUS:Running the Kavlo SSD upgrade utility..."};
        std::vector<std::uint32_t> pauses = {800, 1000};
        if (c.failure) {
            ASSERT_TRUE(failure.has_value());
            EXPECT_EQ(platform::ToUtf8(failure->m_strMessage),
                      platform::ToUtf8(c.failure->m_strMessage));
            EXPECT_EQ(failure->m_nCode, c.failure->m_nCode);
            EXPECT_FALSE(failure->m_bError);
        } else {
            EXPECT_FALSE(failure.has_value());
            log.push_back(L"Update executed successfully.");
            events.push_back("DETAIL:Update executed successfully.");
            pauses.push_back(800);
        }
        EXPECT_EQ(run.fake.clock.pauses, pauses);
        EXPECT_EQ(run.dialog.events, events);
        EXPECT_EQ(run.LogOf(), LogBytes(log));
    }
}

TEST(UpdaterProcess, MissingUpdaterGivesTheSearchError)
{
    struct Case {
        const char* name;
        bool root;
    };
    for (const Case& c : {Case{"working folder", false}, Case{"root", true}}) {
        SCOPED_TRACE(c.name);
        ProcessRun run;
        if (c.root) {
#ifdef _WIN32
            run.fake.files.workingDirectory = L"C:\\";
#else
            run.fake.files.workingDirectory = L"/";
#endif
        }
        const std::wstring updaterPath = platform::JoinPath(run.fake.files.workingDirectory,
                                                            hardware::kUpdaterFamilyB, kSeparator);

        const std::optional<SetupException> failure = run.RunUpdater(NoListedBoard);

        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(platform::ToUtf8(failure->m_strMessage),
                  "An error occurred running the installation wizard.The Kavlo SSD upgrade "
                  "utility was not found at \"" +
                      platform::ToUtf8(updaterPath) +
                      "\". Ensure that this file is not missing, in use or corrupt.");
        EXPECT_EQ(failure->m_nCode, 2); // ERROR_FILE_NOT_FOUND, ENOENT
        EXPECT_TRUE(failure->m_bError);
        EXPECT_TRUE(run.processes.started.empty());
        EXPECT_EQ(run.fake.clock.pauses, std::vector<std::uint32_t>{800});
    }
    // One separator at the root.
#ifdef _WIN32
    EXPECT_EQ(platform::JoinPath(L"C:\\", hardware::kUpdaterFamilyB, kSeparator),
              L"C:\\sorvid_qz_2.1.0.exe");
#else
    EXPECT_EQ(platform::JoinPath(L"/", hardware::kUpdaterFamilyB, kSeparator),
              L"/sorvid_qz_2.1.0.exe");
#endif
}

TEST(UpdaterProcess, FolderInPlaceOfTheUpdaterIsAStartFailure)
{
    ProcessRun run;
    fs::create_directory(run.folder.Path() / PathOf(hardware::kUpdaterFamilyB));

    const std::optional<SetupException> failure = run.RunUpdater(NoListedBoard);

    ASSERT_TRUE(failure.has_value());
    const auto startError = static_cast<std::uint32_t>(failure->m_nCode);
    EXPECT_TRUE(IsFolderStartError(startError)) << startError;
    EXPECT_EQ(platform::ToUtf8(failure->m_strMessage),
              "An Windows error occurred, Error = " + std::to_string(startError));
    EXPECT_TRUE(failure->m_bError);
    EXPECT_EQ(run.processes.started,
              std::vector<std::wstring>{run.PathInFolder(hardware::kUpdaterFamilyB)});
    EXPECT_EQ(run.fake.clock.pauses, (std::vector<std::uint32_t>{800, 1000}));
    EXPECT_EQ(run.LogOf(), LogBytes({L"Logfile opened", kStatus,
                                     run.ExecutingLine(hardware::kUpdaterFamilyB)}));
}

struct ChoiceCase {
    const char* name;
    bool familyA;
    bool familyB;
    bool listedBoard;
    const wchar_t* updater;
    int boardQueries;
};

TEST(UpdaterProcess, ChosenUpdaterIsTheOneThatRuns)
{
    const std::vector<ChoiceCase> cases = {
        {"family A, listed board", true, false, true, hardware::kUpdaterFamilyAListedBoard, 1},
        {"family A, other board", true, true, false, hardware::kUpdaterFamilyAOtherBoard, 1},
        {"family B", false, true, true, hardware::kUpdaterFamilyB, 0},
    };
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(c.name);
        ProcessRun run(c.familyA, c.familyB);
        for (const wchar_t* name : {hardware::kUpdaterFamilyAListedBoard,
                                    hardware::kUpdaterFamilyAOtherBoard, hardware::kUpdaterFamilyB})
            CopyFixture(run.folder.Path(), name);
        FixtureSettings settings;
        settings.recordFile = (run.folder.Path() / "arguments.txt").u8string();
        settings.Apply();
        int boardQueries = 0;
        std::vector<std::string> eventsBeforeQuery;

        const std::optional<SetupException> failure = run.RunUpdater([&] {
            ++boardQueries;
            eventsBeforeQuery = run.dialog.events;
            return c.listedBoard;
        });

        EXPECT_FALSE(failure.has_value());
        EXPECT_EQ(boardQueries, c.boardQueries);
        if (c.boardQueries > 0) {
            EXPECT_EQ(eventsBeforeQuery,
                      std::vector<std::string>{"STATUS:Running the Kavlo SSD upgrade utility..."});
        }
        EXPECT_EQ(run.processes.started, std::vector<std::wstring>{run.PathInFolder(c.updater)});
        EXPECT_EQ(ReadLines(settings.recordFile),
                  (std::vector<std::string>{platform::ToUtf8(c.updater), "-firmware_update"}));
    }
}

TEST(UpdaterProcess, UpdateSequenceWithARealUpdaterRunsToDone)
{
    ProcessRun run;
    CopyFixture(run.folder.Path(), hardware::kUpdaterFamilyB);
    FixtureSettings().Apply();
    run.steps.familyA = ScriptedSteps::Drive::NoMatch;
    run.steps.familyB = ScriptedSteps::Drive::Match;
    run.steps.runUpdater = [](SetupThread& worker) { updater::RunUpdater(worker, NoListedBoard); };

    RunSequence(*run.worker);

    ASSERT_FALSE(run.dialog.events.empty());
    EXPECT_EQ(run.dialog.events.back(), "DONE");
    EXPECT_EQ(run.steps.calls, (std::vector<std::string>{"CheckFamilyADrive", "CheckFamilyBDrive",
                                                         "RunUpdater", "RestartWindows"}));
    const std::string tail = platform::ToUtf16LEBytes(
        L"A supported hard disk was found\r\n" + kStatus + L"\r\n" +
        run.ExecutingLine(hardware::kUpdaterFamilyB) + L"\r\nUpdate executed successfully.\r\n");
    const std::string log = run.LogOf();
    ASSERT_GE(log.size(), tail.size());
    EXPECT_EQ(log.substr(log.size() - tail.size()), tail);
}

} // namespace
