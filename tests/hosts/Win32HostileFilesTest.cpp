#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>

#include "hosts/HostsFileReader.h"
#include "hosts/HostsStore.h"
#include "hosts/ReferenceLineRule.h"
#include "platform/Win32Platform.h"
#include "support/ShippedWrites.h"
#include "support/Win32TempFolder.h"

// Files a hosts file should never be, read and written through the real
// store: each loads in bounded time without a failure, and comes back from a
// load and a save with no edit byte for byte, in every encoding, with the
// real code page 936.
namespace quenlix {
namespace {

using namespace std::string_literals;
using testing::ReadBytes;
using testing::Win32TempFolder;
using testing::WriteBytes;

struct Win32HostileFilesTest : ::testing::Test {
    std::u16string Load(const std::string& bytes) {
        WriteBytes(folder / L"hosts", bytes);
        return ReadHostsFile(platform, folder.U16(L"hosts")).text;
    }
    std::string LoadAndSave(const std::string& bytes) {
        const std::u16string text = Load(bytes);
        testing::SaveText(platform, folder.U16(L"hosts"), text);
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
    EXPECT_EQ(text, u"a \xDC81\r\n\xDCFF\xDCFF\r\nb \u20AC \r\n");
}

// What a save with no edit writes of a loaded file: its mark, its text and,
// of UTF-16 of an odd size, the byte left over.
std::string Saved(Platform& platform, const HostsFile& file) {
    std::string bytes(MarkOf(file.encoding));
    bytes += EncodeText(platform, file.text, file.encoding);
    if (file.oddLastByte) bytes.push_back(*file.oddLastByte);
    return bytes;
}

std::string Utf16(std::u16string_view text, bool bigEndian) {
    std::string bytes;
    for (const char16_t c : text) {
        bytes.push_back(static_cast<char>(bigEndian ? c >> 8 : c & 0xFF));
        bytes.push_back(static_cast<char>(bigEndian ? c & 0xFF : c >> 8));
    }
    return bytes;
}

// A load and a save with no edit give back every byte of the file: its own
// where every line ends in CR LF, else with the line ends the line rule
// gives. Bytes that do not decode show as escaped bytes, in their lines.
TEST_F(Win32HostileFilesTest, ALoadAndASaveWithNoEditGiveBackEveryByte) {
    const std::u16string stock = u"127.0.0.1 localhost\r\n# 中文\r\n";
    const struct {
        std::string bytes;
        HostsEncoding encoding;
        std::u16string text;  // when given, the text the load must give
    } cases[] = {
        // "中" in UTF-8 among code page 936 text: E4 B8 is a character of
        // its own there, and AD leads nothing before CR, which stays.
        {"# \xD6\xD0\r\n\xE4\xB8\xAD\r\n0.0.0.0 a\r\n", HostsEncoding::Ansi,
         u"# 中\r\n\u6D93\xDCAD\r\n0.0.0.0 a\r\n"},
        {"\xFF# \xD6\xD0\r\n", HostsEncoding::Ansi, u"\xDCFF# 中\r\n"},
        {"a \xFF\xFF b \xD6\xD0\r\n", HostsEncoding::Ansi, u"a \xDCFF\xDCFF b 中\r\n"},
        {"\xD6\xD0\r\n\xFF", HostsEncoding::Ansi, u"中\r\n\xDCFF\r\n"},
        {"\xD6\xD0 \xD6\r\n\xD6\n", HostsEncoding::Ansi, u"中 \xDCD6\r\n\xDCD6\n\r\n"},
        {"\x81\x7F\xD6\x30\xD6\xD0\r\n", HostsEncoding::Ansi, u"\xDC81\x7F\xDCD6" u"0中\r\n"},
        {"\x80\xA2\xE3\xAA\xA1\xD6\xD0\r\n", HostsEncoding::Ansi, u"\u20AC\uE76C\uE000中\r\n"},
        {"a\0\xD6\xD0\0\r\n"s, HostsEncoding::Ansi, u"a\0中\0\r\n"s},
        {"\xE2\x90\x80 \xE4\xB8\xAD\0\r\n"s, HostsEncoding::Utf8, u"\xDCE2\xDC90\xDC80 中\0\r\n"s},
        {"\xEF\xBB\xBF\xE4\xB8\xAD\xFF\r\n\xE4\xB8\r\n", HostsEncoding::Utf8WithMark, u"中\xDCFF\r\n\xDCE4\xDCB8\r\n"},
        {"\xFF\xFE" + Utf16(stock, false) + "\r", HostsEncoding::Utf16LeWithMark, stock},
        {"\xFE\xFF" + Utf16(stock, true) + "\xDC\x80\xD8\x00\r\n"s, HostsEncoding::Utf16BeWithMark, {}},
        {Utf16(stock, false), HostsEncoding::Utf16Le, stock},
        {Utf16(stock + u"a\0\r\n"s, true), HostsEncoding::Utf16Be, stock + u"a\0\r\n"s},
    };
    for (const auto& [bytes, encoding, text] : cases) {
        WriteBytes(folder / L"hosts", bytes);
        const HostsFile read = ReadHostsFile(platform, folder.U16(L"hosts"));
        const std::string shown = ::testing::PrintToString(bytes);
        EXPECT_EQ(read.encoding, encoding) << shown;
        if (!text.empty()) {
            EXPECT_EQ(read.text, text) << shown;
        }
        EXPECT_EQ(Saved(platform, read), reference::ApplyLineRuleToBytes(bytes, MarkOf(encoding).size(),
                                                                          IsUtf16(encoding),
                                                                          encoding == HostsEncoding::Utf16BeWithMark ||
                                                                              encoding == HostsEncoding::Utf16Be))
            << shown;
    }
}

// Marks decide; without one, UTF-16 shows by its zero bytes, then strict
// UTF-8 with a byte of 0x80 or more is UTF-8, even where the bytes would also
// be valid code page 936 text; the rest is code page 936, never a failure.
TEST_F(Win32HostileFilesTest, EachEncodingLoadsAsItsOwnText) {
    EXPECT_EQ(Load("\xEF\xBB\xBF" "127.0.0.1 \xE4\xB8\xAD\r\n"), u"127.0.0.1 中\r\n");
    EXPECT_EQ(Load("127.0.0.1 \xE4\xB8\xAD\r\n"), u"127.0.0.1 中\r\n");
    EXPECT_EQ(Load("\xFF\xFE" "a\0\r\0\n\0-N\r\0\n\0"s), u"a\r\n中\r\n");
    EXPECT_EQ(Load("\xFE\xFF" "\0a\0\r\0\nN-\0\r\0\n"s), u"a\r\n中\r\n");
    EXPECT_EQ(Load("# \xC2\xA1\r\n"), u"# \u00A1\r\n") << "valid in both: UTF-8";
    EXPECT_EQ(Load("# \xD6\xD0\r\n"), u"# 中\r\n") << "code page 936";
    const std::u16string utf16 = Load("a\0\r\0\n\0b\0\r\0\n\0"s);
    EXPECT_NE(utf16.find(u'\0'), std::u16string::npos) << "too short to be told UTF-16: code page 936, NULs kept";
    EXPECT_EQ(Load("1\0.\0""1\0.\0""1\0.\0""1\0 \0""a\0\r\0\n\0-N\r\0\n\0""b\0 \0""c\0\r\0\n\0"s),
              u"1.1.1.1 a\r\n中\r\nb c\r\n")
        << "UTF-16 without a mark";
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
