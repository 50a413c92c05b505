#include "edit/Searches.h"

#include <gtest/gtest.h>

#include <string>

#include "TextBuilders.h"

namespace quenlix {
namespace {

using testing::CrLfLines;

// --- FindEqualLines (Command7) ---

TEST(FindEqualLinesTest, ListsEveryExactMatchAsOftenAsItOccurs) {
    const std::u16string text1 = CrLfLines({
        u"127.0.0.1 localhost",
        u"127.0.0.1  localhost",
        u"127.0.0.1 localhost # loopback",
        u"127.0.0.1 localhost",
        u"127.0.0.1\tlocalhost",
    });
    EXPECT_EQ(FindEqualLines(text1, u"127.0.0.1 localhost"),
              CrLfLines({u"127.0.0.1 localhost", u"127.0.0.1 localhost"}));
}

TEST(FindEqualLinesTest, GroupsByTheSoughtLinesAndMatchesEmptyLastPieces) {
    EXPECT_EQ(FindEqualLines(u"a\r\nb\r\na\r\n", u"a\r\nc\r\n"), u"a\r\na\r\n\r\n");
}

TEST(FindEqualLinesTest, DuplicatesMultiply) {
    // "x" twice in text2, three times in text1: six copies; grouped by text2.
    EXPECT_EQ(FindEqualLines(u"x\r\ny\r\nx\r\nx", u"x\r\ny\r\nx"),
              CrLfLines({u"x", u"x", u"x", u"y", u"x", u"x", u"x"}));
}

TEST(FindEqualLinesTest, EmptyTextsGiveEmptyResult) {
    EXPECT_EQ(FindEqualLines(u"a\r\nb\r\n", u""), u"");
    EXPECT_EQ(FindEqualLines(u"", u"a"), u"");
    EXPECT_EQ(FindEqualLines(u"", u""), u"");
    EXPECT_EQ(FindEqualLines(u"", u"\r\n"), u"");
}

TEST(FindEqualLinesTest, LinesWithoutBreaks) {
    EXPECT_EQ(FindEqualLines(u"a", u"a"), u"a\r\n");
    EXPECT_EQ(FindEqualLines(u"a\r\nb", u"b"), u"b\r\n");
    EXPECT_EQ(FindEqualLines(u"a\r\nb", u"b\r\n"), u"b\r\n");
}

TEST(FindEqualLinesTest, EmptyPiecesMatchEachOther) {
    // text1 pieces: "", "a", "", "" ; text2 pieces: "", "".
    EXPECT_EQ(FindEqualLines(u"\r\na\r\n\r\n", u"\r\n"), u"\r\n\r\n\r\n\r\n\r\n\r\n");
}

TEST(FindEqualLinesTest, ExactCase) {
    EXPECT_EQ(FindEqualLines(u"Localhost\r\nlocalhost \r\n", u"localhost"), u"");
    EXPECT_EQ(FindEqualLines(u"Localhost\r\nlocalhost\r\n", u"localhost"), u"localhost\r\n");
}

TEST(FindEqualLinesTest, LoneCrOrLfStaysInsideLines) {
    EXPECT_EQ(FindEqualLines(u"a\nb\r\na\rb\r\n", u"a\nb"), u"a\nb\r\n");
}

TEST(FindEqualLinesTest, NoLimitOf32767Lines) {
    std::u16string text1;
    for (int i = 0; i < 40000; ++i) text1 += (i % 2 == 0) ? u"even\r\n" : u"odd\r\n";
    std::u16string expected;
    for (int i = 0; i < 20000; ++i) expected += u"odd\r\n";
    EXPECT_EQ(FindEqualLines(text1, u"odd"), expected);
}

// --- FindPresentTerms (Command8) ---

TEST(FindPresentTermsTest, JoinsFoundTermsWithoutSeparator) {
    EXPECT_EQ(FindPresentTerms(u"127.0.0.1 localhost\r\n", u"localhost,router,127"), u"localhost127");
}

TEST(FindPresentTermsTest, EmptyTermIsFoundAndAddsNothing) {
    EXPECT_EQ(FindPresentTerms(u"abc", u"b,,z"), u"b");
    EXPECT_EQ(FindPresentTerms(u"abc", u",,"), u"");
    EXPECT_EQ(FindPresentTerms(u"abc", u",c,"), u"c");
}

TEST(FindPresentTermsTest, EmptyTextsGiveEmptyResult) {
    EXPECT_EQ(FindPresentTerms(u"abc", u""), u"");
    EXPECT_EQ(FindPresentTerms(u"", u"a,b"), u"");
    EXPECT_EQ(FindPresentTerms(u"", u""), u"");
    EXPECT_EQ(FindPresentTerms(u"", u","), u"");
}

TEST(FindPresentTermsTest, TermsAreNotTrimmed) {
    EXPECT_EQ(FindPresentTerms(u"a b", u"a, b"), u"a b");
    EXPECT_EQ(FindPresentTerms(u"ab", u"a, b"), u"a");
}

TEST(FindPresentTermsTest, RepeatedTermWrittenEachTime) {
    EXPECT_EQ(FindPresentTerms(u"router", u"router,x,router"), u"routerrouter");
}

TEST(FindPresentTermsTest, SearchesAcrossLineBreaksAndExactCase) {
    EXPECT_EQ(FindPresentTerms(u"ab\r\ncd\r\n", u"b\r\nc,\r\n\r\n,d\r\n"), u"b\r\ncd\r\n");
    EXPECT_EQ(FindPresentTerms(u"localhost", u"LOCALHOST,Localhost,localhost"), u"localhost");
}

TEST(FindPresentTermsTest, OverlappingAndNestedTerms) {
    EXPECT_EQ(FindPresentTerms(u"she sells", u"he,she,hers,ells,e s,s s,sells!"), u"hesheellse s");
    EXPECT_EQ(FindPresentTerms(u"aaab", u"aab,ab,b,aaaa,aaab,ba"), u"aababbaaab");
}

TEST(FindPresentTermsTest, TermLongerThanText) {
    EXPECT_EQ(FindPresentTerms(u"ab", u"abc,ab"), u"ab");
}

TEST(FindPresentTermsTest, ChineseText) {
    EXPECT_EQ(FindPresentTerms(u"\u5B9A\u4E49\u6709\u91CD\u590D", u"\u91CD\u590D,\u5B9A\u5B9A"),
              u"\u91CD\u590D");
}

// --- FindLinesContaining (Command9) ---

TEST(FindLinesContainingTest, ListsTerminatedLinesHoldingTheFragment) {
    const std::u16string text1 = u"127.0.0.1 localhost\r\n::1 localhost\r\n10.0.0.1 router";
    EXPECT_EQ(FindLinesContaining(text1, u"localhost"), CrLfLines({u"127.0.0.1 localhost", u"::1 localhost"}));
    EXPECT_EQ(FindLinesContaining(text1, u"router"), u"");
}

TEST(FindLinesContainingTest, EmptyFragmentListsNonEmptyLines) {
    EXPECT_EQ(FindLinesContaining(u"a\r\n\r\nb\r\n", u""), u"a\r\nb\r\n");
}

TEST(FindLinesContainingTest, EmptyTextsAndTextsWithoutBreaks) {
    EXPECT_EQ(FindLinesContaining(u"", u""), u"");
    EXPECT_EQ(FindLinesContaining(u"", u"a"), u"");
    EXPECT_EQ(FindLinesContaining(u"abc", u"b"), u"");
    EXPECT_EQ(FindLinesContaining(u"abc", u""), u"");
    EXPECT_EQ(FindLinesContaining(u"\r\n\r\n", u""), u"");
}

TEST(FindLinesContainingTest, ExactCase) {
    EXPECT_EQ(FindLinesContaining(u"127.0.0.1 localhost\r\n", u"LOCALHOST"), u"");
}

TEST(FindLinesContainingTest, DuplicateLinesListedEachTime) {
    EXPECT_EQ(FindLinesContaining(u"a x\r\nb\r\na x\r\n", u"x"), u"a x\r\na x\r\n");
}

TEST(FindLinesContainingTest, LoneCrAndLfBelongToTheLine) {
    EXPECT_EQ(FindLinesContaining(u"a\rb\nc\r\nd\r\n", u"b"), u"a\rb\nc\r\n");
    EXPECT_EQ(FindLinesContaining(u"\r\r\n", u"\r"), u"\r\r\n");
    EXPECT_EQ(FindLinesContaining(u"a\r\nb\r\n", u"\r\n"), u"");
}

TEST(FindLinesContainingTest, LinesLongerThan32766Characters) {
    std::u16string longLine(40000, u'x');
    longLine += u"needle";
    EXPECT_EQ(FindLinesContaining(u"a\r\n" + longLine + u"\r\nb\r\n", u"needle"), longLine + u"\r\n");
}

}  // namespace
}  // namespace quenlix
