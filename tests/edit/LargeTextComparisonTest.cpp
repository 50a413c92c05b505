// The searches take shortcuts on large texts: one skipping search through the
// whole text instead of one per line, a switch to the border search when the
// skipping search compares too much, a lookup only for lines of a wanted
// length, one search per term for a few terms. Here they meet the direct
// transcriptions of ReferenceSearches.h on texts long enough for every
// shortcut to be taken, and on hosts-like texts where the sought strings are
// found near line breaks, in comments and in trimmed spaces.

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "ReferenceSearches.h"
#include "edit/DuplicateLines.h"
#include "edit/Searches.h"
#include "edit/StringRules.h"
#include "platform/AsciiCase.h"

namespace quenlix {
namespace {

// U+0161 and U+4E2D share their low bytes with 'a' and '-': the skip table
// is indexed by the low byte, so they must not be taken for them.
constexpr std::u16string_view Alike = u"a\u0161-\u4e2d";

std::u16string Random(std::mt19937& rng, std::u16string_view alphabet, std::size_t length) {
    std::u16string text;
    for (std::size_t i = 0; i < length; ++i) text.push_back(alphabet[rng() % alphabet.size()]);
    return text;
}

// Lines of a hosts file: entries with one or more spaces or a tab, comments,
// blank lines, lines with leading and trailing spaces, lone CRs and LFs.
std::u16string HostsLike(std::mt19937& rng, std::size_t lines) {
    static const std::u16string_view addresses[] = {u"0.0.0.0", u"127.0.0.1", u"::1", u"10.0.0.1"};
    static const std::u16string_view names[] = {u"ads.x", u"ADS.X", u"a.b", u"\u4e2d-a", u"a-\u0161", u"x"};
    static const std::u16string_view separators[] = {u" ", u"  ", u"\t", u" "};
    static const std::u16string_view ends[] = {u"\r\n", u"\r\n", u"\r\n", u"\r", u"\n"};
    std::u16string text;
    for (std::size_t i = 0; i < lines; ++i) {
        switch (rng() % 8) {
            case 0: text += u"# "; break;
            case 1: text += u"  "; break;
            case 2: text += u"\r\n"; continue;
            default: break;
        }
        text += addresses[rng() % std::size(addresses)];
        text += separators[rng() % std::size(separators)];
        text += names[rng() % std::size(names)];
        if (rng() % 5 == 0) text += u" # ads.x";
        if (rng() % 6 == 0) text += u"  ";
        text += ends[rng() % std::size(ends)];
    }
    if (rng() % 4 == 0 && !text.empty()) text.pop_back();
    return text;
}

// Sought strings that occur in the text, often across a line break.
std::u16string Piece(std::mt19937& rng, std::u16string_view text, std::size_t maxLength) {
    if (text.empty()) return u"a";
    const std::size_t at = rng() % text.size();
    return std::u16string(text.substr(at, 1 + rng() % maxLength));
}

TEST(LargeTextComparisonTest, SubstringSearcherMatchesThePositionWalk) {
    std::mt19937 rng(1);
    for (int round = 0; round < 3000; ++round) {
        const std::u16string text = Random(rng, round % 2 ? u"ab" : Alike, 1 + rng() % 400);
        const std::u16string sought = round % 3 ? Piece(rng, text, 12) : Random(rng, u"ab", 1 + rng() % 6);
        const SubstringSearcher searcher(sought);
        for (std::size_t from = 0; from <= text.size(); from += 1 + rng() % 7) {
            const std::size_t expected = reference::FindFrom(text.substr(from), sought, 1);
            ASSERT_EQ(searcher.Find(text, from), expected == 0 ? SubstringSearcher::npos : from + expected - 1)
                << "round " << round << " from " << from;
        }
    }
}

TEST(LargeTextComparisonTest, SubstringSearcherGoesOnByBordersWhenComparingTooMuch) {
    // "b" followed by many "a"s in a run of "a"s: every place matches its
    // last character and fails only at its first, so the skipping search
    // runs out of budget and the border search finds the answer.
    const std::u16string sought = u"b" + std::u16string(60, u'a');
    const std::u16string run(20000, u'a');
    EXPECT_EQ(SubstringSearcher(sought).Find(run), SubstringSearcher::npos);
    const std::u16string text = run + sought + u"a";
    EXPECT_EQ(SubstringSearcher(sought).Find(text), run.size());
    EXPECT_EQ(SubstringSearcher(sought).Find(text, 7), run.size());
    EXPECT_EQ(SubstringSearcher(sought).Find(text, run.size() + 1), SubstringSearcher::npos);
    std::mt19937 rng(2);
    for (int round = 0; round < 300; ++round) {
        const std::u16string longText = Random(rng, u"aaaaaaab", 3000);
        const std::u16string longSought = Random(rng, u"aaaaaaaab", 2 + rng() % 40);
        const std::size_t expected = reference::FindFrom(longText, longSought, 1);
        ASSERT_EQ(SubstringSearcher(longSought).Find(longText),
                  expected == 0 ? SubstringSearcher::npos : expected - 1)
            << "round " << round;
    }
}

TEST(LargeTextComparisonTest, FindLinesContainingOnHostsLikeTexts) {
    std::mt19937 rng(3);
    for (int round = 0; round < 400; ++round) {
        const std::u16string text1 = HostsLike(rng, 1 + rng() % 200);
        std::u16string text2;
        switch (round % 5) {
            case 0: text2 = u"ads.x"; break;
            case 1: text2 = u"\r"; break;  // only a lone CR can be found inside a line
            case 2: text2 = u""; break;
            default: text2 = Piece(rng, text1, 10); break;
        }
        ASSERT_EQ(FindLinesContaining(text1, text2), reference::FindLinesContaining(text1, text2))
            << "round " << round;
    }
}

TEST(LargeTextComparisonTest, FindEqualLinesOnHostsLikeTexts) {
    std::mt19937 rng(4);
    for (int round = 0; round < 400; ++round) {
        const std::u16string text1 = HostsLike(rng, 1 + rng() % 200);
        // Whole lines of text1, one that is a line with something cut off,
        // empty pieces: equal lengths with different contents come up.
        const std::vector<std::u16string> lines = reference::CutAt(text1, u"\r\n");
        std::u16string text2;
        for (int i = 0, n = 1 + static_cast<int>(rng() % 4); i < n; ++i) {
            if (i > 0) text2 += u"\r\n";
            const std::u16string& line = lines[rng() % lines.size()];
            text2 += rng() % 3 ? line : line.substr(0, line.size() / 2) + u"?";
        }
        if (rng() % 3 == 0) text2 += u"\r\n";
        ASSERT_EQ(FindEqualLines(text1, text2), reference::FindEqualLines(text1, text2)) << "round " << round;
    }
}

TEST(LargeTextComparisonTest, FindPresentTermsWithFewAndManyTerms) {
    std::mt19937 rng(5);
    for (int round = 0; round < 400; ++round) {
        const std::u16string text1 = HostsLike(rng, 1 + rng() % 100);
        // Up to about twenty terms: fewer than nine distinct ones are searched
        // for one by one, more go through the automaton.
        std::u16string text2;
        for (int i = 0, n = 1 + static_cast<int>(rng() % 20); i < n; ++i) {
            if (i > 0) text2 += u",";
            if (rng() % 4 == 0) continue;  // an empty term
            text2 += rng() % 2 ? Piece(rng, text1, 8) : Random(rng, Alike, 1 + rng() % 3);
        }
        ASSERT_EQ(FindPresentTerms(text1, text2), reference::FindPresentTerms(text1, text2)) << "round " << round;
    }
}

TEST(LargeTextComparisonTest, FirstDuplicateLineOnHostsLikeTexts) {
    std::mt19937 rng(6);
    for (int round = 0; round < 600; ++round) {
        const std::u16string text = HostsLike(rng, 1 + rng() % 200);
        std::u16string entry;
        switch (round % 4) {
            case 0: entry = u"0.0.0.0 ADS.X"; break;
            case 1: entry = u"A "; break;  // ends in a space that trimming may take away
            case 2: entry = u" A"; break;
            default: entry = Piece(rng, text, 10); break;
        }
        const std::optional<std::u16string_view> fast = FirstDuplicateLine(text, entry);
        const std::optional<std::u16string> direct = reference::FirstDuplicateLine(text, entry);
        ASSERT_EQ(fast.has_value(), direct.has_value()) << "round " << round;
        if (fast) {
            ASSERT_EQ(std::u16string(*fast), *direct) << "round " << round;
        }
    }
}

TEST(LargeTextComparisonTest, FirstDuplicateLineByBlocksAnswersAsForTheWholeText) {
    std::mt19937 rng(7);
    const auto upper = [](std::u16string_view text) {
        std::u16string out(text);
        for (char16_t& c : out) c = AsciiUpper(c);
        return out;
    };
    for (int round = 0; round < 600; ++round) {
        // Lower case in the file, so that only the mapping makes a hit.
        std::u16string text = HostsLike(rng, 1 + rng() % 60);
        for (char16_t& c : text) c = AsciiLower(c);
        const std::u16string entry = round % 3 ? upper(Piece(rng, text, 10)) : u"0.0.0.0 ADS.X";
        // Blocks from a single character (every cut right after a line) up
        // to more than the whole text.
        const std::size_t blockSize = round % 4 == 0 ? 1 : 1 + rng() % (text.size() + 40);
        const std::optional<std::u16string> blocks = FirstDuplicateLineByBlocks(
            text, entry, [](std::span<char16_t> units) { for (char16_t& c : units) c = AsciiUpper(c); }, blockSize);
        const std::optional<std::u16string> direct = reference::FirstDuplicateLine(upper(text), entry);
        ASSERT_EQ(blocks, direct) << "round " << round << " block " << blockSize;
    }
}

}  // namespace
}  // namespace quenlix
