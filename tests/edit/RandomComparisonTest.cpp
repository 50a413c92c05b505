// The fast functions against the slow transcriptions in ReferenceSearches.h,
// on many generated inputs. Small alphabets make line breaks, commas, empty
// pieces and duplicate lines common.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "ReferenceSearches.h"
#include "edit/DuplicateLines.h"
#include "edit/EntryCheck.h"
#include "edit/EntryPacking.h"
#include "edit/HostsLine.h"
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

// The name rule read label by label, as it is written.
bool IsHostNameByLabels(std::u16string_view name) {
    if (name.empty() || name.size() > 255) return false;
    if (name.back() == u'.') name.remove_suffix(1);
    if (name.empty()) return false;
    for (std::size_t begin = 0;;) {
        const std::size_t dot = std::min(name.find(u'.', begin), name.size());
        const std::u16string_view label = name.substr(begin, dot - begin);
        if (label.empty() || label.size() > 63 || label.front() == u'-' || label.back() == u'-') return false;
        for (const char16_t c : label) {
            const bool ascii = c < 0x80;
            if (ascii && !(std::isalnum(static_cast<int>(c)) || c == u'_' || c == u'-')) return false;
        }
        if (dot == name.size()) return true;
        begin = dot + 1;
    }
}

TEST(RandomComparisonTest, IsHostNameMatchesLabelByLabelReading) {
    // Short labels with every kind of unit, and long ones around 63 units
    // and names around 63 and 255.
    static const std::u16string_view alphabets[] = {u"aaaaaZ9_-..!\u4e2d\uff0e\x01 ~", u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa-."};
    std::mt19937 rng(63);
    for (int round = 0; round < 50000; ++round) {
        const std::u16string name = RandomText(rng, alphabets[round % 2], round % 3 == 0 ? 300 : 80);
        ASSERT_EQ(IsHostName(name), IsHostNameByLabels(name)) << ::testing::PrintToString(name);
    }
}

// Hosts-like lines: entries of a few addresses (one refused) and names (one
// refused, some equal but for case or a trailing dot), up to eleven names,
// blanks of both kinds, comments, switched-off entries, group marks, all
// three line breaks and a last line with or without one.
std::u16string RandomHostsText(std::mt19937& rng) {
    static const std::u16string_view addresses[] = {u"0.0.0.0", u"0.0.0.0", u"127.0.0.1", u"::1", u"fe80::1%2", u"1.2.3"};
    static const std::u16string_view names[] = {u"a",  u"A", u"a.", u"b", u"c.example", u"C.Example.", u"d!",
                                                u"e",  u"f", u"tracking.example-cdn.com.cn"};
    static const std::u16string_view blanks[] = {u" ", u"\t", u"  ", u" \t"};
    static const std::u16string_view others[] = {u"", u"# note", u"#==== g", u"#====", u"# g Start", u"  "};
    static const std::u16string_view breaks[] = {u"\r\n", u"\r\n", u"\n", u"\r"};
    const auto pick = [&rng](const auto& from) { return from[rng() % std::size(from)]; };
    std::u16string text;
    const std::size_t lines = rng() % 14;
    for (std::size_t i = 0; i < lines; ++i) {
        if (rng() % 5 == 0) {
            text += pick(others);
        } else {
            if (rng() % 8 == 0) text += u"#";
            text += pick(addresses);
            for (std::size_t n = rng() % 4 == 0 ? rng() % 12 : 1 + rng() % 2; n > 0; --n) text += std::u16string(pick(blanks)) + std::u16string(pick(names));
            if (rng() % 8 == 0) text += u" # x";
        }
        if (i + 1 < lines || rng() % 2) text += pick(breaks);
    }
    return text;
}

// For each address family and name, the address Windows answers with: the
// first line that maps it among its first nine names.
std::map<std::u16string, std::u16string> Answers(std::u16string_view text) {
    std::map<std::u16string, std::u16string> answers;
    for (auto line = TextLineAt(text, 0); line; line = TextLineAt(text, line->next)) {
        const HostsLineFields fields = ReadHostsLine(text.substr(line->begin, line->end - line->begin));
        if (!IsEntry(fields)) continue;
        for (std::size_t i = 0; i < fields.names.size() && i < MostNamesOnALine; ++i) {
            if (!IsHostName(fields.names[i])) continue;
            std::u16string key = IsIpv4Address(fields.address) ? u"4 " : u"6 ";
            for (const char16_t c : fields.names[i]) key += c >= u'A' && c <= u'Z' ? c + 32 : c;
            if (key.back() == u'.') key.pop_back();
            answers.try_emplace(key, fields.address);
        }
    }
    return answers;
}

std::u16string Packed(std::u16string text) {
    const PackedEntries packed = PackEntries(text);
    return text.replace(packed.range.begin, packed.range.end - packed.range.begin, packed.replacement);
}

TEST(RandomComparisonTest, LinesReadInOnePassAndPackingKeepsEveryAnswerAndPacksOnlyOnce) {
    std::mt19937 rng(32);
    int changed = 0;
    for (int round = 0; round < 4000; ++round) {
        const std::u16string text = RandomHostsText(rng);
        HostsLineFields fields;
        for (auto line = TextLineAt(text, 0); line; line = TextLineAt(text, line->next)) {
            const HostsLineFields apart = ReadHostsLine(std::u16string_view(text).substr(line->begin, line->end - line->begin));
            ASSERT_EQ(ReadHostsLineAt(text, line->begin, fields), line) << ::testing::PrintToString(text);
            ASSERT_TRUE(fields.address == apart.address && fields.names == apart.names && fields.commentAt == apart.commentAt);
        }
        const std::u16string once = Packed(text);
        ASSERT_EQ(Answers(once), Answers(text)) << ::testing::PrintToString(text);
        ASSERT_FALSE(PackEntries(once).Changed()) << ::testing::PrintToString(text);
        changed += once != text;
    }
    EXPECT_GT(changed, 400);  // the texts are such that packing often has work to do
}

}  // namespace
}  // namespace quenlix
