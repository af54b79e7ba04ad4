#include "app/CommandLine.h"
#include "platform/Arguments.h"
#include "platform/Text.h"

#include <gtest/gtest.h>

namespace {

struct OptionsCase {
    std::vector<std::wstring> arguments;
    bool restart;
    bool silent;
};

class CommandLineOptions : public ::testing::TestWithParam<OptionsCase> {};

TEST_P(CommandLineOptions, SetsExactlyTheOptionsGiven)
{
    std::vector<std::wstring> argv{L"KavloSSDUpdateWin.exe"};
    argv.insert(argv.end(), GetParam().arguments.begin(), GetParam().arguments.end());
    CommandLine commandLine;
    platform::ParseCommandLine(argv, commandLine);
    EXPECT_EQ(commandLine.m_bRestart, GetParam().restart);
    EXPECT_EQ(commandLine.m_bSilent, GetParam().silent);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineOptions,
    ::testing::Values(OptionsCase{{}, false, false}, OptionsCase{{L"r"}, true, false},
                      OptionsCase{{L"/r"}, true, false}, OptionsCase{{L"-r"}, true, false},
                      OptionsCase{{L"s"}, false, true}, OptionsCase{{L"/s"}, false, true},
                      OptionsCase{{L"-s"}, false, true}, OptionsCase{{L"R"}, false, false},
                      OptionsCase{{L"/S"}, false, false}, OptionsCase{{L"rs"}, false, false},
                      OptionsCase{{L"/rs"}, false, false}, OptionsCase{{L"//r"}, false, false},
                      OptionsCase{{L"--s"}, false, false}, OptionsCase{{L"-/s"}, false, false},
                      OptionsCase{{L"restart"}, false, false},
                      OptionsCase{{L"/silent"}, false, false},
                      OptionsCase{{L"/s", L"/r"}, true, true},
                      OptionsCase{{L"-r", L"s"}, true, true},
                      OptionsCase{{L"/r", L"/r", L"-r"}, true, false},
                      OptionsCase{{L"/s", L"x", L"/s"}, false, true},
                      OptionsCase{{L"/r", L"R"}, true, false},
                      OptionsCase{{L""}, false, false}, OptionsCase{{L"/"}, false, false}));

struct Call {
    std::wstring param;
    bool isFlag;
    bool isLast;
};

class RecordingInfo final : public platform::CommandLineInfo {
public:
    void ParseParam(const wchar_t* param, bool isFlag, bool isLast) override
    {
        calls.push_back({param, isFlag, isLast});
    }
    std::vector<Call> calls;
};

TEST(CommandLineParse, RemovesOneLeadingMarkAndSkipsTheProgramName)
{
    RecordingInfo info;
    platform::ParseCommandLine({L"C:\\Tools\\-r.exe", L"/r", L"--s", L"file name", L"-"}, info);
    ASSERT_EQ(info.calls.size(), 4u);
    EXPECT_EQ(info.calls[0].param, L"r");
    EXPECT_TRUE(info.calls[0].isFlag);
    EXPECT_EQ(info.calls[1].param, L"-s");
    EXPECT_TRUE(info.calls[1].isFlag);
    EXPECT_EQ(info.calls[2].param, L"file name");
    EXPECT_FALSE(info.calls[2].isFlag);
    EXPECT_EQ(info.calls[3].param, L"");
    EXPECT_TRUE(info.calls[3].isFlag);
    EXPECT_FALSE(info.calls[0].isLast);
    EXPECT_TRUE(info.calls[3].isLast);
}

} // namespace
