#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "hosts/HostsText.h"
#include "hosts/ReferenceLineRule.h"

namespace quenlix {
namespace {

TEST(LineRuleTest, EveryLineEndsInCrLfWhateverItsTerminator) {
    EXPECT_EQ(ApplyLineRule(u""), u"");
    EXPECT_EQ(ApplyLineRule(u"a\r\nb\r\n"), u"a\r\nb\r\n");
    EXPECT_EQ(ApplyLineRule(u"a\r\nb"), u"a\r\nb\r\n");        // last line without terminator
    EXPECT_EQ(ApplyLineRule(u"a\rb\r"), u"a\r\nb\r\n");         // a lone CR ends a line
    EXPECT_EQ(ApplyLineRule(u"a\r\n\r\nb\r\n"), u"a\r\n\r\nb\r\n");  // an empty line stays
    EXPECT_EQ(ApplyLineRule(u"\r\n"), u"\r\n");
    EXPECT_EQ(ApplyLineRule(u"\r"), u"\r\n");
}

TEST(LineRuleTest, LoneLineFeedsStayInsideTheirLine) {
    EXPECT_EQ(ApplyLineRule(u"a\nb\nc\n"), u"a\nb\nc\n\r\n");
    EXPECT_EQ(ApplyLineRule(u"\n"), u"\n\r\n");
    // CR LF is one terminator; a second LF after it starts the next line.
    EXPECT_EQ(ApplyLineRule(u"a\r\n\nb"), u"a\r\n\nb\r\n");
    EXPECT_EQ(ApplyLineRule(u"a\n\r\nb"), u"a\n\r\nb\r\n");
}

TEST(LineRuleTest, ReadingTheHostsTextAgainChangesNothing) {
    const std::u16string once = ApplyLineRule(u"x\ry\n\r\nz");
    EXPECT_EQ(ApplyLineRule(once), once);
}

TEST(DefaultHostsTest, HasTwentyOneLinesOf836BytesWithTheExampleColumns) {
    std::u16string_view text = DefaultHostsText;
    EXPECT_EQ(text.size(), 836u);  // all ASCII: one byte a character on disk
    std::vector<std::u16string_view> lines;
    while (!text.empty()) {
        const auto end = text.find(u"\r\n");
        ASSERT_NE(end, std::u16string_view::npos) << "every line ends in CR LF";
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end + 2);
    }
    const std::u16string_view expected[] = {
        u"# Copyright (c) 1993-2021 Microsoft Corp.",
        u"#",
        u"# This is a sample HOSTS file used by Microsoft TCP/IP for Windows.",
        u"#",
        u"# This file contains the mappings of IP addresses to host names. Each",
        u"# entry should be kept on an individual line. The IP address should",
        u"# be placed in the first column followed by the corresponding host name.",
        u"# The IP address and the host name should be separated by at least one",
        u"# space.",
        u"#",
        u"# Additionally, comments (such as these) may be inserted on individual",
        u"# lines or following the machine name denoted by a '#' symbol.",
        u"#",
        u"# For example:",
        u"#",
        u"#      102.54.94.97     server.example.com      # source server",
        u"#       38.25.63.10     client.example.com      # x client host",
        u"",
        u"# localhost name resolution is handled within DNS itself.",
        u"#       127.0.0.1       localhost",
        u"#       ::1             localhost",
    };
    ASSERT_EQ(lines.size(), std::size(expected));
    for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;
    // The example lines keep their columns whatever the sample names.
    for (int i : {15, 16}) {
        const auto& line = lines[i];
        ASSERT_EQ(line.size(), 63u);
        EXPECT_NE(line[24], u' ') << "host name starts in column 25";
        EXPECT_EQ(line.substr(48, 1), u"#") << "comment starts in column 49";
    }
}

}  // namespace
}  // namespace quenlix

