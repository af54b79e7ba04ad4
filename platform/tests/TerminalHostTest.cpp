// The POSIX backends of the program shell: the terminal's picture of a text dialog, the modal
// loop over the window's message queue, the argument vector and the restart services. The
// restart request only ever meets stand-ins: PATH holds nothing but a folder of this test's own.
#include "platform/Arguments.h"
#include "platform/Dialog.h"
#include "platform/MessageBox.h"
#include "platform/Restart.h"
#include "platform/Services.h"
#include "platform/TextTemplate.h"
#include "platform/posix/AppServices.h"
#include "platform/posix/Terminal.h"
#include "platform/posix/TerminalDialog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using platform::TextControl;
using platform::TextControlKind;

namespace {

platform::TextDialogTemplate SmallTemplate()
{
    platform::TextDialogTemplate t;
    t.id = 9101;
    t.caption = L"Caption";
    t.width = 320;
    t.height = 40;
    t.controls = {
        {11, TextControlKind::Text, L"Label:", 4, 0, 20, true, true, 0},
        {12, TextControlKind::Text, L"status", 8, 0, 200, true, true, 0},
        {13, TextControlKind::Text, L"below", 8, 8, 200, true, true, 0},
        {14, TextControlKind::RightText, L"hint", 0, 16, 320, true, true, 0},
        {platform::kCommandOk, TextControlKind::Button, L"OK", 200, 24, 40, true, true, 'o'},
        {8, TextControlKind::Button, L"Close", 260, 24, 40, true, false, 'c'},
    };
    return t;
}

TEST(TerminalDialog, DrawsTheFrameTheTextsAndTheButtonStates)
{
    const auto t = SmallTemplate();
    const auto lines = platform::posix::RenderTextDialog(t, t.controls, false);
    ASSERT_EQ(lines.size(), 8u); // top, five rows, bottom, keys
    EXPECT_EQ(lines[0].substr(0, 12), "+- Caption -");
    EXPECT_EQ(lines[0].size(), 78u);
    // The status is pushed clear of its label, and the text below it follows.
    EXPECT_EQ(lines[1].substr(0, 16), "|Label: status  ");
    EXPECT_EQ(lines[2].substr(0, 13), "|       below");
    // Right-aligned text ends at the right edge.
    EXPECT_EQ(lines[3].substr(lines[3].size() - 5), "hint|");
    EXPECT_NE(lines[4].find("[ OK ]"), std::string::npos);
    EXPECT_NE(lines[4].find("( Close )"), std::string::npos);
    EXPECT_EQ(lines[6], "+" + std::string(76, '-') + "+");
    EXPECT_EQ(lines[7], " Keys:  Enter or o = OK  Esc = Cancel");
}

TEST(TerminalDialog, HiddenTextIsNotDrawnAndAttributesMarkTheButtons)
{
    auto t = SmallTemplate();
    std::vector<TextControl> controls = t.controls;
    controls[3].visible = false;
    controls[4].enabled = false;
    controls[5].enabled = true;
    const auto plain = platform::posix::RenderTextDialog(t, controls, false);
    EXPECT_EQ(plain[3], "|" + std::string(76, ' ') + "|");
    EXPECT_NE(plain[4].find("( OK )"), std::string::npos);
    EXPECT_NE(plain[4].find("[ Close ]"), std::string::npos);
    EXPECT_EQ(plain[7], " Keys:  c = Close  Esc = Cancel");
    for (const std::string& line : plain)
        EXPECT_EQ(line.find('\x1b'), std::string::npos);
    const auto rich = platform::posix::RenderTextDialog(t, controls, true);
    EXPECT_NE(rich[4].find("\x1b[0;1;7m[ Close ]"), std::string::npos);
    EXPECT_NE(rich[4].find("\x1b[0;2m( OK )"), std::string::npos);
}

TEST(TextTemplates, AreFoundByIdAndReplacedByALaterOne)
{
    EXPECT_EQ(platform::FindTextTemplate(9199), nullptr);
    auto t = SmallTemplate();
    t.id = 9199;
    platform::RegisterTextTemplate(t);
    ASSERT_NE(platform::FindTextTemplate(9199), nullptr);
    t.caption = L"Other";
    platform::RegisterTextTemplate(t);
    EXPECT_EQ(platform::FindTextTemplate(9199)->caption, L"Other");
}

// A dialog whose worker posts from another thread; the first message ends it with its wParam.
class PostingDialog : public platform::Dialog {
public:
    explicit PostingDialog(bool hidden) : platform::Dialog(9102), m_bHidden(hidden)
    {
        OnMessage(0x8003, [this](std::uintptr_t wParam, platform::MessageParam) {
            EndDialog(static_cast<int>(wParam));
            return std::intptr_t{0};
        });
    }
    ~PostingDialog() override
    {
        if (m_worker.joinable())
            m_worker.join();
    }
    bool OnInitDialog() override
    {
        m_hWindow = Window().Handle();
        m_worker = std::thread([this] {
            platform::NativeServices().windows->PostToWindow(m_hWindow, 0x8003, 42, 0);
        });
        return true;
    }
    void OnWindowPosChanging(bool& show) override
    {
        if (m_bHidden)
            show = false;
    }
    platform::WindowHandle m_hWindow = nullptr;

private:
    bool m_bHidden;
    std::thread m_worker;
};

class TerminalHost : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (platform::posix::HasTerminal())
            GTEST_SKIP() << "needs to run without a terminal";
        auto t = SmallTemplate();
        t.id = 9102;
        platform::RegisterTextTemplate(t);
    }
    platform::DialogHost& Host() { return *platform::NativeServices().dialogs; }
};

