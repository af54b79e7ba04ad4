// The Linux provider answers the two queries from a fake machine tree (KAVLO_SYSFS_ROOT), through
// the same query logic as on Windows.
#include "hardware/WmiQueries.h"
#include "platform/Text.h"
#include "platform/Wmi.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace hardware;

namespace {

// Points the provider at a tree of testdata/sysfs for the life of the object.
class FakeMachine {
public:
    explicit FakeMachine(const std::string& tree)
    {
        const std::string root = std::string(KAVLO_TESTDATA_DIR) + "/sysfs/" + tree;
        ::setenv("KAVLO_SYSFS_ROOT", root.c_str(), 1);
    }
    ~FakeMachine() { ::unsetenv("KAVLO_SYSFS_ROOT"); }
    FakeMachine(const FakeMachine&) = delete;
    FakeMachine& operator=(const FakeMachine&) = delete;
};

// The query's text, or "raised: " and the exception's text.
template <class Query>
std::string Ask(Query query)
{
    WMIConnection connection(&platform::NativeWmi());
    if (!ConnectWMI(connection))
        return "no connection";
    std::string answer;
    try {
        answer = platform::ToUtf8(query(connection));
    } catch (HDWMIException failure) {
        answer = "raised: " + platform::ToUtf8(failure.m_strMessage);
    } catch (IDWMIException failure) {
        answer = "raised: " + platform::ToUtf8(failure.m_strMessage);
    }
    DisconnectWMI(connection);
    return answer;
}

TEST(SysfsWmi, AnswersBothQueriesFromTheTree)
{
    struct Case {
        const char* tree;
        std::string model;
        std::string board;
    };
    const std::string noDisk =
        "raised: An error occurred enumerating the WMI query results to get the drive model.";
    const std::string noBoard =
        "raised: An error occurred enumerating the WMI query results to get the System Id.";
    const Case cases[] = {
        // The floppy sorts first and is skipped; trailing spaces and the line end go.
        {"nvme-family-b", "KAVLO MDRVA2LT080B3Q", "4B02"},
        // The whole model from the IDENTIFY data, not the SCSI field cut to 16 characters.
        {"sata-family-a", "KAVLO MDRVA1K160B2QZ", "4b37"},
        {"usb-disk", "Generic Flash Disk", noBoard},
        {"disk-without-model", "raised: An error occurred getting the drive model from WMI.",
         "Board 4B10  "},
        // Loop, RAM, mapper, RAID and optical devices are no drive; no DMI folder, no board.
        {"no-disk", noDisk, noBoard},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.tree);
        FakeMachine machine(test.tree);
        EXPECT_EQ(Ask(GetDriveModel), test.model);
        EXPECT_EQ(Ask(GetSystemId), test.board);
    }
}

TEST(SysfsWmi, AnyOtherQueryFailsToExecute)
{
    std::unique_ptr<platform::WmiLocator> locator;
    ASSERT_EQ(platform::NativeWmi().CreateLocator(platform::kClsCtxInprocServer, locator), 0);
    std::unique_ptr<platform::WmiServices> services;
    ASSERT_EQ(locator->ConnectServer(platform::kWmiNamespace, 0, services), 0);
    std::unique_ptr<platform::WmiEnumerator> enumerator;
    EXPECT_LT(services->ExecQuery(L"WQL", L"Select * from Win32_Processor", 16, enumerator), 0);
    EXPECT_LT(services->ExecQuery(L"SQL", platform::kBaseBoardQuery, 16, enumerator), 0);
    EXPECT_LT(locator->ConnectServer(L"root\\default", 0, services), 0);
    EXPECT_FALSE(enumerator);
}

} // namespace
