// The query logic on the scripted WMI: the calls and values of a connection, what a failed
// connection undoes, and which exception with which text each failed query step raises.
#include "hardware/WmiQueries.h"
#include "platform/Text.h"
#include "platform/fakes/FakeWmi.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace hardware;
using platform::fakes::FakeWmi;
using platform::fakes::FakeWmiQuery;

namespace {

const std::string kDriveQueryCall =
    "ExecQuery(WQL,Select * from Win32_DiskDrive Where DeviceID = '\\\\\\\\.\\\\PhysicalDrive0',16)";

// COM is back where it was, nothing is left unreleased and nothing ran without COM.
void ExpectBalanced(const FakeWmi& wmi)
{
    EXPECT_EQ(wmi.comDepth, 0);
    EXPECT_EQ(wmi.liveObjects, 0);
    EXPECT_EQ(wmi.callsWithoutCom, 0);
}

TEST(WmiQueries, DriveQueryTextHoldsPhysicalDriveZeroWithDoubledBackslashes)
{
    const std::wstring query = platform::kDiskDrive0Query;
    EXPECT_EQ(query.size(), 70u);
    EXPECT_NE(query.find(L"'\\\\\\\\.\\\\PhysicalDrive0'"), std::wstring::npos);
    EXPECT_EQ(std::wstring(platform::kWmiNamespace).size(), 10u);
}

TEST(WmiQueries, OneDriveQueryMakesTheCallsInOrderWithTheirValues)
{
    FakeWmi wmi;
    wmi.SetDriveModel(L"KAVLO MDRVA1K080B2QZ");
    {
        WMIConnection connection(&wmi);
        ASSERT_TRUE(ConnectWMI(connection));
        EXPECT_TRUE(connection.m_pLocator);
        EXPECT_TRUE(connection.m_pServices);
        EXPECT_EQ(GetDriveModel(connection), L"KAVLO MDRVA1K080B2QZ");
        DisconnectWMI(connection);
        EXPECT_FALSE(connection.m_pLocator);
        EXPECT_FALSE(connection.m_pServices);
    }
    const std::vector<std::string> expected = {
        "CoInitializeEx(0)",
        "CoInitializeSecurity(-1,0,3,0)",
        "CoCreateInstance(1)",
        "ConnectServer(root\\CIMV2,0)",
        "CoSetProxyBlanket(10,0,3,3,0)",
        kDriveQueryCall,
        "Reset",
        "Next(4294967295,1)",
        "Get(Model,0)",
        "Release(value)",
        "Release(object)",
        "Release(enumerator)",
        "Release(services)",
        "Release(locator)",
        "CoUninitialize",
    };
    EXPECT_EQ(wmi.calls, expected);
    ExpectBalanced(wmi);
}

// A connection step that answers a failure code; positive statuses pass every step.
struct ConnectCase {
    const char* name;
    std::function<void(FakeWmi&)> script;
    bool connects;
    std::vector<std::string> tail; // the calls from the failing step on
};

TEST(WmiQueries, ConnectionFailureUndoesWhatItAcquired)
{
    const std::vector<ConnectCase> cases = {
        {"CoInitializeEx fails", [](FakeWmi& w) { w.initializeResult = platform::WmiCode(0x80010106); },
         false, {"CoInitializeEx(0)"}},
        {"CoInitializeEx says already initialised",
         [](FakeWmi& w) { w.initializeResult = platform::kWmiFalse; }, true, {}},
        {"security fails", [](FakeWmi& w) { w.securityResult = platform::WmiCode(0x80070005); },
         false, {"CoInitializeSecurity(-1,0,3,0)", "CoUninitialize"}},
        {"security already set", [](FakeWmi& w) { w.securitySet = true; }, true, {}},
        {"security positive status", [](FakeWmi& w) { w.securityResult = platform::kWmiFalse; }, true, {}},
        {"locator fails", [](FakeWmi& w) { w.createResult = platform::WmiCode(0x80040154); },
         false, {"CoCreateInstance(1)", "CoUninitialize"}},
        {"connect fails", [](FakeWmi& w) { w.connectResult = platform::WmiCode(0x8004100E); },
         false, {"ConnectServer(root\\CIMV2,0)", "Release(locator)", "CoUninitialize"}},
        {"connect positive status", [](FakeWmi& w) { w.connectResult = platform::kWmiFalse; }, true, {}},
        {"proxy blanket fails", [](FakeWmi& w) { w.blanketResult = platform::WmiCode(0x80070005); },
         false, {"CoSetProxyBlanket(10,0,3,3,0)", "Release(services)", "Release(locator)", "CoUninitialize"}},
        {"proxy blanket positive status", [](FakeWmi& w) { w.blanketResult = platform::kWmiFalse; },
         true, {}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        FakeWmi wmi;
        WMIConnection connection(&wmi);
        test.script(wmi);
        EXPECT_EQ(ConnectWMI(connection), test.connects);
        if (test.connects) {
            EXPECT_EQ(wmi.comDepth, 1);
            DisconnectWMI(connection);
            EXPECT_EQ(wmi.calls.back(), "CoUninitialize");
        } else {
            EXPECT_FALSE(connection.m_pLocator);
            EXPECT_FALSE(connection.m_pServices);
            ASSERT_GE(wmi.calls.size(), test.tail.size());
            const std::vector<std::string> tail(wmi.calls.end() - static_cast<long>(test.tail.size()),
                                                wmi.calls.end());
            EXPECT_EQ(tail, test.tail);
        }
        ExpectBalanced(wmi);
        // The next connection starts from scratch.
        wmi = FakeWmi();
        WMIConnection next(&wmi);
        EXPECT_TRUE(ConnectWMI(next));
        DisconnectWMI(next);
        ExpectBalanced(wmi);
    }
}

TEST(WmiQueries, SecondConnectionGoesOnWithTheSecuritySetByTheFirst)
{
    FakeWmi wmi;
    wmi.SetDriveModel(L"first");
    for (int connection = 0; connection < 2; ++connection) {
        WMIConnection wmiConnection(&wmi);
        ASSERT_TRUE(ConnectWMI(wmiConnection)) << connection;
        EXPECT_EQ(GetDriveModel(wmiConnection), L"first");
        DisconnectWMI(wmiConnection);
    }
    EXPECT_TRUE(wmi.securitySet);
    EXPECT_EQ(wmi.connections, 2);
    ExpectBalanced(wmi);
}

TEST(WmiQueries, NoProviderNeverConnects)
{
    WMIConnection connection(nullptr);
    EXPECT_FALSE(ConnectWMI(connection));
    DisconnectWMI(connection);
}

TEST(WmiQueries, AConnectionLeftOpenIsClosedWithItsRecord)
{
    FakeWmi wmi;
    {
        WMIConnection connection(&wmi);
        ASSERT_TRUE(ConnectWMI(connection));
    }
    ExpectBalanced(wmi);
    EXPECT_EQ(wmi.calls.back(), "CoUninitialize");
}

TEST(WmiQueries, DisconnectingTwiceUninitialisesOnce)
{
    FakeWmi wmi;
    WMIConnection connection(&wmi);
    ASSERT_TRUE(ConnectWMI(connection));
    DisconnectWMI(connection);
    DisconnectWMI(connection);
    ExpectBalanced(wmi);
}

// Which query and step fails, how, and what is raised.
enum class Step { ExecQuery, Reset, Next, Get };
enum class Query { DriveModel, SystemId };

struct QueryFailureCase {
    Query query;
    Step step;
    platform::WmiResult result;
    const char* text;
};

// What one query gave: its text, or the type and text of what it raised.
struct Outcome {
    enum class Kind { Returned, HDWMI, IDWMI };
    Kind kind = Kind::Returned;
    std::string text;
};

Outcome RunQuery(Query query, WMIConnection& connection)
{
    try {
        const std::wstring text =
            query == Query::DriveModel ? GetDriveModel(connection) : GetSystemId(connection);
        return {Outcome::Kind::Returned, platform::ToUtf8(text)};
    } catch (HDWMIException failure) {
        return {Outcome::Kind::HDWMI, platform::ToUtf8(failure.m_strMessage)};
    } catch (IDWMIException failure) {
        return {Outcome::Kind::IDWMI, platform::ToUtf8(failure.m_strMessage)};
    }
}

Outcome::Kind FailureOf(Query query)
{
    return query == Query::DriveModel ? Outcome::Kind::HDWMI : Outcome::Kind::IDWMI;
}

TEST(WmiQueries, EachFailedStepRaisesItsQuerysExceptionWithItsText)
{
    const char* const driveExec = "An error occurred executing the WMI query to get the drive model.";
    const char* const driveEnum =
        "An error occurred enumerating the WMI query results to get the drive model.";
    const char* const driveGet = "An error occurred getting the drive model from WMI.";
    const char* const idExec = "An error occurred executing the WMI query to get the System Id.";
    const char* const idEnum =
        "An error occurred enumerating the WMI query results to get the System Id.";
    const char* const idGet = "An error occurred getting the System Id from WMI.";
    const platform::WmiResult failed = platform::kWmiFailed;
    const platform::WmiResult positive = platform::kWmiFalse;

    std::vector<QueryFailureCase> cases;
    for (Query query : {Query::DriveModel, Query::SystemId}) {
        const bool drive = query == Query::DriveModel;
        for (platform::WmiResult result : {failed, positive}) {
            cases.push_back({query, Step::ExecQuery, result, drive ? driveExec : idExec});
            cases.push_back({query, Step::Reset, result, drive ? driveEnum : idEnum});
            cases.push_back({query, Step::Next, result, drive ? driveEnum : idEnum});
            cases.push_back({query, Step::Get, result, drive ? driveGet : idGet});
        }
    }
    for (const auto& test : cases) {
        SCOPED_TRACE(std::string(test.query == Query::DriveModel ? "drive model" : "system id") +
                     ", step " + std::to_string(static_cast<int>(test.step)) + ", result " +
                     std::to_string(test.result));
        FakeWmi wmi;
        wmi.SetDriveModel(L"KAVLO MDRVA1K080B2QZ");
        wmi.SetBoardProduct(L"4B02");
        FakeWmiQuery& query = test.query == Query::DriveModel ? wmi.DriveQuery() : wmi.BoardQuery();
        switch (test.step) {
        case Step::ExecQuery: query.execResult = test.result; break;
        case Step::Reset: query.resetResult = test.result; break;
        case Step::Next: query.nextResult = test.result; break;
        case Step::Get: query.getResult = test.result; break;
        }
        {
            WMIConnection connection(&wmi);
            ASSERT_TRUE(ConnectWMI(connection));
            const Outcome outcome = RunQuery(test.query, connection);
            EXPECT_EQ(outcome.kind, FailureOf(test.query));
            EXPECT_EQ(outcome.text, test.text);
            DisconnectWMI(connection);
        }
        ExpectBalanced(wmi);
    }
}

// What a successful Get hands back, and what comes of it.
struct ValueCase {
    const char* name;
    std::vector<platform::fakes::FakeWmiObject> objects;
    Outcome::Kind kind;
    std::string text;
};

TEST(WmiQueries, ValueOfTheFirstObjectBecomesTheText)
{
    const auto returned = Outcome::Kind::Returned;
    const auto raised = Outcome::Kind::IDWMI;
    const std::string getFailure = "An error occurred getting the System Id from WMI.";
    const std::vector<ValueCase> cases = {
        {"trailing spaces and lower case are kept", {{{L"Product", {platform::kVtBstr, L"4b02  ", 0}}}},
         returned, "4b02  "},
        {"first of several objects",
         {{{L"Product", {platform::kVtBstr, L"FIRST", 0}}}, {{L"Product", {platform::kVtBstr, L"SECOND", 0}}}},
         returned, "FIRST"},
        {"non-string value is converted", {{{L"Product", {platform::kVtI4, L"1234", 0}}}}, returned, "1234"},
        {"empty string", {{{L"Product", {platform::kVtBstr, L"", 0}}}}, returned, ""},
        {"null value", {{{L"Product", {platform::kVtNull, L"", 0}}}}, raised, getFailure},
        {"empty variant", {{{L"Product", {platform::kVtEmpty, L"", 0}}}}, raised, getFailure},
        {"value that cannot be converted",
         {{{L"Product", {platform::kVtI4, L"", platform::kWmiTypeMismatch}}}}, raised, getFailure},
        {"conversion with a positive status",
         {{{L"Product", {platform::kVtI4, L"7", platform::kWmiFalse}}}}, raised, getFailure},
        {"property missing", {{{L"Name", {platform::kVtBstr, L"x", 0}}}}, raised, getFailure},
        {"no object at all", {}, raised,
         "An error occurred enumerating the WMI query results to get the System Id."},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        FakeWmi wmi;
        wmi.BoardQuery().objects = test.objects;
        {
            WMIConnection connection(&wmi);
            ASSERT_TRUE(ConnectWMI(connection));
            const Outcome outcome = RunQuery(Query::SystemId, connection);
            EXPECT_EQ(outcome.kind, test.kind);
            EXPECT_EQ(outcome.text, test.text);
            DisconnectWMI(connection);
        }
        ExpectBalanced(wmi);
    }
}

TEST(WmiQueries, NoPhysicalDriveZeroRaisesTheEnumerationFailureNotAnEmptyText)
{
    FakeWmi wmi;
    wmi.DriveQuery().objects.clear();
    WMIConnection connection(&wmi);
    ASSERT_TRUE(ConnectWMI(connection));
    const Outcome outcome = RunQuery(Query::DriveModel, connection);
    EXPECT_EQ(outcome.kind, Outcome::Kind::HDWMI);
    EXPECT_EQ(outcome.text,
              "An error occurred enumerating the WMI query results to get the drive model.");
    DisconnectWMI(connection);
    ExpectBalanced(wmi);
}

} // namespace
