// The drive and board checks over the scripted WMI: the table comparisons, what a failed query
// or connection reports, the updater selection, and the update sequence with the real checks.
#include "engine/tests/EngineFixture.h"
#include "hardware/HardwareChecks.h"
#include "hardware/SupportedHardware.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

using namespace enginetest;
using platform::fakes::FakeWmi;

namespace {

const std::wstring kRowA = hardware::kFamilyAModels[0];
const std::wstring kRowB = hardware::kFamilyBModels[0];

bool IsFamilyA(const std::wstring& model)
{
    return hardware::MatchesModelTable(model, hardware::kFamilyAModels,
                                       std::size(hardware::kFamilyAModels));
}

bool IsFamilyB(const std::wstring& model)
{
    return hardware::MatchesModelTable(model, hardware::kFamilyBModels,
                                       std::size(hardware::kFamilyBModels));
}

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text)
        c = (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
    return text;
}

int Count(const std::vector<std::string>& calls, const std::string& prefix)
{
    return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const std::string& call) {
        return call.rfind(prefix, 0) == 0;
    }));
}

const std::string kBoardQueryCall = "ExecQuery(WQL,Select * from Win32_BaseBoard,16)";
const std::string kDriveQueryCall = "ExecQuery(WQL,Select * from Win32_DiskDrive";

TEST(ModelTables, EveryRowMatchesItsOwnFamilyOnly)
{
    for (const wchar_t* row : hardware::kFamilyAModels) {
        EXPECT_EQ(std::wstring(row).size(), hardware::kModelLength);
        EXPECT_TRUE(IsFamilyA(row));
        EXPECT_FALSE(IsFamilyB(row));
    }
    for (const wchar_t* row : hardware::kFamilyBModels) {
        EXPECT_EQ(std::wstring(row).size(), hardware::kModelLength);
        EXPECT_FALSE(IsFamilyA(row));
        EXPECT_TRUE(IsFamilyB(row));
    }
}

TEST(ModelTables, OnlyTheFirstTwentyCharactersCountAndNothingIsTrimmed)
{
    struct Case {
        std::wstring model;
        bool matches;
    };
    std::wstring changed = kRowA;
    changed[19] = L'Y';
    const std::vector<Case> cases = {
        {kRowA, true},
        {kRowA + L" ATA Device", true},
        {kRowA + L"X", true},
        {kRowA + L" SCSI Disk Device", true},
        {changed, false},
        {Lower(kRowA), false},
        {L" " + kRowA, false},
        {L" " + kRowA.substr(0, 19), false},
        {kRowA.substr(0, 19), false},
        {L"KAVLO", false},
        {L"", false},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(platform::ToUtf8(test.model));
        EXPECT_EQ(IsFamilyA(test.model), test.matches);
        EXPECT_FALSE(IsFamilyB(test.model));
    }
    EXPECT_TRUE(IsFamilyB(kRowB + L" ATA Device"));
}

TEST(BoardList, IdsAreUpperCasedThenComparedWhole)
{
    struct Case {
        std::wstring id;
        bool listed;
    };
    std::vector<Case> cases;
    for (const wchar_t* id : hardware::kListedBoards) {
        cases.push_back({id, true});
        cases.push_back({Lower(id), true});
        cases.push_back({std::wstring(id) + L" ", false});
        cases.push_back({L" " + std::wstring(id), false});
    }
    cases.push_back({L"4B0", false});
    cases.push_back({L"4B04", false});
    cases.push_back({L"4B020", false});
    cases.push_back({L"", false});
    for (const auto& test : cases) {
        SCOPED_TRACE(platform::ToUtf8(test.id));
        EXPECT_EQ(hardware::IsListedBoardId(test.id), test.listed);
    }
}

// A worker on the fake platform, to run the drive checks with.
class DriveCheck : public ::testing::Test {
protected:
    platform::fakes::FakePlatform fake;
    RecordingDialog dialog{fake.windows};
    ScriptedSteps steps;
    SetupThread worker{fake.services, steps};

    void SetUp() override { worker.m_hDialog = DialogWindow(); }

    void ExpectBalanced()
    {
        EXPECT_EQ(fake.wmi.comDepth, 0);
        EXPECT_EQ(fake.wmi.liveObjects, 0);
        EXPECT_EQ(fake.wmi.callsWithoutCom, 0);
    }
};

