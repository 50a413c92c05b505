#include "edit/LinePicker.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "ReferenceSearches.h"
#include "TextBuilders.h"

namespace quenlix {
namespace {

using testing::CrLfLines;
using Kind = PickedLine::Kind;

// Five lines, 82 characters: line 1 at 1..19 with its CR LF at 20 and 21.
const std::u16string Example = CrLfLines({
    u"127.0.0.1 localhost",
    u"# comment line",
    u"",
    u" ::1 localhost",
    u"10.0.0.1   router   # lan",
});

std::u16string Picked(std::u16string_view text, std::size_t caret) {
    return std::u16string(LineAtCaret(text, caret));
}

TEST(LineAtCaretTest, ExampleHas82Characters) {
    ASSERT_EQ(Example.size(), 82u);
    EXPECT_EQ(Example[19], u'\r');
    EXPECT_EQ(Example[20], u'\n');
}

TEST(LineAtCaretTest, EveryCaretOfTheExample) {
    for (std::size_t k = 0; k <= 82; ++k) {
        std::u16string expected;
        if (k <= 19) {
            expected = u"127.0.0.1 localhost";
        } else if (k <= 35) {
            expected = u"# comment line";  // 20: between CR and LF of line 1
        } else if (k <= 37) {
            expected = u"";  // 36 between CR and LF of line 2, 37 on the empty line
        } else if (k <= 53) {
            expected = u" ::1 localhost";
        } else if (k <= 80) {
            expected = u"10.0.0.1   router   # lan";
        } else {
            expected = u"";  // 81 between the last CR and LF, 82 after them
        }
        EXPECT_EQ(Picked(Example, k), expected) << "caret " << k;
        EXPECT_EQ(Picked(Example, k), reference::LineAtCaret(Example, k)) << "caret " << k;
    }
}

TEST(LineAtCaretTest, ReturnsAViewIntoTheText) {
    const std::u16string_view line = LineAtCaret(Example, 45);
    EXPECT_EQ(line.data(), Example.data() + 39);
    EXPECT_EQ(line.size(), 14u);
}

TEST(LineAtCaretTest, CaretBeyondTheEndIsTakenAsTheEnd) {
    EXPECT_EQ(Picked(Example, 83), u"");
    EXPECT_EQ(Picked(u"abc", 1000), u"abc");
    EXPECT_EQ(Picked(u"a\r\nbc", 99), u"bc");
}

TEST(LineAtCaretTest, EmptyText) {
    EXPECT_EQ(Picked(u"", 0), u"");
    EXPECT_EQ(Picked(u"", 5), u"");
}

TEST(LineAtCaretTest, TextWithoutCrLfIsOneLine) {
    const std::u16string text = u"127.0.0.1 a\tb";
    for (std::size_t k = 0; k <= text.size(); ++k) EXPECT_EQ(Picked(text, k), text) << k;
}

TEST(LineAtCaretTest, LineFeedsAloneDoNotSeparate) {
    const std::u16string text = u"a b\nc d\ne f\n";
    for (std::size_t k = 0; k <= text.size(); ++k) EXPECT_EQ(Picked(text, k), text) << k;
}

TEST(LineAtCaretTest, LoneCrDoesNotSeparate) {
    const std::u16string text = u"a\rb\r\nc\n\rd";
    EXPECT_EQ(Picked(text, 0), u"a\rb");
    EXPECT_EQ(Picked(text, 2), u"a\rb");
    EXPECT_EQ(Picked(text, 3), u"a\rb");
    EXPECT_EQ(Picked(text, 4), u"c\n\rd");
    EXPECT_EQ(Picked(text, 8), u"c\n\rd");
}

TEST(LineAtCaretTest, CaretBetweenCrAndLfPicksTheFollowingLine) {
    const std::u16string text = CrLfLines({u"one", u"two", u"three"});
    EXPECT_EQ(Picked(text, 3), u"one");
    EXPECT_EQ(Picked(text, 4), u"two");
    EXPECT_EQ(Picked(text, 5), u"two");
    EXPECT_EQ(Picked(text, 9), u"three");
}

TEST(LineAtCaretTest, TextBeginningWithCrLf) {
    const std::u16string text = u"\r\nsecond\r\n";
    EXPECT_EQ(Picked(text, 0), u"");
    EXPECT_EQ(Picked(text, 1), u"second");
    EXPECT_EQ(Picked(text, 2), u"second");
}

TEST(LineAtCaretTest, ConsecutiveBreaks) {
    const std::u16string text = u"a\r\n\r\n\r\nb";
    EXPECT_EQ(Picked(text, 1), u"a");
    EXPECT_EQ(Picked(text, 2), u"");
    EXPECT_EQ(Picked(text, 3), u"");
    EXPECT_EQ(Picked(text, 6), u"b");
    EXPECT_EQ(Picked(text, 7), u"b");
}

TEST(LineAtCaretTest, CrAtTheVeryEnd) {
    EXPECT_EQ(Picked(u"ab\r", 3), u"ab\r");
    EXPECT_EQ(Picked(u"ab\r", 2), u"ab\r");
}

TEST(LineAtCaretTest, LongLinesBeyond16BitPositions) {
    const std::u16string longLine(70000, u'x');
    const std::u16string text = CrLfLines({u"first", longLine, u"last"});
    EXPECT_EQ(Picked(text, 7 + 40000), longLine);
    EXPECT_EQ(Picked(text, text.size() - 2), u"last");
    EXPECT_EQ(Picked(text, text.size() - 1), u"");
}

TEST(SplitPickedLineTest, EntryLine) {
    const PickedLine picked = SplitPickedLine(u"127.0.0.1 localhost");
    EXPECT_EQ(picked.kind, Kind::Entry);
    EXPECT_EQ(picked.address, u"127.0.0.1");
    EXPECT_EQ(picked.host, u"localhost");
}

TEST(SplitPickedLineTest, CommentLineWhole) {
    const PickedLine picked = SplitPickedLine(u"# comment line");
    EXPECT_EQ(picked.kind, Kind::Comment);
    EXPECT_EQ(picked.address, u"# comment line");
    EXPECT_EQ(picked.host, u"");
    EXPECT_EQ(SplitPickedLine(u"#").kind, Kind::Comment);
    EXPECT_EQ(SplitPickedLine(u"#no-space").address, u"#no-space");
}

TEST(SplitPickedLineTest, EmptyLineIsOther) {
    const PickedLine picked = SplitPickedLine(u"");
    EXPECT_EQ(picked.kind, Kind::Other);
    EXPECT_EQ(picked.address, u"");
    EXPECT_EQ(picked.host, u"");
}

TEST(SplitPickedLineTest, LeadingSpaceGivesEmptyAddress) {
    const PickedLine picked = SplitPickedLine(u" ::1 localhost");
    EXPECT_EQ(picked.kind, Kind::Entry);
    EXPECT_EQ(picked.address, u"");
    EXPECT_EQ(picked.host, u"::1 localhost");
}

TEST(SplitPickedLineTest, RunOfSpacesTrimmedInnerSpacesAndCommentKept) {
    const PickedLine picked = SplitPickedLine(u"10.0.0.1   router   # lan");
    EXPECT_EQ(picked.kind, Kind::Entry);
    EXPECT_EQ(picked.address, u"10.0.0.1");
    EXPECT_EQ(picked.host, u"router   # lan");
}

TEST(SplitPickedLineTest, TrailingSpacesTrimmed) {
    const PickedLine picked = SplitPickedLine(u"1.2.3.4 name   ");
    EXPECT_EQ(picked.host, u"name");
    const PickedLine bare = SplitPickedLine(u"1.2.3.4   ");
    EXPECT_EQ(bare.kind, Kind::Entry);
    EXPECT_EQ(bare.address, u"1.2.3.4");
    EXPECT_EQ(bare.host, u"");
}

TEST(SplitPickedLineTest, TabIsNoSpace) {
    EXPECT_EQ(SplitPickedLine(u"127.0.0.1\tlocalhost").kind, Kind::Other);
    const PickedLine picked = SplitPickedLine(u"\t1.2.3.4\tname\t x\t");
    EXPECT_EQ(picked.kind, Kind::Entry);
    EXPECT_EQ(picked.address, u"\t1.2.3.4\tname\t");
    EXPECT_EQ(picked.host, u"x\t");
}

TEST(SplitPickedLineTest, HashAfterLeadingSpacesIsAnEntry) {
    const PickedLine picked = SplitPickedLine(u"  # note");
    EXPECT_EQ(picked.kind, Kind::Entry);
    EXPECT_EQ(picked.address, u"");
    EXPECT_EQ(picked.host, u"# note");
}

TEST(SplitPickedLineTest, IdeographicSpaceIsNoSpace) {
    EXPECT_EQ(SplitPickedLine(u"a\u3000b").kind, Kind::Other);
    EXPECT_EQ(SplitPickedLine(u"a \u3000b\u3000").host, u"\u3000b\u3000");
}

TEST(SplitPickedLineTest, OnlySpaces) {
    const PickedLine picked = SplitPickedLine(u"   ");
    EXPECT_EQ(picked.kind, Kind::Entry);
    EXPECT_EQ(picked.address, u"");
    EXPECT_EQ(picked.host, u"");
}

TEST(LinePickerTest, ClickOnEachExampleLine) {
    EXPECT_EQ(SplitPickedLine(LineAtCaret(Example, 0)).address, u"127.0.0.1");
    EXPECT_EQ(SplitPickedLine(LineAtCaret(Example, 21)).kind, Kind::Comment);
    EXPECT_EQ(SplitPickedLine(LineAtCaret(Example, 37)).kind, Kind::Other);
    EXPECT_EQ(SplitPickedLine(LineAtCaret(Example, 82)).kind, Kind::Other);
    EXPECT_EQ(SplitPickedLine(LineAtCaret(Example, 40)).host, u"::1 localhost");
    EXPECT_EQ(SplitPickedLine(LineAtCaret(Example, 80)).host, u"router   # lan");
}

}  // namespace
}  // namespace quenlix
