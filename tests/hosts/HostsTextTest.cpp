#include <gtest/gtest.h>

#include "hosts/HostsText.h"

namespace quenlix {
namespace {

TEST(LineRule, EveryLineEndsInCrLfWhateverItsTerminator) {
    EXPECT_EQ(ApplyLineRule(u""), u"");
    EXPECT_EQ(ApplyLineRule(u"a\r\nb\r\n"), u"a\r\nb\r\n");
    EXPECT_EQ(ApplyLineRule(u"a\r\nb"), u"a\r\nb\r\n");        // last line without terminator
    EXPECT_EQ(ApplyLineRule(u"a\rb\r"), u"a\r\nb\r\n");         // a lone CR ends a line
    EXPECT_EQ(ApplyLineRule(u"a\r\n\r\nb\r\n"), u"a\r\n\r\nb\r\n");  // an empty line stays
    EXPECT_EQ(ApplyLineRule(u"\r\n"), u"\r\n");
    EXPECT_EQ(ApplyLineRule(u"\r"), u"\r\n");
}

TEST(LineRule, LoneLineFeedsStayInsideTheirLine) {
    EXPECT_EQ(ApplyLineRule(u"a\nb\nc\n"), u"a\nb\nc\n\r\n");
    EXPECT_EQ(ApplyLineRule(u"\n"), u"\n\r\n");
    // CR LF is one terminator; a second LF after it starts the next line.
    EXPECT_EQ(ApplyLineRule(u"a\r\n\nb"), u"a\r\n\nb\r\n");
    EXPECT_EQ(ApplyLineRule(u"a\n\r\nb"), u"a\n\r\nb\r\n");
}

TEST(LineRule, ReadingTheHostsTextAgainChangesNothing) {
    const std::u16string once = ApplyLineRule(u"x\ry\n\r\nz");
    EXPECT_EQ(ApplyLineRule(once), once);
}

TEST(DefaultHosts, HasTwentyOneLinesOf836BytesWithTheExampleColumns) {
    std::u16string_view text = DefaultHostsText;
    EXPECT_EQ(text.size(), 836u);  // all ASCII: one byte a character on disk
    std::vector<std::u16string_view> lines;
    while (!text.empty()) {
        const auto end = text.find(u"\r\n");
        ASSERT_NE(end, std::u16string_view::npos) << "every line ends in CR LF";
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end + 2);
    }
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines[0], u"# Copyright (c) 1993-2021 Microsoft Corp.");
    EXPECT_EQ(lines[17], u"");
    EXPECT_EQ(lines[19], u"#       127.0.0.1       localhost");
    EXPECT_EQ(lines[20], u"#       ::1             localhost");
    for (int i : {15, 16}) {
        const auto& line = lines[i];
        ASSERT_EQ(line.size(), 63u);
        EXPECT_NE(line[24], u' ') << "host name starts in column 25";
        EXPECT_EQ(line.substr(48, 1), u"#") << "comment starts in column 49";
    }
    EXPECT_EQ(lines[15].substr(7, 12), u"102.54.94.97");
    EXPECT_EQ(lines[16].substr(8, 11), u"38.25.63.10");
    EXPECT_EQ(lines[15].substr(48), u"# source server");
    EXPECT_EQ(lines[16].substr(48), u"# x client host");
}

}  // namespace
}  // namespace quenlix