TEST_F(DriveCheck, ModelsOfEachFamilyAnswerTheirCheck)
{
    struct Case {
        std::wstring model;
        bool familyA;
        bool familyB;
    };
    const std::vector<Case> cases = {
        {kRowA, true, false},
        {kRowB, false, true},
        {std::wstring(hardware::kFamilyBModels[5]) + L" ATA Device", false, true},
        {Lower(kRowA), false, false},
        {L"Wine Disk Drive", false, false},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(platform::ToUtf8(test.model));
        fake.wmi.SetDriveModel(test.model);
        EXPECT_EQ(hardware::CheckFamilyADrive(worker), test.familyA);
        EXPECT_EQ(hardware::CheckFamilyBDrive(worker), test.familyB);
    }
    EXPECT_TRUE(dialog.events.empty());
    // One connection per check.
    EXPECT_EQ(fake.wmi.connections, 2 * static_cast<int>(cases.size()));
    ExpectBalanced();
}

TEST_F(DriveCheck, FailedQueryIsReportedAs103AndAnswersFalse)
{
    fake.wmi.DriveQuery().execResult = platform::kWmiFailed;
    EXPECT_FALSE(hardware::CheckFamilyADrive(worker));
    fake.wmi.DriveQuery().execResult = platform::kWmiOk;
    fake.wmi.DriveQuery().objects.clear();
    EXPECT_FALSE(hardware::CheckFamilyBDrive(worker));
    const std::vector<std::string> expected = {
        "ERROR:103:1:An error occurred while checking the hard drive model. "
        "An error occurred executing the WMI query to get the drive model.",
        "ERROR:103:1:An error occurred while checking the hard drive model. "
        "An error occurred enumerating the WMI query results to get the drive model.",
    };
    EXPECT_EQ(dialog.events, expected);
    ExpectBalanced();
}

TEST_F(DriveCheck, FailedConnectionIsReportedAs103AndAnswersFalse)
{
    fake.wmi.SetDriveModel(kRowA);
    fake.wmi.connectResult = platform::WmiCode(0x8004100E);
    EXPECT_FALSE(hardware::CheckFamilyADrive(worker));
    const std::vector<std::string> expected = {
        "ERROR:103:1:An error occurred while checking the hard drive model. "
        "An error occurred connecting to WMI to get the drive model.",
    };
    EXPECT_EQ(dialog.events, expected);
    EXPECT_EQ(Count(fake.wmi.calls, kDriveQueryCall), 0);
    ExpectBalanced();
}

TEST_F(DriveCheck, ServicesWithoutWmiFailLikeAFailedConnection)
{
    fake.services.wmi = nullptr;
    EXPECT_FALSE(hardware::CheckFamilyBDrive(worker));
    EXPECT_EQ(dialog.events.size(), 1u);
    EXPECT_FALSE(hardware::IsListedBoard(fake.services));
}

TEST(BoardCheck, AnswersFromTheBoardIdAndSwallowsEveryFailure)
{
    struct Case {
        const char* name;
        std::function<void(FakeWmi&)> script;
        bool listed;
    };
    const std::vector<Case> cases = {
        {"listed", [](FakeWmi& w) { w.SetBoardProduct(L"4B37"); }, true},
        {"listed in lower case", [](FakeWmi& w) { w.SetBoardProduct(L"4b10"); }, true},
        {"listed with a space", [](FakeWmi& w) { w.SetBoardProduct(L"4B10 "); }, false},
        {"unlisted", [](FakeWmi& w) { w.SetBoardProduct(L"8A12"); }, false},
        {"no board", [](FakeWmi& w) { w.BoardQuery().objects.clear(); }, false},
        {"query fails",
         [](FakeWmi& w) {
             w.SetBoardProduct(L"4B02");
             w.BoardQuery().execResult = platform::kWmiFailed;
         },
         false},
        {"connection fails",
         [](FakeWmi& w) {
             w.SetBoardProduct(L"4B02");
             w.createResult = platform::WmiCode(0x80040154);
         },
         false},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        platform::fakes::FakePlatform fake;
        test.script(fake.wmi);
        EXPECT_EQ(hardware::IsListedBoard(fake.services), test.listed);
        EXPECT_TRUE(fake.windows.posted.empty());
        EXPECT_EQ(fake.wmi.comDepth, 0);
        EXPECT_EQ(fake.wmi.liveObjects, 0);
    }
}

