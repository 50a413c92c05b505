// The fast functions against the slow transcriptions in ReferenceSearches.h,
// on many generated inputs. Small alphabets make line breaks, commas, empty
// pieces and duplicate lines common.

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "ReferenceSearches.h"
#include "edit/DuplicateLines.h"
#include "edit/SearcherFindFrom.h"
#include "edit/LinePicker.h"
#include "edit/Searches.h"
#include "edit/StringRules.h"

namespace quenlix {
namespace {

std::u16string RandomText(std::mt19937& rng, std::u16string_view alphabet, std::size_t maxLength) {
    const std::size_t length = std::uniform_int_distribution<std::size_t>(0, maxLength)(rng);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::u16string text;
    for (std::size_t i = 0; i < length; ++i) text.push_back(alphabet[pick(rng)]);
    return text;
}

// Lines from a few short words, joined by CR LF, sometimes with a trailing
// CR LF: equal lines and empty pieces come up often.
std::u16string RandomLines(std::mt19937& rng, std::size_t maxLines) {
    static const std::u16string_view words[] = {u"", u"a", u"b", u"ab", u"a b", u"\r", u"\n"};
    std::uniform_int_distribution<std::size_t> pickWord(0, std::size(words) - 1);
    const std::size_t lines = std::uniform_int_distribution<std::size_t>(0, maxLines)(rng);
    std::u16string text;
    for (std::size_t i = 0; i < lines; ++i) {
        if (i > 0) text += u"\r\n";
        text += words[pickWord(rng)];
    }
    if (lines > 0 && rng() % 2 == 0) text += u"\r\n";
    return text;
}

TEST(RandomComparisonTest, FindEqualLinesMatchesNestedLoops) {
    std::mt19937 rng(20240607);
    for (int round = 0; round < 20000; ++round) {
        const std::u16string text1 = round % 2 ? RandomLines(rng, 12) : RandomText(rng, u"ab\r\n", 24);
        const std::u16string text2 = round % 3 ? RandomLines(rng, 5) : RandomText(rng, u"ab\r\n", 10);
        ASSERT_EQ(FindEqualLines(text1, text2), reference::FindEqualLines(text1, text2))
            << "round " << round;
    }
}

TEST(RandomComparisonTest, FindPresentTermsMatchesTermByTermSearch) {
    std::mt19937 rng(7);
    for (int round = 0; round < 20000; ++round) {
        const std::u16string text1 = RandomText(rng, u"abc\r\n,", round % 4 ? 30 : 4);
        const std::u16string text2 = RandomText(rng, u"abc,,\r", round % 5 ? 20 : 60);
        ASSERT_EQ(FindPresentTerms(text1, text2), reference::FindPresentTerms(text1, text2))
            << "round " << round;
    }
}

TEST(RandomComparisonTest, FindPresentTermsOnTwoLetters) {
    // Highly repetitive text and terms stress the failure links.
    std::mt19937 rng(99);
    for (int round = 0; round < 20000; ++round) {
        const std::u16string text1 = RandomText(rng, u"aab", 40);
        const std::u16string text2 = RandomText(rng, u"aaab,", 40);
        ASSERT_EQ(FindPresentTerms(text1, text2), reference::FindPresentTerms(text1, text2))
            << "round " << round;
    }
}

TEST(RandomComparisonTest, FindLinesContainingMatchesPositionWalk) {
    std::mt19937 rng(12345);
    for (int round = 0; round < 20000; ++round) {
        const std::u16string text1 = round % 2 ? RandomLines(rng, 10) : RandomText(rng, u"ab\r\n", 30);
        const std::u16string text2 = RandomText(rng, u"aab\r\n", 3);
        ASSERT_EQ(FindLinesContaining(text1, text2), reference::FindLinesContaining(text1, text2))
            << "round " << round;
    }
}

TEST(RandomComparisonTest, LineAtCaretMatchesLiteralScans) {
    std::mt19937 rng(4);
    for (int round = 0; round < 5000; ++round) {
        const std::u16string text = RandomText(rng, u"a \r\n", 20);
        for (std::size_t k = 0; k <= text.size() + 1; ++k) {
            ASSERT_EQ(std::u16string(LineAtCaret(text, k)), reference::LineAtCaret(text, k))
                << "round " << round << " caret " << k;
        }
    }
}

TEST(RandomComparisonTest, FindFromAndCutAtMatchNaiveVersions) {
    std::mt19937 rng(31);
    for (int round = 0; round < 20000; ++round) {
        const std::u16string text = RandomText(rng, u"aab,", 16);
        const std::u16string sought = RandomText(rng, u"ab,", 4);
        for (std::size_t start = 0; start <= text.size() + 2; ++start) {
            ASSERT_EQ(testing::FindFrom(text, sought, start), reference::FindFrom(text, sought, start))
                << "round " << round << " start " << start;
        }
        const auto pieces = CutAt(text, sought);
        const auto expected = reference::CutAt(text, sought);
        ASSERT_EQ(pieces.size(), expected.size()) << "round " << round;
        for (std::size_t i = 0; i < pieces.size(); ++i) ASSERT_EQ(std::u16string(pieces[i]), expected[i]);
    }
}

TEST(RandomComparisonTest, FirstDuplicateLineMatchesKeptLinesList) {
    std::mt19937 rng(2718);
    for (int round = 0; round < 20000; ++round) {
        const std::u16string text = RandomText(rng, u"A #\t\r\n", 30);
        const std::u16string entry = RandomText(rng, u"A #\t", 3) + u" " + RandomText(rng, u"A#", 1);
        const std::optional<std::u16string_view> fast = FirstDuplicateLine(text, entry);
        const std::optional<std::u16string> slow = reference::FirstDuplicateLine(text, entry);
        ASSERT_EQ(fast.has_value(), slow.has_value()) << "round " << round;
        if (fast) {
            ASSERT_EQ(std::u16string(*fast), *slow) << "round " << round;
        }
    }
}

}  // namespace
}  // namespace quenlix
