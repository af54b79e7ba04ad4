// The real backends of the build's OS: files on disk, the working directory, window posts and
// the three prerequisite questions.
#include "platform/MessageQueue.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#ifdef _WIN32
#include "platform/win32/Win32.h"
#else
#include <fstream>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

platform::Services& Native() { return platform::NativeServices(); }

std::string ReadWhole(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class NativeFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() /
                 ("kavlo-files-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::wstring PathOf(const char* name) const { return (folder / name).wstring(); }

    fs::path folder;
};

TEST_F(NativeFiles, EachWriteIsInTheFileAndReadableWhileItIsOpen)
{
    const std::wstring path = PathOf("log.txt");
    auto file = Native().files->CreateForWriting(path);
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(file->Write("\xFF\xFE", 2));
    ASSERT_TRUE(file->Write("A\0\r\0\n\0", 6));
    // Another program reads the file while it grows.
    EXPECT_EQ(ReadWhole(path), std::string("\xFF\xFE" "A\0\r\0\n\0", 8));
    ASSERT_TRUE(file->Write("B\0", 2));
    EXPECT_EQ(ReadWhole(path).size(), 10u);
}

TEST_F(NativeFiles, CreationEmptiesAnExistingFileAndRemovalWorksWhileOpen)
{
    const std::wstring path = PathOf("log.txt");
    std::ofstream(fs::path(path), std::ios::binary) << "previous run";
    auto file = Native().files->CreateForWriting(path);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(ReadWhole(path), "");
    EXPECT_TRUE(Native().files->RemoveFile(path));
    file.reset();
    EXPECT_FALSE(fs::exists(fs::path(path)));
    EXPECT_FALSE(Native().files->RemoveFile(path));
}

TEST_F(NativeFiles, CreationInAMissingFolderFails)
{
    EXPECT_EQ(Native().files->CreateForWriting(PathOf("missing/log.txt")), nullptr);
}

TEST(NativeWorkingDirectory, IsTheProcessCurrentDirectory)
{
    const std::wstring folder = Native().files->GetWorkingDirectory();
    EXPECT_EQ(fs::path(folder), fs::current_path());
#ifdef _WIN32
    EXPECT_EQ(Native().files->PathSeparator(), L'\\');
#else
    EXPECT_EQ(Native().files->PathSeparator(), L'/');
#endif
}

TEST(NativeWindowMessages, RefusesAWindowThatDoesNotExist)
{
    EXPECT_FALSE(Native().windows->PostToWindow(nullptr, 0x8003, 0, 0));
#ifdef _WIN32
    EXPECT_FALSE(Native().windows->PostToWindow(reinterpret_cast<void*>(0x4321), 0x8003, 0, 0));
#else
    platform::MessageQueue window;
    EXPECT_TRUE(Native().windows->PostToWindow(&window, 0x8003, 0, 42));
    EXPECT_EQ(window.TryTake()->lParam, 42);
    window.Close();
    EXPECT_FALSE(Native().windows->PostToWindow(&window, 0x8003, 0, 42));
#endif
}

#ifdef _WIN32

TEST(NativeSystemInfo, AnswersUnderWindows)
{
    // Wine runs programs as an administrator of a recent Windows on AC power.
    EXPECT_TRUE(Native().system->IsAdministratorsMember());
    EXPECT_GE(Native().system->GetVersion().major, 5u);
    EXPECT_EQ(Native().system->GetACLineStatus(), platform::kACLineOnline);
}

#else

TEST(NativeSystemInfo, TheRootUserIsTheAdministrator)
{
    EXPECT_EQ(Native().system->IsAdministratorsMember(), ::geteuid() == 0);
}

TEST(NativeSystemInfo, TheVersionIsTheKernelRelease)
{
    std::string release;
    std::ifstream("/proc/sys/kernel/osrelease") >> release;
    const platform::WindowsVersion version = Native().system->GetVersion();
    EXPECT_EQ(std::to_string(version.major) + "." + std::to_string(version.minor) + ".",
              release.substr(0, release.find('.', release.find('.') + 1) + 1));
    EXPECT_GE(version.major, 3u);
}

TEST(NativeSystemInfo, ReadsTheACLineFromPowerSupplies)
{
    const struct {
        const char* machine;
        std::uint8_t status;
    } cases[] = {
        {"power-mains-online", platform::kACLineOnline},
        {"power-mains-offline", platform::kACLineOffline},
        {"power-battery-only", platform::kACLineOffline},
        {"power-usb-only", platform::kACLineUnknown},
        {"no-such-machine", platform::kACLineUnknown},
    };
    for (const auto& c : cases) {
        const std::string root = std::string(KAVLO_TESTDATA_DIR) + "/sysfs/" + c.machine;
        ::setenv("KAVLO_SYSFS_ROOT", root.c_str(), 1);
        EXPECT_EQ(Native().system->GetACLineStatus(), c.status) << c.machine;
    }
    ::unsetenv("KAVLO_SYSFS_ROOT");
}

#endif

} // namespace
