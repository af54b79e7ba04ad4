#include "app/KavloSSDUpdateDlg.h"
#include "app/tests/AppFixture.h"

#include <gtest/gtest.h>

namespace apptest {
namespace {

using Drive = enginetest::ScriptedSteps::Drive;
using Event = std::function<void(AppFixture&)>;

Event Status(std::wstring text)
{
    return [text](AppFixture& f) {
        f.fake.dialogs.Deliver(WM_SETUP_STATUS, 0, PayloadParam(new std::wstring(text)));
    };
}
Event Detail(std::wstring text)
{
    return [text](AppFixture& f) {
        f.fake.dialogs.Deliver(WM_SETUP_DETAIL, 0, PayloadParam(new std::wstring(text)));
    };
}
Event Failure(std::int32_t code, bool error, std::wstring message)
{
    return [=](AppFixture& f) {
        f.fake.dialogs.Deliver(WM_SETUP_ERROR, 0,
                               PayloadParam(new SetupException(message, code, error)));
    };
}
Event Message(std::uint32_t message)
{
    return [message](AppFixture& f) { f.fake.dialogs.Deliver(message, 0, 0); };
}
Event Press(int command)
{
    return [command](AppFixture& f) { f.fake.dialogs.Press(command); };
}

void Then(AppFixture& f, Event event)
{
    f.Then([&f, event] { event(f); });
}

struct Shown {
    std::wstring status;
    std::wstring detail;
    bool hintVisible;
    std::wstring hint;
    bool okEnabled;
    bool closeEnabled;
};

void PrintTo(const Shown& s, std::ostream* os)
{
    *os << "{" << platform::ToUtf8(s.status) << " | " << platform::ToUtf8(s.detail) << " | "
        << (s.hintVisible ? "hint " : "no hint ") << platform::ToUtf8(s.hint) << " | OK "
        << s.okEnabled << " Close " << s.closeEnabled << "}";
}

bool operator==(const Shown& a, const Shown& b)
{
    return a.status == b.status && a.detail == b.detail && a.hintVisible == b.hintVisible &&
           (!a.hintVisible || a.hint == b.hint) && a.okEnabled == b.okEnabled &&
           a.closeEnabled == b.closeEnabled;
}

Shown ShownBy(AppFixture& f)
{
    return {f.Text(IDC_STATUS_TEXT), f.Text(IDC_DETAIL_TEXT),
            f.Window().Control(IDC_HINT_TEXT).visible, f.Text(IDC_HINT_TEXT),
            f.Window().Control(IDOK).enabled, f.Window().Control(IDCLOSE).enabled};
}

struct StateCase {
    const char* name;
    std::vector<std::wstring> arguments;
    std::vector<Event> events;
    Shown expected;
};

void PrintTo(const StateCase& c, std::ostream* os) { *os << c.name; }

const std::wstring kCloseHint = L"Press the \"Close\" button to exit.";
const std::wstring kRestartHint = L"Press \"OK\" to reboot now or \"Close\" to exit.";
const std::wstring kSuccess = L"The installation completed successfully.";
const std::wstring kReboot = L"You need to reboot for this update to take effect.";

class DialogStates : public ::testing::TestWithParam<StateCase> {};

TEST_P(DialogStates, ShowWhatTheStateTableSays)
{
    AppFixture f;
    f.Arguments(GetParam().arguments);
    for (const Event& event : GetParam().events)
        f.Then([&f, event] { event(f); });
    f.Run();
    EXPECT_EQ(ShownBy(f), GetParam().expected);
    // The wait text and the label never change.
    EXPECT_EQ(f.Text(IDC_WAIT_TEXT), L"Please wait while the firmware update is running ...");
    EXPECT_EQ(f.Text(IDC_STATUS_LABEL), L"Update status:");
}

INSTANTIATE_TEST_SUITE_P(
    Table, DialogStates,
    ::testing::Values(
        StateCase{"Starting", {}, {}, {L"[ status text... ]", L"", false, L"", false, false}},
        StateCase{"RunningDetailAfterStatus",
                  {},
                  {Status(L"Checking Windows version..."), Detail(L"Current Windows version = 6.1")},
                  {L"Checking Windows version...", L"Current Windows version = 6.1", false, L"",
                   false, false}},
        StateCase{"RunningStatusEmptiesDetail",
                  {},
                  {Detail(L"old"), Status(L"Checking hard drive model...")},
                  {L"Checking hard drive model...", L"", false, L"", false, false}},
        StateCase{"RunningDetailKeepsStatus",
                  {},
                  {Detail(L"Admin credentials were found")},
                  {L"[ status text... ]", L"Admin credentials were found", false, L"", false,
                   false}},
        StateCase{"FailedWithoutErrorFlag",
                  {},
                  {Status(L"Checking system power status..."), Detail(L"x"),
                   Failure(102, false, L"System is not on AC power.")},
                  {L"System is not on AC power.", L"", true, kCloseHint, false, true}},
        StateCase{"FailedWithErrorFlag",
                  {},
                  {Failure(2, true, L"An Windows error occurred, Error = 2")},
                  {L"An error occurred...", L"An Windows error occurred, Error = 2", true,
                   kCloseHint, false, true}},
        StateCase{"SecondFailureReplacesTheFirst",
                  {},
                  {Failure(103, true, L"drive query"), Failure(104, false, L"This hard disk model is not supported.")},
                  {L"This hard disk model is not supported.", L"", true, kCloseHint, false, true}},
        StateCase{"DoneRestartOffered",
                  {},
                  {Status(L"Running the Kavlo SSD upgrade utility..."), Message(WM_SETUP_DONE)},
                  {kSuccess, kReboot, true, kRestartHint, true, true}},
        StateCase{"DoneAfter103RestartOffered",
                  {},
                  {Failure(103, true, L"drive query"), Message(WM_SETUP_DONE)},
                  {kSuccess, kReboot, true, kRestartHint, true, true}},
        StateCase{"DoneRestartingAutomatically",
                  {L"/r"},
                  {Status(L"Restarting Windows..."), Detail(L"Restarting Windows in 01 seconds..."),
                   Message(WM_SETUP_DONE)},
                  {kSuccess, L"", false, L"", false, false}},
        StateCase{"RestartingOnRequest",
                  {},
                  {Message(WM_SETUP_DONE), Press(IDOK)},
                  {L"Restarting Windows...", L"Restarting Windows in 01 seconds...", false, L"",
                   false, false}},
        StateCase{"EnterBeforeDoneDoesNothing",
                  {},
                  {Status(L"Checking hard drive model..."), Press(IDOK)},
                  {L"Checking hard drive model...", L"", false, L"", false, false}}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

// How a whole run ends, with the worker's sequence and the user's presses.
struct EndCase {
    const char* name;
    std::vector<std::wstring> arguments;
    Drive familyA;
    Drive familyB;
    std::int32_t updaterFailure; // 0: the updater succeeds
    std::vector<int> presses;    // after the worker's sequence
    int result;
    int restartRequests;
};

void PrintTo(const EndCase& c, std::ostream* os) { *os << c.name; }

class DialogEnds : public ::testing::TestWithParam<EndCase> {};

TEST_P(DialogEnds, WithTheResultOfTheTable)
{
    const EndCase& c = GetParam();
    AppFixture f;
    f.Arguments(c.arguments);
    f.steps.scripted.familyA = c.familyA;
    f.steps.scripted.familyB = c.familyB;
    if (c.updaterFailure != 0)
        f.steps.scripted.runUpdater = [&c](SetupThread&) {
            throw SetupException(L"Invalid Drive Serial Number", c.updaterFailure, false);
        };
    f.ThenRunWorker();
    for (int press : c.presses)
        f.ThenPress(press);
    EXPECT_EQ(f.Run(), c.result);
    EXPECT_EQ(f.fake.restart.restartRequests, c.restartRequests);
    EXPECT_EQ(f.Window().endCalls, 1);
}

constexpr int kEscape = platform::kCommandCancel;

INSTANTIATE_TEST_SUITE_P(
    Table, DialogEnds,
    ::testing::Values(
        EndCase{"SilentFailureEndsAtOnce", {L"/s"}, Drive::NoMatch, Drive::NoMatch, 0, {}, 104, 0},
        EndCase{"SilentFirstFailureWins", {L"/s"}, Drive::QueryFails, Drive::Match, 0, {}, 103, 0},
        EndCase{"SilentUpdaterFailure", {L"s"}, Drive::NoMatch, Drive::Match, 2, {}, 2, 0},
        EndCase{"ShownFailureThenClose", {}, Drive::NoMatch, Drive::NoMatch, 0, {IDCLOSE}, 104, 0},
        EndCase{"ShownLastFailureOnClose", {}, Drive::QueryFails, Drive::QueryFails, 0, {IDCLOSE}, 104, 0},
        EndCase{"ShownUpdaterFailureThenClose", {}, Drive::NoMatch, Drive::Match, 6, {IDCLOSE}, 6, 0},
        EndCase{"ShownFailureOkIgnored", {}, Drive::NoMatch, Drive::NoMatch, 0, {IDOK, IDCLOSE}, 104, 0},
        EndCase{"ShownSuccessClose", {}, Drive::NoMatch, Drive::Match, 0, {IDCLOSE}, 3010, 0},
        EndCase{"ShownSuccessOk", {}, Drive::NoMatch, Drive::Match, 0, {IDOK}, 1, 1},
        EndCase{"Shown103ThenSuccessClose", {}, Drive::QueryFails, Drive::Match, 0, {IDCLOSE}, 103, 0},
        EndCase{"Shown103ThenSuccessOk", {}, Drive::QueryFails, Drive::Match, 0, {IDOK}, 1, 1},
        EndCase{"SilentSuccess", {L"/s"}, Drive::Match, Drive::NoMatch, 0, {}, 3010, 0},
        EndCase{"SilentRestart", {L"-s", L"-r"}, Drive::NoMatch, Drive::Match, 0, {}, 0, 1},
        EndCase{"ShownRestart", {L"/r"}, Drive::NoMatch, Drive::Match, 0, {}, 0, 1},
        EndCase{"ShownRestartAfter103", {L"/r"}, Drive::QueryFails, Drive::Match, 0, {}, 103, 1},
        EndCase{"EscapeAfterFailure", {}, Drive::NoMatch, Drive::NoMatch, 0, {kEscape}, 2, 0},
        EndCase{"EscapeAfterSuccess", {}, Drive::NoMatch, Drive::Match, 0, {kEscape}, 2, 0}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(DialogEndsOnFailureCode, SilentFailureWithCodeZeroEndsWithZero)
{
    AppFixture f;
    f.Arguments({L"/s"});
    Then(f, Failure(0, false, L""));
    EXPECT_EQ(f.Run(), 0);
}

TEST(DialogEndsOnFailureCode, ShownFailureWithCodeZeroClosesWith3010)
{
    AppFixture f;
    Then(f, Failure(0, false, L""));
    f.ThenPress(IDCLOSE);
    EXPECT_EQ(f.Run(), 3010);
}

// Escape ends the dialog with 2 wherever it comes: before the worker starts, after any report
// of the sequence with "/r", the worker's countdown included. (The process then ends with the
// dialog, so the real worker never gets as far as the restart.)
TEST(DialogEscape, EndsWithTwoAtAnyMoment)
{
    std::size_t reports = 0;
    {
        AppFixture f;
        f.Arguments({L"/r"});
        f.ThenRunWorker();
        ASSERT_EQ(f.Run(), 0);
        reports = f.fake.windows.posted.size();
    }
    ASSERT_GT(reports, 16u);
    // The last report is the done report, which ends the dialog by itself.
    for (std::size_t after = 0; after < reports; ++after) {
        AppFixture f;
        f.Arguments({L"/r"});
        std::size_t delivered = 0;
        f.fake.windows.onPost = [&](const platform::fakes::PostedMessage& posted) {
            f.fake.dialogs.Deliver(posted.message, posted.wParam, posted.lParam);
            if (++delivered == after)
                f.fake.dialogs.Press(kEscape);
        };
        if (after == 0)
            f.ThenPress(kEscape);
        f.ThenRunWorker();
        EXPECT_EQ(f.Run(), 2) << "Escape after " << after << " reports";
    }
}

TEST(DialogSilent, IsNeverShownYetEndsByItself)
{
    AppFixture f;
    f.Arguments({L"/s"});
    f.ThenRunWorker();
    Then(f, Message(WM_SETUP_SHOW));
    EXPECT_EQ(f.Run(), 3010);
    EXPECT_FALSE(f.Window().everShown);
    EXPECT_TRUE(f.Window().texts.empty()) << "a silent run touches no control";
}

TEST(DialogShowHide, HideInAnyModeShowOnlyWhenNotSilent)
{
    AppFixture f;
    Then(f, Message(WM_SETUP_HIDE));
    f.Then([&f] { EXPECT_FALSE(f.Window().visible); });
    Then(f, Message(WM_SETUP_SHOW));
    f.Then([&f] { EXPECT_TRUE(f.Window().visible); });
    f.Run();
    EXPECT_TRUE(f.Window().everShown);
}

TEST(DialogInit, CopiesTheOptionsIntoTheWorkerBeforeThePost)
{
    AppFixture f;
    f.Arguments({L"/s", L"-r"});
    f.Then([&f] {
        ASSERT_TRUE(f.launcher.worker);
        EXPECT_TRUE(f.launcher.worker->m_bSilent);
        EXPECT_TRUE(f.launcher.worker->m_bRestart);
        EXPECT_EQ(f.app.m_pSetupThread, f.launcher.worker.get());
        ASSERT_TRUE(f.launcher.start);
        EXPECT_EQ(f.launcher.start->hDialog, f.Window().Handle());
        EXPECT_EQ(f.launcher.posts, 1);
    });
    f.Run();
}

TEST(DialogInit, SetsBothIconsToTheProgramIcon)
{
    AppFixture f;
    f.Run();
    EXPECT_EQ(f.fake.dialogs.loadedIcons, std::vector<int>{IDR_APP_ICON});
    EXPECT_NE(f.Window().bigIcon, nullptr);
    EXPECT_EQ(f.Window().bigIcon, f.Window().smallIcon);
}

TEST(DialogInit, WorkerThatCannotStartEndsTheDialogWithTheErrorCode)
{
    AppFixture f;
    f.Arguments({L"/s"});
    f.launcher.createError = 8;
    EXPECT_EQ(f.Run(), 8);
    EXPECT_EQ(f.launcher.posts, 0);
    EXPECT_FALSE(f.Window().everShown);
    EXPECT_EQ(f.app.m_pSetupThread, nullptr);
}

TEST(DialogInit, StartThatCannotBePostedEndsTheDialogWithTheErrorCode)
{
    AppFixture f;
    f.Arguments({L"/s"});
    f.launcher.postError = 1444;
    EXPECT_EQ(f.Run(), 1444);
    EXPECT_FALSE(f.Window().everShown);
}

TEST(DialogInit, ProgramEndsWithMinusOneWhenTheDialogCannotBeCreated)
{
    AppFixture f;
    f.fake.dialogs.failCreate = true;
    EXPECT_EQ(f.Run(), -1);
    EXPECT_EQ(f.app.m_nExitCode, -1);
}

TEST(DialogPaint, DrawsTheIconCentredOnlyWhenMinimised)
{
    AppFixture f;
    bool painted = true;
    f.Then([&] {
        auto& dialog = static_cast<KavloSSDUpdateDlg&>(*f.app.m_pMainWnd);
        painted = dialog.OnPaint();
        f.Window().minimized = true;
        f.Window().clientSize = {481, 187};
        EXPECT_TRUE(dialog.OnPaint());
        EXPECT_EQ(dialog.OnQueryDragIcon(), dialog.m_hIcon);
    });
    f.Run();
    EXPECT_FALSE(painted) << "not minimised: the host paints";
    EXPECT_EQ(f.Window().iconPaints, 1);
    EXPECT_EQ(f.Window().paintedIcon, f.Window().bigIcon);
    EXPECT_EQ(f.Window().paintedAt.width, (481 - 32 + 1) / 2);
    EXPECT_EQ(f.Window().paintedAt.height, (187 - 32 + 1) / 2);
}

TEST(DialogAutoEnd, WaitsThreeSecondsAfterTheDoneReport)
{
    AppFixture f;
    f.Arguments({L"/r"});
    Then(f, Message(WM_SETUP_DONE));
    EXPECT_EQ(f.Run(), 0);
    EXPECT_EQ(f.fake.clock.pauses, std::vector<std::uint32_t>{3000});
}

} // namespace
} // namespace apptest