TEST_F(TerminalHost, AHiddenDialogServesItsQueueAndEndsWithItsResult)
{
    PostingDialog dialog(true);
    EXPECT_EQ(Host().RunModal(dialog), 42);
    // The ended window refuses later posts instead of taking them into a dead loop.
    EXPECT_FALSE(platform::NativeServices().windows->PostToWindow(dialog.m_hWindow, 0x8003, 1, 0));
}

TEST_F(TerminalHost, AShownDialogWithoutATerminalCannotBeCreated)
{
    PostingDialog dialog(false);
    EXPECT_EQ(Host().RunModal(dialog), platform::kDialogCreateFailed);
}

TEST_F(TerminalHost, ADialogWithoutATemplateCannotBeCreated)
{
    class Untemplated : public platform::Dialog {
    public:
        Untemplated() : platform::Dialog(9555) {}
    } dialog;
    EXPECT_EQ(Host().RunModal(dialog), platform::kDialogCreateFailed);
}

TEST(PosixArguments, AreTheVectorOfMainReadAsUtf8)
{
    char program[] = "KavloSSDUpdate";
    char first[] = "/s";
    char second[] = "caf\xC3\xA9";
    char* argv[] = {program, first, second, nullptr};
    platform::posix::SetProcessArguments(3, argv);
    const std::vector<std::wstring> expected = {L"KavloSSDUpdate", L"/s", L"caf\u00E9"};
    EXPECT_EQ(platform::NativeServices().arguments->Get(), expected);
}

TEST(PosixRestart, OnlyRootHoldsTheShutdownPrivilege)
{
    platform::RestartServices& restart = *platform::NativeServices().restart;
    platform::PrivilegeId shutdown;
    ASSERT_TRUE(restart.LookupPrivilege(L"SeShutdownPrivilege", shutdown));
    platform::PrivilegeId unknown;
    EXPECT_FALSE(restart.LookupPrivilege(L"SeBackupPrivilege", unknown));
    const auto token = restart.OpenProcessToken();
    ASSERT_NE(token, nullptr);
    const std::uint32_t expected = ::geteuid() == 0 ? 0u : 1300u;
    for (const bool enable : {true, false}) {
        restart.AdjustPrivilege(*token, shutdown, enable);
        EXPECT_EQ(restart.LastError(), expected) << "enable " << enable;
    }
    // An identifier that names no privilege is never held.
    restart.AdjustPrivilege(*token, unknown, true);
    EXPECT_EQ(restart.LastError(), 1300u);
}

// PATH is a folder of stand-ins only, for the life of the object.
class StandInPath {
public:
    StandInPath()
    {
        m_folder = fs::temp_directory_path() / ("kavlo-restart-" + std::to_string(::getpid()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        const char* path = std::getenv("PATH");
        m_saved = path != nullptr ? path : "";
        ::setenv("PATH", m_folder.c_str(), 1);
    }
    ~StandInPath()
    {
        ::setenv("PATH", m_saved.c_str(), 1);
        fs::remove_all(m_folder);
    }
    // A command that appends its name and arguments to calls.txt and exits with the code.
    void Add(const std::string& name, int exitCode)
    {
        const fs::path file = m_folder / name;
        std::ofstream(file) << "#!/bin/sh\necho \"" << name << " $*\" >>\"" << Calls().string()
                            << "\"\nexit " << exitCode << "\n";
        fs::permissions(file, fs::perms::owner_all);
    }
    fs::path Calls() const { return m_folder / "calls.txt"; }
    std::string CallsMade() const
    {
        std::ifstream in(Calls());
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

private:
    fs::path m_folder;
    std::string m_saved;
};

TEST(PosixRestart, AsksTheServiceManagerFoundOnPath)
{
    struct Case {
        const char* name;
        bool systemctl;
        bool shutdown;
        int exitCode;
        bool result;
        const char* calls;
    };
    const Case cases[] = {
        {"systemctl first", true, true, 0, true, "systemctl reboot\n"},
        {"shutdown without systemctl", false, true, 0, true, "shutdown -r now\n"},
        {"a refusal", true, false, 1, false, "systemctl reboot\n"},
        {"neither", false, false, 0, false, ""},
    };
    for (const Case& c : cases) {
        StandInPath path;
        if (c.systemctl)
            path.Add("systemctl", c.exitCode);
        if (c.shutdown)
            path.Add("shutdown", c.exitCode);
        EXPECT_EQ(platform::NativeServices().restart->RequestRestart(), c.result) << c.name;
        EXPECT_EQ(path.CallsMade(), c.calls) << c.name;
    }
}

} // namespace

namespace {

TEST(PosixMessageBoxes, WithoutATerminalTheTextGoesToStandardError)
{
    if (platform::posix::HasTerminal())
        GTEST_SKIP() << "needs to run without a terminal";
    ::testing::internal::CaptureStderr();
    platform::NativeServices().messageBoxes->ShowWarning(nullptr, L"ERROR: caf\u00E9.");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "terminal_host_tests: ERROR: caf\xC3\xA9.\n");
}

} // namespace