namespace quenlix {
namespace {

std::u16string InPlace(std::u16string text) {
    ApplyLineRuleInPlace(text);
    return text;
}

TEST(LineRuleInPlaceTest, GivesWhatTheCopyingRuleGives) {
    EXPECT_EQ(InPlace(u""), u"");
    EXPECT_EQ(InPlace(u"a\r\nb\r\n"), u"a\r\nb\r\n");
    EXPECT_EQ(InPlace(u"a\r\nb"), u"a\r\nb\r\n");
    EXPECT_EQ(InPlace(u"a\r\nb\n"), u"a\r\nb\n\r\n");  // a lone LF at the end is no terminator
    EXPECT_EQ(InPlace(u"a\r\nb\r"), u"a\r\nb\r\n");    // a lone CR at the very end
    EXPECT_EQ(InPlace(u"a\rb\r\n"), u"a\r\nb\r\n");    // a lone CR in the middle
    EXPECT_EQ(InPlace(u"\r\r\n"), u"\r\n\r\n");
    EXPECT_EQ(InPlace(u"\n"), u"\n\r\n");
}

TEST(LineRuleInPlaceTest, MatchesTheLineReaderOnRandomTexts) {
    std::mt19937 rng(936);
    const std::u16string_view alphabet = u"a\r\n\r\n";  // CR LF pairs common, lone ones too
    for (int round = 0; round < 20000; ++round) {
        std::u16string text;
        const std::size_t length = rng() % 24;
        for (std::size_t i = 0; i < length; ++i) text.push_back(alphabet[rng() % alphabet.size()]);
        if (round % 3 == 0) text = ApplyLineRule(text);  // already a hosts text, maybe cut short below
        if (round % 6 == 0 && !text.empty()) text.pop_back();
        ASSERT_EQ(InPlace(text), reference::ApplyLineRule(text)) << "round " << round;
    }
}

}  // namespace
}  // namespace quenlix

namespace quenlix {
namespace {

// The check as the store uses it: the text handed over in pieces.
bool CheckInPieces(std::u16string_view text, const std::vector<std::size_t>& cuts) {
    CrLfCheck check;
    std::size_t begin = 0;
    for (const std::size_t cut : cuts) {
        check.Add(text.substr(begin, cut - begin));
        begin = cut;
    }
    check.Add(text.substr(begin));
    return check.EveryCrHasItsLf();
}

TEST(CrLfCheckTest, ACrLfCutBetweenTwoPiecesStillCounts) {
    EXPECT_TRUE(CheckInPieces(u"a\r\nb", {2}));
    EXPECT_FALSE(CheckInPieces(u"a\rb", {2}));
    EXPECT_FALSE(CheckInPieces(u"a\r", {2}));      // a CR at the very end has no LF
    EXPECT_TRUE(CheckInPieces(u"a\r\n", {2, 2}));  // an empty piece between them changes nothing
    EXPECT_TRUE(CheckInPieces(u"", {}));
}

TEST(CrLfCheckTest, CharactersThatDifferFromCrOrLfOnlyInTheirHighBitAreNeither) {
    // U+800D and U+800A share all but the top bit with CR and LF.
    EXPECT_TRUE(CheckInPieces(u"ab\u800Dcdefgh\r\n", {}));
    EXPECT_FALSE(CheckInPieces(u"ab\r\u800Acdefgh\r\n", {}));
    EXPECT_FALSE(CheckInPieces(u"abcdefgh\r\u800A", {}));
}

TEST(CrLfCheckTest, AgreesWithTheLineReaderOnRandomTextsInRandomPieces) {
    std::mt19937 rng(1736);
    const std::u16string_view alphabet = u"a\r\n\r\n";
    for (int round = 0; round < 20000; ++round) {
        // Long enough for the four-at-a-time comparison, with a lone CR, when
        // there is one, in any of its four places.
        std::u16string text;
        const std::size_t length = rng() % 64;
        for (std::size_t i = 0; i < length; ++i) text.push_back(alphabet[rng() % alphabet.size()]);
        if (round % 2 == 0) text = ApplyLineRule(text);
        if (round % 4 == 0 && !text.empty()) text[rng() % text.size()] = u'\r';
        std::vector<std::size_t> cuts;
        for (std::size_t i = 0, n = rng() % 5; i < n; ++i) cuts.push_back(text.empty() ? 0 : rng() % (text.size() + 1));
        std::sort(cuts.begin(), cuts.end());

        // Every CR has its LF exactly when the rule adds nothing but maybe
        // the last terminator.
        std::u16string terminated = text;
        if (!terminated.empty() && !std::u16string_view(terminated).ends_with(u"\r\n")) terminated += u"\r\n";
        ASSERT_EQ(CheckInPieces(text, cuts), reference::ApplyLineRule(text) == terminated) << "round " << round;

        CrLfCheck check;
        check.Add(text);
        std::u16string inPlace = text;
        ApplyLineRuleInPlace(inPlace, check);
        ASSERT_EQ(inPlace, reference::ApplyLineRule(text)) << "round " << round;
    }
}

}  // namespace
}  // namespace quenlix
