#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>

#include "hosts/HostsStore.h"
#include "platform/Win32Platform.h"
#include "support/Win32TempFolder.h"

// Files a hosts file should never be, read and written through the real
// store: each loads in bounded time without a failure, and a valid code page
// 936 file comes back from a load and a save byte for byte, plus the one
// CR LF the save adds.
namespace quenlix {
namespace {

using namespace std::string_literals;
using testing::ReadBytes;
using testing::Win32TempFolder;
using testing::WriteBytes;

struct Win32HostileFilesTest : ::testing::Test {
    std::u16string Load(const std::string& bytes) {
        WriteBytes(folder / L"hosts", bytes);
        return ReadHostsText(platform, folder.U16(L"hosts"));
    }
    std::string LoadAndSave(const std::string& bytes) {
        const std::u16string text = Load(bytes);
        OverwriteHostsText(platform, folder.U16(L"hosts"), text);
        return ReadBytes(folder / L"hosts");
    }

    Win32TempFolder folder;
    Win32Platform platform;
};

TEST_F(Win32HostileFilesTest, ValidCodePage936WithCrLfComesBackWhole) {
    const std::string bytes = "# \xB1\xBE\xBB\xFA\r\n127.0.0.1 localhost\r\n\r\n0.0.0.0 \xB9\xE3\xB8\xE6.example # \xD6\xD0\r\n";
    EXPECT_EQ(LoadAndSave(bytes), bytes);
}

TEST_F(Win32HostileFilesTest, LineEndsOfEveryKindGiveTheLineRule) {
    EXPECT_EQ(Load("\r\r\r"), u"\r\n\r\n\r\n");
    EXPECT_EQ(Load("\n\n\n"), u"\n\n\n\r\n");
    EXPECT_EQ(Load("a\rb\nc\r\nd"), u"a\r\nb\nc\r\nd\r\n");
}

TEST_F(Win32HostileFilesTest, BytesOutsideTheCodePageLoadAndKeepTheirLines) {
    const std::u16string text = Load("a \x81\r\n\xFF\xFF\r\nb \x80\x20\r\n");
    EXPECT_EQ(text.substr(0, 2), u"a ");
    EXPECT_EQ(std::count(text.begin(), text.end(), u'\n'), 3);
    EXPECT_EQ(text.substr(text.size() - 2), u"\r\n");
}

// Marks decide; without one, strict UTF-8 with a byte of 0x80 or more is
// UTF-8, even where the bytes would also be valid code page 936 text; the
// rest is code page 936, never a failure.
TEST_F(Win32HostileFilesTest, EachEncodingLoadsAsItsOwnText) {
    EXPECT_EQ(Load("\xEF\xBB\xBF" "127.0.0.1 \xE4\xB8\xAD\r\n"), u"127.0.0.1 中\r\n");
    EXPECT_EQ(Load("127.0.0.1 \xE4\xB8\xAD\r\n"), u"127.0.0.1 中\r\n");
    EXPECT_EQ(Load("\xFF\xFE" "a\0\r\0\n\0-N\r\0\n\0"s), u"a\r\n中\r\n");
    EXPECT_EQ(Load("\xFE\xFF" "\0a\0\r\0\nN-\0\r\0\n"s), u"a\r\n中\r\n");
    EXPECT_EQ(Load("# \xC2\xA1\r\n"), u"# \u00A1\r\n") << "valid in both: UTF-8";
    EXPECT_EQ(Load("# \xD6\xD0\r\n"), u"# 中\r\n") << "code page 936";
    const std::u16string utf16 = Load("a\0\r\0\n\0b\0\r\0\n\0"s);
    EXPECT_NE(utf16.find(u'\0'), std::u16string::npos) << "UTF-16 without a mark is code page 936, NULs kept";
}

TEST_F(Win32HostileFilesTest, NulBytesSurviveALoadAndASave) {
    const std::string bytes = "0.0.0.0 a\0b\r\n\0\0\r\n"s;
    EXPECT_EQ(LoadAndSave(bytes), bytes);
}

TEST_F(Win32HostileFilesTest, HugeFilesAndLinesLoadInBoundedTime) {
    std::string line(10'000'000, 'a');
    std::string many;
    many.reserve(100'000'000);
    while (many.size() < 100'000'000) many += "0.0.0.0 ads.example.com # \xB9\xE3\xB8\xE6\r\n";
    for (const std::string* bytes : {&line, &many}) {
        const auto start = std::chrono::steady_clock::now();
        const std::u16string text = Load(*bytes);
        const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_LT(seconds, 30.0);
        EXPECT_EQ(text.substr(text.size() - 2), u"\r\n");
    }
    EXPECT_EQ(LoadAndSave(many), many);
}

}  // namespace
}  // namespace quenlix
