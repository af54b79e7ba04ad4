#include "app/KavloSSDUpdateDlg.h"
#include "app/Logoff.h"
#include "app/tests/AppFixture.h"

#include <gtest/gtest.h>

namespace apptest {
namespace {

const std::vector<std::string> kRebootCalls{
    "OpenProcessToken",       "LookupPrivilegeValue SeShutdownPrivilege",
    "Enable privilege 19",    "CloseToken",
    "RequestRestart",         "OpenProcessToken",
    "LookupPrivilegeValue SeShutdownPrivilege",
    "Disable privilege 19",   "CloseToken"};

TEST(RestartCountdownText, HasTwoDigits)
{
    EXPECT_EQ(RestartCountdownText(15), L"Restarting Windows in 15 seconds...");
    EXPECT_EQ(RestartCountdownText(9), L"Restarting Windows in 09 seconds...");
    EXPECT_EQ(RestartCountdownText(1), L"Restarting Windows in 01 seconds...");
}

TEST(DialogRestart, CountsDownFifteenSecondsThenEndsWithOneAndRequestsTheRestart)
{
    AppFixture f;
    f.ThenRunWorker();
    std::size_t pausesBefore = 0;
    f.Then([&] { pausesBefore = f.fake.clock.pauses.size(); });
    f.ThenPress(IDOK);
    EXPECT_EQ(f.Run(), 1);

    EXPECT_EQ(f.Text(IDC_STATUS_TEXT), L"Restarting Windows...");
    std::vector<std::wstring> details = f.TextsOf(IDC_DETAIL_TEXT);
    details.erase(details.begin(), details.end() - 15);
    EXPECT_EQ(details, Countdown());
    const std::vector<std::uint32_t> countdown(f.fake.clock.pauses.begin() + pausesBefore,
                                               f.fake.clock.pauses.end());
    EXPECT_EQ(countdown, std::vector<std::uint32_t>(15, 1000));
    EXPECT_EQ(f.fake.restart.calls, kRebootCalls);
    EXPECT_EQ(f.fake.restart.tokensOpen, 0);
    EXPECT_FALSE(f.Window().Control(IDOK).enabled);
    EXPECT_FALSE(f.Window().Control(IDCLOSE).enabled);
    EXPECT_FALSE(f.Window().Control(IDC_HINT_TEXT).visible);
    // The dialog's countdown writes nothing to the log.
    EXPECT_EQ(f.LogBytes().find(platform::ToUtf16LEBytes(L"Restarting")), std::string::npos);
}

TEST(DialogRestart, IsMarkedToEndBeforeTheRestartRequest)
{
    AppFixture f;
    f.ThenRunWorker();
    f.ThenPress(IDOK);
    bool endedWithOne = false;
    f.fake.restart.onRestart = [&] { endedWithOne = f.Window().ended && f.Window().result == 1; };
    EXPECT_EQ(f.Run(), 1);
    EXPECT_TRUE(endedWithOne);
}

TEST(DialogRestart, SecondOkDuringTheCountdownDoesNothing)
{
    AppFixture f;
    f.fake.restart.adjustError = 1300;
    KavloSSDUpdateDlg* dialog = nullptr;
    f.ThenRunWorker();
    f.Then([&] { dialog = static_cast<KavloSSDUpdateDlg*>(f.app.m_pMainWnd); });
    f.ThenPress(IDOK);
    // A box of the first restart is the one moment a second click could come in.
    f.fake.messageBoxes.onShow = [&](const std::wstring&) { dialog->OnOkButton(); };
    EXPECT_EQ(f.Run(), 1);
    EXPECT_EQ(f.fake.restart.restartRequests, 1);
    EXPECT_EQ(f.Window().endCalls, 1);
}

// Both boxes, verbatim; each privilege operation shows its own and the procedure goes on to
// the restart request and the second operation.
struct PrivilegeCase {
    const char* name;
    bool failOpen;
    std::uint32_t adjustError;
    std::wstring box;
};

void PrintTo(const PrivilegeCase& c, std::ostream* os) { *os << c.name; }

class PrivilegeFailures : public ::testing::TestWithParam<PrivilegeCase> {};

TEST_P(PrivilegeFailures, ShowTheirBoxAndTheRestartGoesOnFromTheDialog)
{
    AppFixture f;
    f.fake.restart.failOpen = GetParam().failOpen;
    f.fake.restart.adjustError = GetParam().adjustError;
    f.ThenRunWorker();
    f.ThenPress(IDOK);
    EXPECT_EQ(f.Run(), 1);
    ASSERT_EQ(f.fake.messageBoxes.shown.size(), 2u);
    for (const auto& box : f.fake.messageBoxes.shown) {
        EXPECT_EQ(box.text, GetParam().box);
        EXPECT_EQ(box.owner, f.Window().Handle());
    }
    EXPECT_EQ(f.fake.restart.restartRequests, 1);
    EXPECT_EQ(f.fake.restart.tokensOpen, 0);
}

TEST_P(PrivilegeFailures, ShowTheirBoxEvenInSilentModeFromTheWorker)
{
    AppFixture f;
    f.Arguments({L"/s", L"/r"});
    f.fake.restart.failOpen = GetParam().failOpen;
    f.fake.restart.adjustError = GetParam().adjustError;
    f.ThenRunWorker();
    EXPECT_EQ(f.Run(), 0);
    ASSERT_EQ(f.fake.messageBoxes.shown.size(), 2u);
    for (const auto& box : f.fake.messageBoxes.shown)
        EXPECT_EQ(box.text, GetParam().box);
    EXPECT_EQ(f.fake.restart.restartRequests, 1);
    EXPECT_EQ(f.fake.restart.tokensOpen, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, PrivilegeFailures,
    ::testing::Values(
        PrivilegeCase{"TokenCannotBeOpened", true, 0, L"ERROR: Unable to open process token."},
        PrivilegeCase{"PrivilegeNotHeld", false, 1300,
                      L"ERROR: Uanble to adjust token privileges."}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(WorkerRestart, WithoutTheOptionDoesNothing)
{
    AppFixture f;
    f.ThenRunWorker();
    f.ThenPress(IDCLOSE);
    EXPECT_EQ(f.Run(), 3010);
    EXPECT_TRUE(f.fake.restart.calls.empty());
    EXPECT_EQ(f.LogBytes().find(platform::ToUtf16LEBytes(L"Restarting")), std::string::npos);
}

std::vector<std::wstring> SuccessfulRunLog(bool withRestart)
{
    std::vector<std::wstring> lines = enginetest::PrerequisiteLogLines();
    lines.push_back(L"A supported hard disk was found");
    if (withRestart) {
        lines.push_back(L"Restarting Windows...");
        for (const auto& text : Countdown())
            lines.push_back(text);
    }
    return lines;
}

TEST(WorkerRestart, SilentCountsDownFifteenSecondsAndLogsSixteenLines)
{
    AppFixture f;
    f.Arguments({L"/s", L"/r"});
    f.ThenRunWorker();
    EXPECT_EQ(f.Run(), 0);
    EXPECT_EQ(f.LogBytes(), enginetest::LogBytes(SuccessfulRunLog(true)));
    // Silent: the countdown's own pauses, the 3000 ms before the end, nothing else.
    std::vector<std::uint32_t> expected(15, 1000);
    expected.push_back(3000);
    EXPECT_EQ(f.fake.clock.pauses, expected);
    EXPECT_EQ(f.fake.restart.calls, kRebootCalls);
    EXPECT_FALSE(f.Window().everShown);
}

TEST(WorkerRestart, ShownCountdownReportsEveryStepWithItsPause)
{
    AppFixture f;
    f.Arguments({L"/r"});
    f.ThenRunWorker();
    EXPECT_EQ(f.Run(), 0);
    EXPECT_EQ(f.LogBytes(), enginetest::LogBytes(SuccessfulRunLog(true)));
    // 800 ms after the status, then 800 + 1000 ms per step; the 3000 ms of the dialog last.
    std::vector<std::uint32_t> expected{800};
    for (int step = 0; step < 15; ++step) {
        expected.push_back(800);
        expected.push_back(1000);
    }
    expected.push_back(3000);
    const auto& pauses = f.fake.clock.pauses;
    ASSERT_GE(pauses.size(), expected.size());
    EXPECT_EQ(std::vector<std::uint32_t>(pauses.end() - expected.size(), pauses.end()), expected);
    // The countdown went through the dialog's lines before the done report.
    auto details = f.TextsOf(IDC_DETAIL_TEXT);
    const auto first = std::find(details.begin(), details.end(), RestartCountdownText(15));
    ASSERT_NE(first, details.end());
    EXPECT_EQ(std::vector<std::wstring>(first, first + 15), Countdown());
    EXPECT_EQ(f.Text(IDC_STATUS_TEXT), L"The installation completed successfully.");
    EXPECT_EQ(f.fake.restart.restartRequests, 1);
}

TEST(WorkerRestart, FailedUpdateReachesNoRestart)
{
    AppFixture f;
    f.Arguments({L"/s", L"/r"});
    f.steps.scripted.runUpdater = [](SetupThread&) {
        throw SetupException(L"Updater failed", 6, false);
    };
    f.ThenRunWorker();
    EXPECT_EQ(f.Run(), 6);
    EXPECT_TRUE(f.fake.restart.calls.empty());
}

TEST(Logoff, EnableAndDisableSetTheShutdownPrivilegeAndCloseTheToken)
{
    platform::fakes::FakeAppPlatform fake;
    {
        Logoff logoff(fake.services, nullptr);
        logoff.EnableShutdownPrivilege();
        EXPECT_EQ(fake.restart.tokensOpen, 0);
        logoff.DisableShutdownPrivilege();
    }
    EXPECT_EQ(fake.restart.calls,
              (std::vector<std::string>{"OpenProcessToken", "LookupPrivilegeValue SeShutdownPrivilege",
                                        "Enable privilege 19", "CloseToken", "OpenProcessToken",
                                        "LookupPrivilegeValue SeShutdownPrivilege",
                                        "Disable privilege 19", "CloseToken"}));
    EXPECT_TRUE(fake.messageBoxes.shown.empty());
}

} // namespace
} // namespace apptest