TEST(UpdaterChoice, FamilyAAsksTheBoardAndFamilyBNeverDoes)
{
    enum class Board { Listed, Unlisted, QueryFails };
    struct Case {
        bool familyA;
        bool familyB;
        Board board;
        std::wstring file;
        int boardQueries;
    };
    const std::vector<Case> cases = {
        {true, false, Board::Listed, L"sorvid_qz_2.3.1_2m6.exe", 1},
        {true, true, Board::Listed, L"sorvid_qz_2.3.1_2m6.exe", 1},
        {true, false, Board::Unlisted, L"sorvid_qz_2.3.2_2m3.exe", 1},
        {true, true, Board::Unlisted, L"sorvid_qz_2.3.2_2m3.exe", 1},
        {true, false, Board::QueryFails, L"sorvid_qz_2.3.2_2m3.exe", 1},
        {false, true, Board::Listed, L"sorvid_qz_2.1.0.exe", 0},
        {false, true, Board::QueryFails, L"sorvid_qz_2.1.0.exe", 0},
        {false, false, Board::Listed, L"", 0},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(std::to_string(&test - cases.data()));
        platform::fakes::FakePlatform fake;
        fake.wmi.SetBoardProduct(test.board == Board::Unlisted ? L"4B04" : L"4B25");
        if (test.board == Board::QueryFails)
            fake.wmi.BoardQuery().nextResult = platform::kWmiFailed;
        const std::wstring file = hardware::ChooseUpdaterFileName(
            test.familyA, test.familyB, [&] { return hardware::IsListedBoard(fake.services); });
        EXPECT_EQ(file, test.file);
        EXPECT_EQ(Count(fake.wmi.calls, kBoardQueryCall), test.boardQueries);
        EXPECT_EQ(Count(fake.wmi.calls, "CoInitializeEx"), test.boardQueries);
    }
}

// The update sequence with the real drive checks; the updater step only records its choice.
class RealDriveSteps final : public UpdateSteps {
public:
    bool CheckFamilyADrive(SetupThread& worker) override { return hardware::CheckFamilyADrive(worker); }
    bool CheckFamilyBDrive(SetupThread& worker) override { return hardware::CheckFamilyBDrive(worker); }
    void RunUpdater(SetupThread& worker) override
    {
        chosen.push_back(hardware::ChooseUpdaterFileName(
            worker.m_bFamilyA, worker.m_bFamilyB,
            [&] { return hardware::IsListedBoard(worker.GetServices()); }));
    }
    void RestartWindows(SetupThread&) override {}

    std::vector<std::wstring> chosen;
};

struct SequenceCase {
    const char* name;
    std::function<void(FakeWmi&)> script;
    std::vector<std::string> driveEvents; // what reaches the dialog after "Checking hard drive model..."
    std::vector<std::wstring> chosen;
};

TEST(SequenceWithRealChecks, DriveAnswersDecideWhetherAndWhichUpdaterRuns)
{
    const std::string execFailure =
        "ERROR:103:1:An error occurred while checking the hard drive model. "
        "An error occurred executing the WMI query to get the drive model.";
    const std::vector<SequenceCase> cases = {
        {"both drive queries fail",
         [](FakeWmi& w) { w.DriveQuery().execResult = platform::kWmiFailed; },
         {execFailure, execFailure, "ERROR:104:0:This hard disk model is not supported."},
         {}},
        {"unsupported drive", [](FakeWmi& w) { w.SetDriveModel(L"Wine Disk Drive"); },
         {"ERROR:104:0:This hard disk model is not supported."}, {}},
        {"family B", [](FakeWmi& w) { w.SetDriveModel(kRowB + L" ATA Device"); },
         {"DETAIL:A supported hard disk was found", "DONE"}, {L"sorvid_qz_2.1.0.exe"}},
        {"family A on a listed board",
         [](FakeWmi& w) {
             w.SetDriveModel(kRowA);
             w.SetBoardProduct(L"4b36");
         },
         {"DETAIL:A supported hard disk was found", "DONE"}, {L"sorvid_qz_2.3.1_2m6.exe"}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        platform::fakes::FakePlatform fake;
        RecordingDialog dialog(fake.windows);
        RealDriveSteps steps;
        test.script(fake.wmi);
        {
            SetupThread worker(fake.services, steps);
            RunSequence(worker);
        }
        const auto start =
            std::find(dialog.events.begin(), dialog.events.end(), "STATUS:Checking hard drive model...");
        ASSERT_NE(start, dialog.events.end());
        EXPECT_EQ(std::vector<std::string>(start + 1, dialog.events.end()), test.driveEvents);
        EXPECT_EQ(steps.chosen, test.chosen);
        EXPECT_EQ(Count(fake.wmi.calls, kDriveQueryCall), 2);
        const bool familyA = test.chosen.size() == 1 && test.chosen[0] != L"sorvid_qz_2.1.0.exe";
        EXPECT_EQ(Count(fake.wmi.calls, kBoardQueryCall), familyA ? 1 : 0);
        EXPECT_EQ(fake.wmi.comDepth, 0);
        EXPECT_EQ(fake.wmi.liveObjects, 0);
    }
}

} // namespace
