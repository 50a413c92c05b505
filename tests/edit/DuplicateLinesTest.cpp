#include "edit/DuplicateLines.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "TextBuilders.h"

namespace quenlix {
namespace {

using testing::AsciiUpper;
using testing::CrLfLines;

// The duplicate test as Command5 runs it: both sides upper-cased first.
std::optional<std::u16string> Duplicate(const std::u16string& fileText, std::u16string_view text2,
                                        std::u16string_view text3) {
    const std::u16string upperText = AsciiUpper(fileText);
    const std::u16string upperEntry = AsciiUpper(EntryLine(text2, text3));
    const auto found = FirstDuplicateLine(upperText, upperEntry);
    if (!found) return std::nullopt;
    return std::u16string(*found);
}

TEST(EntryLineTest, JoinsWithOneSpaceAsTyped) {
    EXPECT_EQ(EntryLine(u"1.2.3.4", u"name"), u"1.2.3.4 name");
    EXPECT_EQ(EntryLine(u"", u""), u" ");
    EXPECT_EQ(EntryLine(u" a ", u" b "), u" a   b ");
    EXPECT_EQ(EntryLine(u"1.2.3.4", u""), u"1.2.3.4 ");
}

TEST(FirstDuplicateLineTest, IgnoresCaseThroughUpperCasing) {
    EXPECT_EQ(Duplicate(CrLfLines({u"127.0.0.1 MyHost"}), u"127.0.0.1", u"myhost"),
              std::optional<std::u16string>(u"127.0.0.1 MYHOST"));
}

TEST(FirstDuplicateLineTest, SubstringOfLongerLinesCounts) {
    for (const std::u16string_view line : {u"1.2.3.4 NAME2", u"11.2.3.4 NAME", u"5.6.7.8 X # 1.2.3.4 NAME"}) {
        const std::u16string text = CrLfLines({u"# header", line});
        EXPECT_EQ(Duplicate(text, u"1.2.3.4", u"name"), std::optional<std::u16string>(std::u16string(line)))
            << std::string(line.begin(), line.end());
    }
}

TEST(FirstDuplicateLineTest, TabsAndDoubleSpacesDoNotMatch) {
    const std::u16string text = CrLfLines({u"1.2.3.4\tNAME", u"1.2.3.4  NAME", u"1.2.3.4 \tNAME"});
    EXPECT_EQ(Duplicate(text, u"1.2.3.4", u"name"), std::nullopt);
}

TEST(FirstDuplicateLineTest, CommentAfterLeadingSpacesIsSkipped) {
    const std::u16string text = CrLfLines({u"#1.2.3.4 NAME", u"   # 1.2.3.4 NAME"});
    EXPECT_EQ(Duplicate(text, u"1.2.3.4", u"name"), std::nullopt);
}

TEST(FirstDuplicateLineTest, HashAfterTabIsKept) {
    const std::u16string text = CrLfLines({u"\t# 1.2.3.4 NAME"});
    EXPECT_EQ(Duplicate(text, u"1.2.3.4", u"name"), std::optional<std::u16string>(u"\t# 1.2.3.4 NAME"));
}

TEST(FirstDuplicateLineTest, EmptyBoxesSearchForOneSpace) {
    EXPECT_EQ(Duplicate(CrLfLines({u"#a b", u"ab", u"a b", u"c d"}), u"", u""),
              std::optional<std::u16string>(u"A B"));
    EXPECT_EQ(Duplicate(CrLfLines({u"#a b", u"ab", u""}), u"", u""), std::nullopt);
}

TEST(FirstDuplicateLineTest, LinesOfSpacesSkippedLinesOfTabsKept) {
    // A line of spaces trims to nothing and is passed over even though it
    // holds the sought space; a line that is tabs at both ends is kept whole.
    EXPECT_EQ(Duplicate(CrLfLines({u"    ", u"\t\t", u"\t \t"}), u"", u""),
              std::optional<std::u16string>(u"\t \t"));
    EXPECT_EQ(Duplicate(CrLfLines({u"    ", u"   "}), u"", u""), std::nullopt);
    // The keep rule seen directly, with a sought string no entry line can be.
    EXPECT_EQ(FirstDuplicateLine(CrLfLines({u"  ", u"\t\t"}), u"\t"),
              std::optional<std::u16string_view>(u"\t\t"));
}

TEST(FirstDuplicateLineTest, IdeographicSpaceIsNotTrimmed) {
    // Trimmed of U+3000 this line would be empty and skipped; it is kept.
    EXPECT_EQ(Duplicate(CrLfLines({u"\u3000 \u3000"}), u"", u""),
              std::optional<std::u16string>(u"\u3000 \u3000"));
    // And U+3000 before '#' keeps the line from being a comment.
    EXPECT_EQ(Duplicate(CrLfLines({u"\u3000# 1.2.3.4 name"}), u"1.2.3.4", u"name"),
              std::optional<std::u16string>(u"\u3000# 1.2.3.4 NAME"));
}

TEST(FirstDuplicateLineTest, ReturnsTheTrimmedLine) {
    EXPECT_EQ(Duplicate(CrLfLines({u"   1.2.3.4 name   "}), u"1.2.3.4", u"name"),
              std::optional<std::u16string>(u"1.2.3.4 NAME"));
}

TEST(FirstDuplicateLineTest, OnlyTheFirstHitIsNamed) {
    const std::u16string text = AsciiUpper(CrLfLines({u"x", u"1.2.3.4 name first", u"1.2.3.4 name second"}));
    const auto found = FirstDuplicateLine(text, u"1.2.3.4 NAME");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(std::u16string(*found), u"1.2.3.4 NAME FIRST");
    EXPECT_EQ(found->data(), text.data() + 3);  // a view into the text, no copy
}

TEST(FirstDuplicateLineTest, NothingKept) {
    EXPECT_EQ(FirstDuplicateLine(u"", u" "), std::nullopt);
    EXPECT_EQ(Duplicate(CrLfLines({u"# Copyright", u"#", u"", u"#       127.0.0.1       localhost"}),
                        u"127.0.0.1", u"localhost"),
              std::nullopt);
}

TEST(FirstDuplicateLineTest, EntryMustFitInsideOneLine) {
    // The entry never spans a line break.
    EXPECT_EQ(Duplicate(CrLfLines({u"1.2.3.4", u"NAME"}), u"1.2.3.4", u"name"), std::nullopt);
    EXPECT_EQ(Duplicate(CrLfLines({u"1.2.3.4 "}), u"1.2.3.4", u"name"), std::nullopt);
}

TEST(FirstDuplicateLineTest, LastLineWithoutBreakIsStillRead) {
    EXPECT_EQ(FirstDuplicateLine(u"A\r\n1.2.3.4 NAME", u"1.2.3.4 NAME"),
              std::optional<std::u16string_view>(u"1.2.3.4 NAME"));
}

TEST(FirstDuplicateLineTest, LineFeedStaysInsideTheLine) {
    // A lone LF does not end a line, and is not trimmed.
    EXPECT_EQ(Duplicate(u"#x\nA B\r\n", u"a", u"b"), std::nullopt);
    EXPECT_EQ(Duplicate(u"x\nA B\r\n", u"a", u"b"), std::optional<std::u16string>(u"X\nA B"));
}

}  // namespace
}  // namespace quenlix
