// The update sequence on the fake platform: every message posted to the dialog with its payload,
// every pause, and the exact bytes of the installer log, for each way a run can go.
#include "engine/Prerequisites.h"
#include "engine/tests/EngineFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

using namespace enginetest;
using Drive = ScriptedSteps::Drive;

namespace {

const std::wstring kLogPath = L"C:\\Updates\\KavloSSDInstallerLog.txt";
const std::string kDriveQueryFailure =
    "ERROR:103:1:An error occurred while checking the hard drive model. "
    "An error occurred executing the WMI query to get the drive model.";
const std::wstring kDriveQueryFailureLine =
    L"Exception: An error occurred while checking the hard drive model. "
    L"An error occurred executing the WMI query to get the drive model.";

// The updater step as the real one behaves on success with a family B drive in C:\Updates.
void SucceedingUpdater(SetupThread& worker)
{
    worker.ReportStatus(L"Running the Kavlo SSD upgrade utility...");
    worker.Log(L"executing: C:\\Updates\\sorvid_qz_2.1.0.exe -firmware_update");
    worker.ReportDetail(L"Update executed successfully.");
}

struct Scenario {
    const char* name = "";
    bool administrator = true;
    platform::WindowsVersion version{6, 1};
    std::uint8_t acLineStatus = platform::kACLineOnline;
    Drive familyA = Drive::NoMatch;
    Drive familyB = Drive::Match;
    std::optional<SetupException> updaterThrows;
    bool restart = false;
    bool silent = false;
    std::vector<std::string> posts;
    std::vector<std::wstring> log;
    std::vector<std::string> steps;
};

const std::vector<std::wstring> kPrerequisiteLines = PrerequisiteLogLines();
const std::vector<std::string> kPrerequisitePosts = {
    "STATUS:Checking for administrator credentials...",
    "DETAIL:Admin credentials were found",
    "STATUS:Checking Windows version...",
    "DETAIL:Current Windows version = 6.1",
    "DETAIL:Windows 2000 or later was found",
    "STATUS:Checking system power status...",
    "DETAIL:System is on AC power",
    "STATUS:Checking hard drive model...",
};
const std::vector<std::wstring> kUpdateLines = {
    L"A supported hard disk was found",
    L"Running the Kavlo SSD upgrade utility...",
    L"executing: C:\\Updates\\sorvid_qz_2.1.0.exe -firmware_update",
    L"Update executed successfully.",
};
const std::vector<std::string> kUpdatePosts = {
    "DETAIL:A supported hard disk was found",
    "STATUS:Running the Kavlo SSD upgrade utility...",
    "DETAIL:Update executed successfully.",
};
const std::vector<std::string> kAllSteps = {"CheckFamilyADrive", "CheckFamilyBDrive", "RunUpdater",
                                            "RestartWindows"};

template <class T>
std::vector<T> Join(std::initializer_list<std::vector<T>> parts)
{
    std::vector<T> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

template <class T>
std::vector<T> First(const std::vector<T>& lines, std::size_t count)
{
    return std::vector<T>(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(count));
}

// The same run with "/s": the log is unchanged, status and detail reports are not posted.
Scenario Silenced(Scenario s, const char* name)
{
    s.name = name;
    s.silent = true;
    s.posts.erase(std::remove_if(s.posts.begin(), s.posts.end(),
                                 [](const std::string& post) {
                                     return post.rfind("STATUS:", 0) == 0 ||
                                            post.rfind("DETAIL:", 0) == 0;
                                 }),
                  s.posts.end());
    return s;
}

std::vector<Scenario> Scenarios()
{
    std::vector<Scenario> all;
    {
        Scenario s;
        s.name = "ExampleRunFamilyB";
        s.posts = Join<std::string>({kPrerequisitePosts, kUpdatePosts, {"DONE"}});
        s.log = Join<std::wstring>({kPrerequisiteLines, kUpdateLines});
        s.steps = kAllSteps;
        all.push_back(s);
    }
    {
        Scenario s;
        s.name = "NotAdministrator";
        s.administrator = false;
        s.posts = {"STATUS:Checking for administrator credentials...",
                   "ERROR:100:0:Admin credentials were not found."};
        s.log = {L"Logfile opened", L"Checking for administrator credentials...",
                 L"Exception: Admin credentials were not found."};
        all.push_back(s);
    }
    {
        Scenario s;
        s.name = "WindowsNT4Refused";
        s.version = {4, 0};
        s.posts = {"STATUS:Checking for administrator credentials...",
                   "DETAIL:Admin credentials were found", "STATUS:Checking Windows version...",
                   "DETAIL:Current Windows version = 4.0",
                   "ERROR:101:0:Windows 2000 or later was not found."};
        s.log = {L"Logfile opened",
                 L"Checking for administrator credentials...",
                 L"Admin credentials were found",
                 L"Checking Windows version...",
                 L"Current Windows version = 4.0",
                 L"Exception: Windows 2000 or later was not found."};
        all.push_back(s);
    }
    {
        Scenario s;
        s.name = "OnBattery";
        s.acLineStatus = platform::kACLineOffline;
        s.posts = Join<std::string>(
            {First(kPrerequisitePosts, 6), {"ERROR:102:0:System is not on AC power."}});
        s.log = Join<std::wstring>(
            {First(kPrerequisiteLines, 7), {L"Exception: System is not on AC power."}});
        all.push_back(s);
    }
    {
        Scenario s;
        s.name = "UnknownACLineCountsAsACPower";
        s.acLineStatus = platform::kACLineUnknown;
        s.posts = Join<std::string>({kPrerequisitePosts, kUpdatePosts, {"DONE"}});
        s.log = Join<std::wstring>({kPrerequisiteLines, kUpdateLines});
        s.steps = kAllSteps;
        all.push_back(s);
    }
    {
        Scenario s;
        s.name = "NoSupportedDrive";
        s.familyB = Drive::NoMatch;
        s.posts = Join<std::string>(
            {kPrerequisitePosts, {"ERROR:104:0:This hard disk model is not supported."}});
        s.log = Join<std::wstring>(
            {kPrerequisiteLines, {L"Exception: This hard disk model is not supported."}});
        s.steps = {"CheckFamilyADrive", "CheckFamilyBDrive"};
        all.push_back(s);
    }
    {
        Scenario s;
        s.name = "DriveQueryFailsThenFamilyBMatches";
        s.familyA = Drive::QueryFails;
        s.posts = Join<std::string>({kPrerequisitePosts, {kDriveQueryFailure}, kUpdatePosts, {"DONE"}});
        s.log = Join<std::wstring>({kPrerequisiteLines, {kDriveQueryFailureLine}, kUpdateLines});
        s.steps = kAllSteps;
        all.push_back(s);
    }
    {
        Scenario s;
        s.name = "DriveQueryFailsTwice";
        s.familyA = Drive::QueryFails;
        s.familyB = Drive::QueryFails;
        s.posts = Join<std::string>({kPrerequisitePosts,
                                     {kDriveQueryFailure, kDriveQueryFailure,
                                      "ERROR:104:0:This hard disk model is not supported."}});
        s.log = Join<std::wstring>({kPrerequisiteLines,
                                    {kDriveQueryFailureLine, kDriveQueryFailureLine,
                                     L"Exception: This hard disk model is not supported."}});
        s.steps = {"CheckFamilyADrive", "CheckFamilyBDrive"};
        all.push_back(s);
    }
    {
        Scenario s;
        s.name = "UpdaterThrowsWithRestartOption";
        s.restart = true;
        s.updaterThrows = SetupException(L"Kavlo Utility error - user canceled utility", 6, false);
        s.posts = Join<std::string>({kPrerequisitePosts,
                                     {"DETAIL:A supported hard disk was found",
                                      "STATUS:Running the Kavlo SSD upgrade utility...",
                                      "ERROR:6:0:Kavlo Utility error - user canceled utility"}});
        s.log = Join<std::wstring>({kPrerequisiteLines,
                                    {L"A supported hard disk was found",
                                     L"Running the Kavlo SSD upgrade utility...",
                                     L"Kavlo Utility error - user canceled utility",
                                     L"Exception: Kavlo Utility error - user canceled utility"}});
        s.steps = {"CheckFamilyADrive", "CheckFamilyBDrive", "RunUpdater"};
        all.push_back(s);
    }
    {
        Scenario s;
        s.name = "UpdaterThrowsEmptyMessage";
        s.updaterThrows = SetupException(L"", 23, false);
        s.posts = Join<std::string>(
            {kPrerequisitePosts,
             {"DETAIL:A supported hard disk was found",
              "STATUS:Running the Kavlo SSD upgrade utility...", "ERROR:23:0:"}});
        s.log = Join<std::wstring>(
            {kPrerequisiteLines,
             {L"A supported hard disk was found", L"Running the Kavlo SSD upgrade utility...",
              L"", L"Exception: "}});
        s.steps = {"CheckFamilyADrive", "CheckFamilyBDrive", "RunUpdater"};
        all.push_back(s);
    }
    {
        Scenario s;
        s.name = "SuccessWithRestartOption";
        s.restart = true;
        s.posts = Join<std::string>({kPrerequisitePosts, kUpdatePosts, {"DONE"}});
        s.log = Join<std::wstring>({kPrerequisiteLines, kUpdateLines});
        s.steps = {"CheckFamilyADrive", "CheckFamilyBDrive", "RunUpdater",
                   "RestartWindows(restart)"};
        all.push_back(s);
    }
    const auto named = [&all](const char* name) {
        return *std::find_if(all.begin(), all.end(),
                             [name](const Scenario& s) { return std::string(s.name) == name; });
    };
    all.push_back(Silenced(named("ExampleRunFamilyB"), "SilentSuccess"));
    all.push_back(Silenced(named("DriveQueryFailsTwice"), "SilentDriveQueryFailsTwice"));
    all.push_back(Silenced(named("NotAdministrator"), "SilentNotAdministrator"));
    return all;
}

// Test names show the scenario, not its bytes.
void PrintTo(const Scenario& s, std::ostream* os) { *os << s.name; }

class UpdateSequence : public ::testing::TestWithParam<Scenario> {};

TEST_P(UpdateSequence, PostsPausesAndLogsExactly)
{
    const Scenario& s = GetParam();
    platform::fakes::FakePlatform fake;
    fake.system.administrator = s.administrator;
    fake.system.version = s.version;
    fake.system.acLineStatus = s.acLineStatus;
    RecordingDialog dialog(fake.windows);
    ScriptedSteps steps;
    steps.familyA = s.familyA;
    steps.familyB = s.familyB;
    steps.runUpdater = [&s](SetupThread& worker) {
        if (s.updaterThrows) {
            worker.ReportStatus(L"Running the Kavlo SSD upgrade utility...");
            throw *s.updaterThrows;
        }
        SucceedingUpdater(worker);
    };
    {
        SetupThread worker(fake.services, steps);
        worker.m_bRestart = s.restart;
        worker.m_bSilent = s.silent;
        RunSequence(worker);

        EXPECT_EQ(dialog.events, s.posts);
        EXPECT_EQ(steps.calls, s.steps);
        for (platform::WindowHandle window : dialog.windows)
            EXPECT_EQ(window, DialogWindow());

        // 800 ms after every status and detail report that was posted; none when silent.
        std::size_t reports = 0;
        for (const std::string& event : dialog.events)
            reports += event.rfind("STATUS:", 0) == 0 || event.rfind("DETAIL:", 0) == 0;
        EXPECT_EQ(fake.clock.pauses, std::vector<std::uint32_t>(reports, 800));
        if (s.silent) {
            EXPECT_TRUE(fake.clock.pauses.empty());
        }

        const platform::fakes::FakeFile* file = fake.files.Find(kLogPath);
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(file->bytes, LogBytes(s.log));
        // The byte-order mark, then one write per line.
        EXPECT_EQ(file->writes, s.log.size() + 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Scenarios, UpdateSequence, ::testing::ValuesIn(Scenarios()),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(UpdateSequence, ExampleRunSpendsElevenReportPauses)
{
    platform::fakes::FakePlatform fake;
    RecordingDialog dialog(fake.windows);
    ScriptedSteps steps;
    steps.runUpdater = SucceedingUpdater;
    SetupThread worker(fake.services, steps);
    RunSequence(worker);
    std::uint64_t total = 0;
    for (auto pause : fake.clock.pauses)
        total += pause;
    EXPECT_EQ(total, 8800u);
    EXPECT_EQ(fake.clock.pauses.size(), 11u);
}

struct VersionCase {
    platform::WindowsVersion version;
    bool passes;
    const char* line;
};

void PrintTo(const VersionCase& c, std::ostream* os)
{
    *os << c.version.major << "." << c.version.minor;
}

class WindowsVersionCheck : public ::testing::TestWithParam<VersionCase> {};

TEST_P(WindowsVersionCheck, ComparesTheMajorNumberOnly)
{
    const VersionCase& c = GetParam();
    platform::fakes::FakePlatform fake;
    RecordingDialog dialog(fake.windows);
    ScriptedSteps steps;
    SetupThread worker(fake.services, steps);
    worker.m_hDialog = DialogWindow();
    fake.system.version = c.version;

    EXPECT_EQ(worker.IsWindows2000OrLater(), c.passes);
    std::vector<std::string> expected = {std::string("DETAIL:") + c.line};
    if (c.passes)
        expected.push_back("DETAIL:Windows 2000 or later was found");
    EXPECT_EQ(dialog.events, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, WindowsVersionCheck,
    ::testing::Values(VersionCase{{4, 0}, false, "Current Windows version = 4.0"},
                      VersionCase{{0, 0}, false, "Current Windows version = 0.0"},
                      VersionCase{{5, 0}, true, "Current Windows version = 5.0"},
                      VersionCase{{5, 1}, true, "Current Windows version = 5.1"},
                      VersionCase{{6, 1}, true, "Current Windows version = 6.1"},
                      VersionCase{{10, 0}, true, "Current Windows version = 10.0"},
                      VersionCase{{4294967295u, 4294967295u}, true,
                                  "Current Windows version = 4294967295.4294967295"}),
    [](const auto& p) {
        return "V" + std::to_string(p.param.version.major) + "_" +
               std::to_string(p.param.version.minor);
    });

TEST(Prerequisites, OnlyAnOfflineLineMeansBattery)
{
    platform::fakes::FakeSystemInfo system;
    const std::pair<std::uint8_t, bool> cases[] = {{0, false}, {1, true}, {255, true}, {2, true}};
    for (const auto& [status, onAC] : cases) {
        system.acLineStatus = status;
        EXPECT_EQ(IsOnACPower(system), onAC) << "AC line status " << int(status);
    }
    system.administrator = false;
    EXPECT_FALSE(IsAdministrator(system));
    system.administrator = true;
    EXPECT_TRUE(IsAdministrator(system));
}

} // namespace
