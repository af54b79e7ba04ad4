// The installer log and the report channel at their edges: where the file goes, what replaces
// it, what happens when it or the dialog is not there, and lines of any length.
#include "engine/tests/EngineFixture.h"

#include <gtest/gtest.h>

using namespace enginetest;

namespace {

class InstallerLog : public ::testing::Test {
protected:
    platform::fakes::FakePlatform fake;
    ScriptedSteps steps;
};

TEST_F(InstallerLog, ReplacesThePreviousLogInTheWorkingDirectory)
{
    const std::wstring path = L"C:\\Updates\\KavloSSDInstallerLog.txt";
    fake.files.files[path] = std::make_shared<platform::fakes::FakeFile>();
    fake.files.files[path]->bytes = "old contents";

    SetupThread worker(fake.services, steps);
    EXPECT_EQ(fake.files.removed, std::vector<std::wstring>{path});
    EXPECT_EQ(fake.files.Find(path)->bytes, LogBytes({L"Logfile opened"}));
}

TEST_F(InstallerLog, JoinsTheFolderWithOneSeparator)
{
    const struct {
        std::wstring folder;
        wchar_t separator;
        std::wstring path;
    } cases[] = {
        {L"C:\\", L'\\', L"C:\\KavloSSDInstallerLog.txt"},
        {L"C:\\Updates", L'\\', L"C:\\Updates\\KavloSSDInstallerLog.txt"},
        {L"\\\\server\\share\\", L'\\', L"\\\\server\\share\\KavloSSDInstallerLog.txt"},
        {L"/", L'/', L"/KavloSSDInstallerLog.txt"},
        {L"/srv/updates", L'/', L"/srv/updates/KavloSSDInstallerLog.txt"},
    };
    for (const auto& c : cases) {
        platform::fakes::FakePlatform local;
        local.files.workingDirectory = c.folder;
        local.files.separator = c.separator;
        SetupThread worker(local.services, steps);
        EXPECT_NE(local.files.Find(c.path), nullptr) << platform::ToUtf8(c.path);
    }
}

TEST_F(InstallerLog, ClosingWritesTheLastLine)
{
    const std::wstring path = L"C:\\Updates\\KavloSSDInstallerLog.txt";
    {
        SetupThread worker(fake.services, steps);
        EXPECT_TRUE(fake.files.Find(path)->open);
    }
    EXPECT_FALSE(fake.files.Find(path)->open);
    EXPECT_EQ(fake.files.Find(path)->bytes, LogBytes({L"Logfile opened", L"Logfile closed"}));
}

TEST_F(InstallerLog, WritesLongAndNonBasicTextWhole)
{
    const std::wstring longPath = L"executing: C:\\" + std::wstring(300, L'x') + L".exe -firmware_update";
    // U+1F4BE (a floppy disk) is a surrogate pair in UTF-16.
    const std::wstring nonBasic = L"Disk \U0001F4BE \u00E9t\u00E9";
    SetupThread worker(fake.services, steps);
    worker.Log(longPath);
    worker.Log(nonBasic);
    const std::string& bytes = fake.files.Find(L"C:\\Updates\\KavloSSDInstallerLog.txt")->bytes;
    EXPECT_EQ(bytes, LogBytes({L"Logfile opened", longPath, nonBasic}));
    EXPECT_NE(bytes.find(std::string("\x3D\xD8\xBE\xDC", 4)), std::string::npos);
}

TEST_F(InstallerLog, AFileThatCannotBeCreatedDropsLinesAndTheRunGoesOn)
{
    fake.files.refuseCreate = true;
    RecordingDialog dialog(fake.windows);
    steps.runUpdater = [](SetupThread& worker) { worker.Log(L"executing: updater"); };
    SetupThread worker(fake.services, steps);
    EXPECT_TRUE(worker.m_bLogOpen);
    RunSequence(worker);
    ASSERT_FALSE(dialog.events.empty());
    EXPECT_EQ(dialog.events.back(), "DONE");
    EXPECT_TRUE(fake.files.files.empty());
}

TEST_F(InstallerLog, AFailureIsInTheFileBeforeTheDialogCanEndTheRun)
{
    const std::wstring path = L"C:\\Updates\\KavloSSDInstallerLog.txt";
    std::string fileWhenPosted;
    fake.windows.onPost = [&](const platform::fakes::PostedMessage& posted) {
        fileWhenPosted = fake.files.Find(path)->bytes;
        TakePayload<SetupException>(posted.lParam);
    };
    SetupThread worker(fake.services, steps);
    worker.m_bSilent = true;
    fake.system.administrator = false;
    RunSequence(worker);
    EXPECT_EQ(fileWhenPosted,
              LogBytes({L"Logfile opened", L"Checking for administrator credentials...",
                        L"Exception: Admin credentials were not found."}));
}

TEST_F(InstallerLog, ReportsToAWindowThatIsGoneStillPauseAndLog)
{
    // Every post is refused: the payloads are freed by the poster (the sanitizer build checks
    // that nothing leaks), the pauses and the log are as usual.
    fake.windows.refuse = true;
    steps.runUpdater = [](SetupThread&) { throw SetupException(L"failed", 7, false); };
    SetupThread worker(fake.services, steps);
    RunSequence(worker);
    EXPECT_TRUE(fake.windows.posted.empty());
    EXPECT_EQ(fake.clock.pauses, std::vector<std::uint32_t>(9, 800));
}

TEST_F(InstallerLog, WithoutAKnownDialogNothingIsPostedButThePausesRemain)
{
    SetupThread worker(fake.services, steps);
    worker.ReportStatus(L"status");
    worker.ReportDetail(L"detail");
    worker.ReportError({L"failure", 1, true});
    EXPECT_TRUE(fake.windows.posted.empty());
    EXPECT_EQ(fake.clock.pauses, (std::vector<std::uint32_t>{800, 800}));
    EXPECT_EQ(fake.files.Find(L"C:\\Updates\\KavloSSDInstallerLog.txt")->bytes,
              LogBytes({L"Logfile opened", L"status", L"detail", L"Exception: failure"}));
}

} // namespace
