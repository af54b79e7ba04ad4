#include "platform/Services.h"
#include "platform/Text.h"

#include <gtest/gtest.h>

namespace {

TEST(Text, ConvertsBetweenEncodingsWithoutLoss)
{
    const std::wstring texts[] = {L"", L"Kavlo SSD", L"caf\u00E9 \u20AC", L"drive \U0001F4BE end"};
    for (const std::wstring& text : texts) {
        EXPECT_EQ(platform::FromUtf8(platform::ToUtf8(text)), text);
        EXPECT_EQ(platform::FromUtf16(platform::ToUtf16(text)), text);
    }
    EXPECT_EQ(platform::ToUtf8(L"\u00E9"), "\xC3\xA9");
    EXPECT_EQ(platform::ToUtf16(L"\U0001F4BE"), std::u16string(u"\xD83D\xDCBE"));
}

TEST(Text, WritesLittleEndianUtf16WhateverTheHost)
{
    EXPECT_EQ(platform::ToUtf16LEBytes(L"A\u20AC\r\n"), std::string("A\0\xAC\x20\r\0\n\0", 8));
}

TEST(Text, ReplacesMalformedUtf8)
{
    EXPECT_EQ(platform::FromUtf8("a\xFFz"), L"a\uFFFDz");
    EXPECT_EQ(platform::FromUtf8("\xE2\x82"), L"\uFFFD\uFFFD");
}

TEST(JoinPath, AddsOneSeparatorUnlessTheFolderEndsInOne)
{
    EXPECT_EQ(platform::JoinPath(L"C:\\", L"a.exe", L'\\'), L"C:\\a.exe");
    EXPECT_EQ(platform::JoinPath(L"C:\\Updates", L"a.exe", L'\\'), L"C:\\Updates\\a.exe");
    EXPECT_EQ(platform::JoinPath(L"C:\\Updates\\\\", L"a.exe", L'\\'), L"C:\\Updates\\\\a.exe");
    EXPECT_EQ(platform::JoinPath(L"/", L"a.exe", L'/'), L"/a.exe");
    EXPECT_EQ(platform::JoinPath(L"/srv", L"a.exe", L'/'), L"/srv/a.exe");
    EXPECT_EQ(platform::JoinPath(L"", L"a.exe", L'\\'), L"\\a.exe");
}

} // namespace
