#include "hosts/HostsEncoding.h"

#include <gtest/gtest.h>

#include <string>

#include "support/FakePlatform.h"

namespace quenlix {
namespace {

using namespace std::string_literals;

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
}

TEST(HostsEncodingTest, WhatCannotBeDecodedOrEncodedBecomesTheReplacementCharacter) {
    std::u16string decoded;
    AppendUtf8Decoded(decoded, "a\xE4\xB8" "b\x80" "c\xC0\xAF");
    EXPECT_EQ(decoded, u"a\uFFFDb\uFFFDc\uFFFD\uFFFD");
    decoded.clear();
    AppendUtf16Decoded(decoded, "a\0b"s, false);
    EXPECT_EQ(decoded, u"a\uFFFD") << "an odd last byte";

    testing::FakePlatform platform;
    const std::u16string lone = {u'a', char16_t(0xD800), u'b', char16_t(0xDC00)};
    EXPECT_EQ(EncodeText(platform, lone, HostsEncoding::Utf8), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
    EXPECT_EQ(EncodeText(platform, lone, HostsEncoding::Utf16LeWithMark), "a\0\0\xD8" "b\0\0\xDC"s);
}

}  // namespace
}  // namespace quenlix
