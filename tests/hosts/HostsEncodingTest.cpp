#include "hosts/HostsEncoding.h"

#include <gtest/gtest.h>

#include <string>

#include "hosts/AnsiCodec.h"
#include "hosts/HostsFileReader.h"
#include "hosts/ReferenceLineRule.h"
#include "support/FakePlatform.h"

namespace quenlix {
namespace {

using namespace std::string_literals;

constexpr std::u16string_view Path = u"C:\\WINDOWS\\system32\\drivers\\etc\\hosts";

std::string Utf16(std::u16string_view text, bool bigEndian) {
    std::string bytes;
    for (const char16_t c : text) {
        const char pair[2] = {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
        bytes.push_back(pair[bigEndian ? 1 : 0]);
        bytes.push_back(pair[bigEndian ? 0 : 1]);
    }
    return bytes;
}
std::string Utf16Le(std::u16string_view text) { return Utf16(text, false); }
std::string Utf16Be(std::u16string_view text) { return Utf16(text, true); }

// What a save with no edit writes of a loaded file: its mark, its text and,
// of UTF-16 of an odd size, the byte left over.
std::string Saved(Platform& platform, const HostsFile& file) {
    std::string bytes(MarkOf(file.encoding));
    bytes += EncodeText(platform, file.text, file.encoding);
    if (file.oddLastByte) bytes.push_back(*file.oddLastByte);
    return bytes;
}

TEST(HostsEncodingTest, TheMarkDecidesAndOtherwiseStrictUtf8WithAHighByte) {
    const struct {
        std::string bytes;
        HostsEncoding expected;
    } cases[] = {
        {"", HostsEncoding::Ansi},
        {"127.0.0.1 localhost\r\n", HostsEncoding::Ansi},  // ASCII reads the same either way
        {"\xEF\xBB\xBF", HostsEncoding::Utf8WithMark},
        {"\xEF\xBB\xBF# \xD6\xD0", HostsEncoding::Utf8WithMark},  // the mark decides, whatever follows
        {"\xFF\xFE", HostsEncoding::Utf16LeWithMark},
        {"\xFE\xFF\0a"s, HostsEncoding::Utf16BeWithMark},
        {"# \xE4\xB8\xAD\xE6\x96\x87\r\n", HostsEncoding::Utf8},
        {"# \xF0\x9F\x98\x80", HostsEncoding::Utf8},                // four bytes, U+1F600
        {"# \xC2\xA1\xC2\xA1", HostsEncoding::Utf8},                // code page 936 text too: UTF-8 wins
        {"# \xD6\xD0\xCE\xC4\r\n", HostsEncoding::Ansi},            // code page 936
        {"# \xC0\xAF", HostsEncoding::Ansi},                        // overlong
        {"# \xE0\x80\xAF", HostsEncoding::Ansi},                    // overlong, three bytes
        {"# \xED\xA0\x80", HostsEncoding::Ansi},                    // a surrogate
        {"# \xF4\x90\x80\x80", HostsEncoding::Ansi},                // above U+10FFFF
        {"# \xE4\xB8", HostsEncoding::Ansi},                        // cut short at the end
        {"# \x80", HostsEncoding::Ansi},                            // a lone continuation byte
        {"\xEF\xBB", HostsEncoding::Ansi},                          // half a mark
        // UTF-16 without a mark: 16 units or more, most of them ASCII beside a zero byte.
        {Utf16Le(u"127.0.0.1 localhost\r\n"), HostsEncoding::Utf16Le},
        {Utf16Be(u"127.0.0.1 localhost\r\n"), HostsEncoding::Utf16Be},
        {Utf16Le(u"# \u5E7F\u544A\u670D\u52A1\u5668\r\n0.0.0.0 ad\r\n"), HostsEncoding::Utf16Le},  // Chinese too
        {Utf16Le(u"# \u5E7F\u544A\u670D\u52A1\u5668\u5E7F\u544A\u670D\u52A1\u5668\u5668\u5668\u5668\r\n"),
         HostsEncoding::Ansi},                                                        // mostly not ASCII
        {Utf16Le(u"::1 localhost\r\n"), HostsEncoding::Ansi},                       // 15 units: too few to tell
        {Utf16Le(u"127.0.0.1 localhost\r\n") + "x", HostsEncoding::Ansi},           // an odd size
        {"0.0.0.0 a\0b\r\n\0\0\r\n0.0.0.0 c\0\0\0\0\0\r\n"s, HostsEncoding::Ansi},    // NULs, but not in every other byte
        {"\xFF\xFE" + Utf16Be(u"127.0.0.1 localhost\r\n"), HostsEncoding::Utf16LeWithMark},  // the mark decides
    };
    for (const auto& [bytes, expected] : cases) EXPECT_EQ(DetectEncoding(bytes), expected) << bytes;
}

TEST(HostsEncodingTest, EveryEncodingGivesBackTheTextItWasGiven) {
    testing::FakePlatform platform;
    const std::u16string text = u"# 广告 \U0001F600 a\r\n0.0.0.0 b\r\n";
    for (const auto encoding : {HostsEncoding::Utf8, HostsEncoding::Utf8WithMark, HostsEncoding::Utf16LeWithMark,
                                HostsEncoding::Utf16BeWithMark}) {
        const std::string bytes = EncodeText(platform, text, encoding);
        std::u16string decoded;
        if (encoding == HostsEncoding::Utf8 || encoding == HostsEncoding::Utf8WithMark) {
            AppendUtf8Decoded(decoded, bytes);
        } else {
            AppendUtf16Decoded(decoded, bytes, encoding == HostsEncoding::Utf16BeWithMark);
        }
        EXPECT_EQ(decoded, text) << static_cast<int>(encoding);
        EXPECT_EQ(DetectEncoding(std::string(MarkOf(encoding)) + bytes), encoding);
    }
    EXPECT_EQ(EncodeText(platform, u"a\u00E9中", HostsEncoding::Ansi), "a\xE9?") << "the fake's code page";
    for (const auto encoding : {HostsEncoding::Utf16Le, HostsEncoding::Utf16Be}) {
        std::u16string decoded;
        AppendUtf16Decoded(decoded, EncodeText(platform, text, encoding), encoding == HostsEncoding::Utf16Be);
        EXPECT_EQ(decoded, text);
        EXPECT_EQ(MarkOf(encoding), "");
    }
}

TEST(HostsEncodingTest, WhatCannotBeDecodedTravelsAsEscapedBytes) {
    std::u16string decoded;
    AppendUtf8Decoded(decoded, "a\xE4\xB8" "b\x80" "c\xC0\xAF" "\xE4\xB8\r\n");
    EXPECT_EQ(decoded, u"a\xDCE4\xDCB8" u"b\xDC80" u"c\xDCC0\xDCAF\xDCE4\xDCB8\r\n");
    decoded.clear();
    AppendUtf8Decoded(decoded, "\xE2\x90\x80 \xE2\x90\x81");
    EXPECT_EQ(decoded, u"\xDCE2\xDC90\xDC80 \u2401") << "U+2400 alone, which the window would make NUL";
    decoded.clear();
    AppendUtf16Decoded(decoded, "a\0b"s, false);
    EXPECT_EQ(decoded, u"a") << "an odd last byte is no part of the text";

    // The fake code page: a lead byte before a line end is escaped alone;
    // a pair that decodes to what a single byte gives is escaped, its trail
    // too unless it is ASCII; 0x80 is undefined.
    testing::FakePlatform platform;
    EXPECT_EQ(DecodeAnsi(platform, "\x81\x41\x9F\x40 \x81\r\n\x80\xE9"), u"\u3401\u4A44 \xDC81\r\n\xDC80\u00E9");
    EXPECT_EQ(DecodeAnsi(platform, "\x81\x40\x9F\xFE\x81"), u"\xDC81@\xDC9F\xDCFE\xDC81");
}

TEST(HostsEncodingTest, EncodersWriteEscapedBytesBackAndCountWhatTheyLose) {
    testing::FakePlatform platform;
    const std::u16string text = {u'a', 0xDC80, 0xD800, u'b', 0xDC00, 0xD83D, 0xDCFF, 0xDCFF, u'?'};
    std::size_t lost = 99;
    // A lone escaped byte is its byte; after a high surrogate it is the
    // second half of a pair; every other lone surrogate is lost.
    EXPECT_EQ(EncodeText(platform, text, HostsEncoding::Utf8, &lost),
              "a\x80\xEF\xBF\xBD" "b\xEF\xBF\xBD\xF0\x9F\x93\xBF\xFF?");
    EXPECT_EQ(lost, 2u);
    EXPECT_EQ(EncodeText(platform, text, HostsEncoding::Ansi, &lost), "a\x80?b???\xFF?");
    EXPECT_EQ(lost, 3u) << "a surrogate pair is one character";
    EXPECT_EQ(EncodeText(platform, text, HostsEncoding::Utf16Le, &lost),
              "a\0\x80\xDC\0\xD8" "b\0\0\xDC\x3D\xD8\xFF\xDC\xFF\xDC?\0"s);
    EXPECT_EQ(lost, 0u);
    EXPECT_EQ(EncodeText(platform, u"\u3401\u00E9\u00A5\u4A44\u3400\u4B01\u0080", HostsEncoding::Ansi, &lost),
              "\x81\x41\xE9\xA5\x9F\x40???");
    EXPECT_EQ(lost, 3u) << "U+3400 and U+4B01 have no pair (81 40 and 9F FE decode to Latin-1), nor has U+0080";
}

// A file in any encoding, loaded and saved with no edit, gives back its
// bytes: the file's own where every line ends in CR LF, else with the line
// ends the line rule gives.
TEST(HostsEncodingTest, ALoadAndASaveWithNoEditGiveBackTheBytes) {
    const struct {
        std::string bytes;
        HostsEncoding encoding;
        std::u16string text;  // when given, the text the load must give
    } cases[] = {
        // The fake's code page: stray bytes at the start, in the middle, at
        // the end and before a line end; broken pairs; NUL.
        {"\x80# a\r\n", HostsEncoding::Ansi, u"\xDC80# a\r\n"},
        {"a \x80\x80 b\r\nc\r\n", HostsEncoding::Ansi, u"a \xDC80\xDC80 b\r\nc\r\n"},
        {"a\r\nb\x80\r\n", HostsEncoding::Ansi, {}},
        {"a\r\nb\x80", HostsEncoding::Ansi, {}},
        {"a \x81\r\nb \x9F\r\n", HostsEncoding::Ansi, u"a \xDC81\r\nb \xDC9F\r\n"},
        {"\x81\x41\x81\x7F\x81\x40\x9F\xFE\x9F\xFF\r\n", HostsEncoding::Ansi, {}},
        {"a\r\n\x81", HostsEncoding::Ansi, {}},
        {"a\0b\r\n\0\r\n"s, HostsEncoding::Ansi, u"a\0b\r\n\0\r\n"s},
        {"\x80\xE2\x90\x80\r\n", HostsEncoding::Ansi, {}},
        {"a\rb\r\n", HostsEncoding::Ansi, u"a\r\nb\r\n"},
        // UTF-8: valid, with U+2400 and NUL; with a mark, anything.
        {"# \xE4\xB8\xAD \xF0\x9F\x98\x80\r\n", HostsEncoding::Utf8, u"# \u4E2D \U0001F600\r\n"},
        {"\xE2\x90\x80\0\xE4\xB8\xAD\r\n"s, HostsEncoding::Utf8, u"\xDCE2\xDC90\xDC80\0\u4E2D\r\n"s},
        {"\xEF\xBB\xBF\xFF a\r\n", HostsEncoding::Utf8WithMark, u"\xDCFF a\r\n"},
        {"\xEF\xBB\xBF# \xE4\xB8\r\n\xE4\xB8\xAD\xC0\xAF\xED\xA0\x80\r\n\xF4", HostsEncoding::Utf8WithMark, {}},
        {"\xEF\xBB\xBF\xE2\x90\x80\xE2\x90\r\n", HostsEncoding::Utf8WithMark, {}},
        // UTF-16, with a mark and without, in both orders: odd sizes, lone
        // surrogates (escaped bytes among them), NUL, U+2400.
        {"\xFF\xFE" + Utf16Le(u"a\r\n") + "\x80\xDC\x00\xD8\0\0\r\0\n\0"s, HostsEncoding::Utf16LeWithMark, {}},
        {"\xFF\xFE" + Utf16Le(u"a\r\n") + "x", HostsEncoding::Utf16LeWithMark, u"a\r\n"},
        {"\xFE\xFF" + Utf16Be(u"a\u2400\r\n") + "\xDC", HostsEncoding::Utf16BeWithMark, u"a\u2400\r\n"},
        {Utf16Le(u"127.0.0.1 localhost\r\n# \u4E2D\r\n"), HostsEncoding::Utf16Le, u"127.0.0.1 localhost\r\n# \u4E2D\r\n"},
        {Utf16Be(u"127.0.0.1 localhost\r\n\0\r\n"s), HostsEncoding::Utf16Be, u"127.0.0.1 localhost\r\n\0\r\n"s},
        {Utf16Le(u"127.0.0.1 localhost\r\n# \r"), HostsEncoding::Utf16Le, u"127.0.0.1 localhost\r\n# \r\n"},
    };
    testing::FakePlatform platform;
    for (const auto& [bytes, encoding, text] : cases) {
        platform.PutFile(Path, bytes);
        const HostsFile read = ReadHostsFile(platform, Path);
        const std::string shown = ::testing::PrintToString(bytes);
        EXPECT_EQ(read.encoding, encoding) << shown;
        if (!text.empty()) {
            EXPECT_EQ(read.text, text) << shown;
        }
        EXPECT_EQ(Saved(platform, read), reference::ApplyLineRuleToBytes(bytes, MarkOf(encoding).size(),
                                                                          IsUtf16(encoding), IsBigEndian(encoding)))
            << shown;
    }
}

}  // namespace
}  // namespace quenlix
