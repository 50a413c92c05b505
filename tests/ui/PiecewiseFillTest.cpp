#include "ui/PiecewiseFill.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

namespace quenlix {
namespace {

// Every piece, inserted at the start of what the box holds, must rebuild
// the text exactly, begin at the start of a line and never be empty.
void ExpectPiecesRebuild(std::u16string_view text, std::size_t firstSize, double msPerUnit) {
    PiecewiseFill fill(text, firstSize);
    std::u16string box;
    int lastPercent = fill.Percent();
    std::size_t pieces = 0;
    while (!fill.Done()) {
        const std::size_t start = fill.PieceStart();
        const std::size_t end = fill.PieceEnd();
        ASSERT_LT(start, end);
        ASSERT_TRUE(start == 0 || text[start - 1] == u'\n') << "piece starts inside a line at " << start;
        box.insert(0, text.substr(start, end - start));
        fill.PieceInserted(static_cast<double>(end - start) * msPerUnit);
        EXPECT_GE(fill.Percent(), lastPercent);
        EXPECT_TRUE(fill.Done() || fill.Percent() < 100) << "100% before the last piece";
        lastPercent = fill.Percent();
        ASSERT_LT(++pieces, text.size() + 2) << "no progress";
    }
    EXPECT_EQ(box, text);
    EXPECT_EQ(fill.Percent(), 100);
}

TEST(PiecewiseFillTest, PiecesRebuildTextsOfEveryShape) {
    std::mt19937 random(7);
    const std::u16string alphabet = u"ab \t#\r\n\n中";
    for (int round = 0; round < 200; ++round) {
        std::u16string text(random() % 400, u'a');
        for (char16_t& c : text) c = alphabet[random() % alphabet.size()];
        SCOPED_TRACE(round);
        ExpectPiecesRebuild(text, 1 + random() % 50, 0.001 * (1 + random() % 100));
    }
    for (const std::u16string text : {u"", u"one line, no break", u"\n", u"\r\n\r\n", u"a\r\nb", u"a\r\nb\r\n"}) {
        ExpectPiecesRebuild(text, 1, 1.0);
        ExpectPiecesRebuild(text, 1000, 1.0);
    }
}

TEST(PiecewiseFillTest, PieceStartIsTheStartOfTheLineHoldingTheCut) {
    const std::u16string_view text = u"0.0.0.0 a\r\n0.0.0.0 bb\r\n# c\r\n";  // lines at 0, 11, 23; length 28
    struct Case {
        std::size_t end, size, start;
    } const cases[] = {
        {28, 1, 23},   // the last line alone: the cut falls inside it
        {28, 5, 23},   {28, 6, 11},  // one more character reaches back into the line before
        {28, 17, 11},  {28, 18, 0},  {28, 100, 0},  // more than the text: all of it
        {23, 1, 11},   {23, 0, 11},  // a piece is never empty
        {11, 3, 0},    {0, 5, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PieceStartBefore(text, c.end, c.size), c.start) << c.end << " " << c.size;
}

TEST(PiecewiseFillTest, PiecesFollowTheTime) {
    struct Case {
        std::size_t lastSize;
        double lastMs;
        std::size_t next;
    } const cases[] = {
        {1000, TargetPieceMs, 1000},        // on target: the same again
        {1000, TargetPieceMs / 2, 2000},    // twice as fast: twice the size
        {1000, TargetPieceMs / 100, 2000},  // but never more than double at a step
        {1000, TargetPieceMs * 100, 500},   // nor less than half
        {1000, 0.0, 2000},                  // too fast to time
        {1, TargetPieceMs * 3, 1},          // never empty
        {0, TargetPieceMs, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NextPieceSize(c.lastSize, c.lastMs), c.next) << c.lastSize << " " << c.lastMs;
}

// A million lines at a steady speed: the title must move through many
// percentages, and the pieces stay few enough that their cost stays small.
TEST(PiecewiseFillTest, AMillionLinesShowManyPercentagesInFewHundredPieces) {
    std::u16string text;
    for (int i = 0; i < 1'000'000; ++i) text += u"0.0.0.0 host" + std::u16string(1, u'a' + i % 26) + u".example\r\n";
    PiecewiseFill fill(text, 16 * 1024);
    std::set<int> percents;
    std::size_t pieces = 0;
    while (!fill.Done()) {
        fill.PieceInserted(static_cast<double>(fill.PieceEnd() - fill.PieceStart()) * 0.002);
        percents.insert(fill.Percent());
        ++pieces;
    }
    EXPECT_GE(percents.size(), 50u);
    EXPECT_LT(pieces, 1000u);
}

TEST(PiecewiseFillTest, TitleCarriesThePercentAfterAnEmDash) {
    EXPECT_EQ(FillingTitle(u"Hosts (已获得管理员权限)", 42), u"Hosts (已获得管理员权限) \u2014 正在读取 42%");
    EXPECT_EQ(FillingTitle(u"Hosts", 0), u"Hosts \u2014 正在读取 0%");
}

}  // namespace
}  // namespace quenlix
