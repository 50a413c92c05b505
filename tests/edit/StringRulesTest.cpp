#include "edit/StringRules.h"
#include "edit/SearcherFindFrom.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace quenlix {
namespace {

using testing::FindFrom;

std::vector<std::u16string> Copies(const std::vector<std::u16string_view>& views) {
    return std::vector<std::u16string>(views.begin(), views.end());
}

TEST(FindFromTest, FindsFirstOccurrenceAtOrAfterStart) {
    EXPECT_EQ(FindFrom(u"abcabc", u"bc"), 2u);
    EXPECT_EQ(FindFrom(u"abcabc", u"bc", 2), 2u);
    EXPECT_EQ(FindFrom(u"abcabc", u"bc", 3), 5u);
    EXPECT_EQ(FindFrom(u"abcabc", u"bc", 6), 0u);
    EXPECT_EQ(FindFrom(u"abcabc", u"abcabc"), 1u);
    EXPECT_EQ(FindFrom(u"abcabc", u"abcabcx"), 0u);
    EXPECT_EQ(FindFrom(u"abcabc", u"c", 6), 6u);
}

TEST(FindFromTest, ComparesExactly) {
    EXPECT_EQ(FindFrom(u"localhost", u"LOCALHOST"), 0u);
    EXPECT_EQ(FindFrom(u"a\tb", u"a b"), 0u);
    EXPECT_EQ(FindFrom(u"\u4E2D\u6587", u"\u6587"), 2u);
}

TEST(FindFromTest, EmptyTextGivesZeroEvenForEmptySought) {
    EXPECT_EQ(FindFrom(u"", u""), 0u);
    EXPECT_EQ(FindFrom(u"", u"", 1), 0u);
    EXPECT_EQ(FindFrom(u"", u"a"), 0u);
}

TEST(FindFromTest, EmptySoughtInNonEmptyTextGivesStart) {
    EXPECT_EQ(FindFrom(u"abc", u""), 1u);
    EXPECT_EQ(FindFrom(u"abc", u"", 2), 2u);
    EXPECT_EQ(FindFrom(u"abc", u"", 3), 3u);
}

TEST(FindFromTest, NothingIsFoundFromBeyondTheEnd) {
    EXPECT_EQ(FindFrom(u"abc", u"", 4), 0u);
    EXPECT_EQ(FindFrom(u"abc", u"c", 4), 0u);
    EXPECT_EQ(FindFrom(u"abc", u"", 1000), 0u);
}

TEST(FindFromTest, StartZeroIsTakenAsOne) {
    EXPECT_EQ(FindFrom(u"abc", u"a", 0), 1u);
    EXPECT_EQ(FindFrom(u"abc", u"", 0), 1u);
}

TEST(FindFromTest, OverlappingAndRepetitivePatterns) {
    EXPECT_EQ(FindFrom(u"aaaaab", u"aab"), 4u);
    EXPECT_EQ(FindFrom(u"abababac", u"ababac"), 3u);
    EXPECT_EQ(FindFrom(u"aaaa", u"aa", 2), 2u);
    EXPECT_EQ(FindFrom(u"aaaa", u"aa", 4), 0u);
}

TEST(CutAtTest, EmptyTextGivesNoPieces) {
    EXPECT_TRUE(CutAt(u"", u"\r\n").empty());
    EXPECT_TRUE(CutAt(u"", u",").empty());
}

TEST(CutAtTest, TrailingDelimiterGivesLastEmptyPiece) {
    EXPECT_EQ(Copies(CutAt(u"a\r\nb\r\n", u"\r\n")), (std::vector<std::u16string>{u"a", u"b", u""}));
    EXPECT_EQ(Copies(CutAt(u"\r\n", u"\r\n")), (std::vector<std::u16string>{u"", u""}));
    EXPECT_EQ(Copies(CutAt(u",", u",")), (std::vector<std::u16string>{u"", u""}));
}

TEST(CutAtTest, KeepsEmptyPiecesInOrder) {
    EXPECT_EQ(Copies(CutAt(u",a,,b,", u",")),
              (std::vector<std::u16string>{u"", u"a", u"", u"b", u""}));
    EXPECT_EQ(Copies(CutAt(u"abc", u",")), (std::vector<std::u16string>{u"abc"}));
}

TEST(CutAtTest, LoneCrOrLfIsNoDelimiter) {
    EXPECT_EQ(Copies(CutAt(u"a\rb\nc\n\rd\r\ne", u"\r\n")),
              (std::vector<std::u16string>{u"a\rb\nc\n\rd", u"e"}));
    EXPECT_EQ(Copies(CutAt(u"\r\r\n\n", u"\r\n")), (std::vector<std::u16string>{u"\r", u"\n"}));
}

TEST(CutAtTest, EmptyDelimiterLeavesTextWhole) {
    EXPECT_EQ(Copies(CutAt(u"a,b", u"")), (std::vector<std::u16string>{u"a,b"}));
}

TEST(CutAtTest, PiecesAreViewsIntoTheText) {
    const std::u16string text = u"ab,cd";
    const auto pieces = CutAt(text, u",");
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].data(), text.data());
    EXPECT_EQ(pieces[1].data(), text.data() + 3);
}

TEST(TrimSpacesTest, RemovesSpacesOnlyAtBothEnds) {
    EXPECT_EQ(std::u16string(TrimSpaces(u"  a b  ")), u"a b");
    EXPECT_EQ(std::u16string(TrimSpaces(u"    ")), u"");
    EXPECT_EQ(std::u16string(TrimSpaces(u"")), u"");
    EXPECT_EQ(std::u16string(TrimSpaces(u"\ta\t")), u"\ta\t");
    EXPECT_EQ(std::u16string(TrimSpaces(u" \t ")), u"\t");
    EXPECT_EQ(std::u16string(TrimSpaces(u" a\r\n")), u"a\r\n");
}

TEST(TrimSpacesTest, LeavesIdeographicSpace) {
    EXPECT_EQ(std::u16string(TrimSpaces(u"\u3000a\u3000")), u"\u3000a\u3000");
    EXPECT_EQ(std::u16string(TrimSpaces(u" \u3000 ")), u"\u3000");
}

TEST(SubstringSearcherTest, FindsZeroBasedIndexOrNpos) {
    const SubstringSearcher searcher(u"aab");
    EXPECT_EQ(searcher.Find(u"aaab"), 1u);
    EXPECT_EQ(searcher.Find(u"aa"), SubstringSearcher::npos);
    EXPECT_EQ(searcher.Find(u""), SubstringSearcher::npos);
    EXPECT_EQ(SubstringSearcher(u"").Find(u""), 0u);
    EXPECT_EQ(SubstringSearcher(u"").Find(u"x"), 0u);
}

TEST(SubstringSearcherTest, IsReusableAcrossTexts) {
    const SubstringSearcher searcher(u"abab");
    EXPECT_EQ(searcher.Find(u"abaabab"), 3u);
    EXPECT_EQ(searcher.Find(u"ababab"), 0u);
    EXPECT_EQ(searcher.Find(u"abaab"), SubstringSearcher::npos);
}

}  // namespace
}  // namespace quenlix
