// The queries on the real WMI service of Windows (Wine's, in the win64 tests). Each connection
// costs a COM start and a WMI connection, so this file makes as few as it can.
#include "hardware/WmiQueries.h"
#include "platform/Text.h"
#include "platform/Wmi.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

using namespace hardware;

namespace {

// The native provider, with the answers of its COM initialisation and security calls noted.
class RecordingWmi final : public platform::Wmi {
public:
    platform::WmiResult InitializeCom(std::uint32_t model) override
    {
        return m_native.InitializeCom(model);
    }
    void UninitializeCom() override { m_native.UninitializeCom(); }
    platform::WmiResult InitializeSecurity(std::int32_t services, std::uint32_t level,
                                           std::uint32_t impersonation,
                                           std::uint32_t capabilities) override
    {
        security.push_back(m_native.InitializeSecurity(services, level, impersonation, capabilities));
        return security.back();
    }
    platform::WmiResult CreateLocator(std::uint32_t context,
                                      std::unique_ptr<platform::WmiLocator>& locator) override
    {
        return m_native.CreateLocator(context, locator);
    }

    std::vector<platform::WmiResult> security;

private:
    platform::Wmi& m_native = platform::NativeWmi();
};

TEST(NativeWmi, TwoConnectionsInARowAnswerTheDriveAndTheBoard)
{
    RecordingWmi wmi;

    WMIConnection first(&wmi);
    ASSERT_TRUE(ConnectWMI(first));
    std::wstring model;
    EXPECT_NO_THROW(model = GetDriveModel(first));
    DisconnectWMI(first);
    EXPECT_FALSE(model.empty());
    std::printf("drive model: \"%s\"\n", platform::ToUtf8(model).c_str());

    // The second connection goes on with the security the first one set.
    WMIConnection second(&wmi);
    ASSERT_TRUE(ConnectWMI(second));
    try {
        std::printf("system id: \"%s\"\n", platform::ToUtf8(GetSystemId(second)).c_str());
    } catch (IDWMIException failure) {
        EXPECT_FALSE(failure.m_strMessage.empty());
        std::printf("system id raised: %s\n", platform::ToUtf8(failure.m_strMessage).c_str());
    }
    DisconnectWMI(second);

    // Windows refuses the second security call with RPC_E_TOO_LATE; Wine's accepts every call.
    ASSERT_EQ(wmi.security.size(), 2u);
    EXPECT_TRUE(wmi.security[1] == platform::kWmiSecurityTooLate || wmi.security[1] == platform::kWmiOk)
        << wmi.security[1];

    // COM is no longer initialised on this thread: a single-threaded start would otherwise be
    // refused with RPC_E_CHANGED_MODE.
    constexpr std::uint32_t kApartmentThreaded = 2;
    EXPECT_EQ(wmi.InitializeCom(kApartmentThreaded), platform::kWmiOk);
    wmi.UninitializeCom();
}

} // namespace
