#include "edit/EntrySwitch.h"

#include <gtest/gtest.h>

#include <string>

#include "edit/HostsLine.h"

namespace quenlix {
namespace {

using namespace std::literals;

// Texts with their selection written in: "[" and "]" around it, or "|" at the caret.
std::pair<std::u16string, TextRange> Read(std::u16string_view marked) {
    std::u16string text;
    TextRange selection;
    for (const char16_t c : marked) {
        if (c == u'[' || c == u'|') selection.begin = text.size();
        if (c == u']' || c == u'|') selection.end = text.size();
        if (c != u'[' && c != u']' && c != u'|') text.push_back(c);
    }
    return {text, selection};
}

// The text after the edit, its selection written in; "-" for no edit.
std::u16string Applied(std::u16string text, const std::optional<HostsTextEdit>& edit) {
    if (!edit) return u"-";
    text.replace(edit->range.begin, edit->range.end - edit->range.begin, edit->text);
    if (edit->select.begin == edit->select.end) return text.insert(edit->select.begin, u"|");
    return text.insert(edit->select.end, u"]").insert(edit->select.begin, u"[");
}

TEST(EntrySwitchTest, SwitchingChangesOneMarkPerEntryLine) {
    const struct { std::u16string before, after; } cases[] = {
        {u"127.0.0.1 a\r\n|1.2.3.4 b\r\n", u"127.0.0.1 a\r\n# |1.2.3.4 b\r\n"},
        {u"#| 1.2.3.4 b", u"|1.2.3.4 b"},
        {u"#  1.2.3.4 b|", u" 1.2.3.4 b|"},  // one space goes with the mark
        {u"[# 1.2.3.4 a\n5.6.7.8 b\n]x", u"[# 1.2.3.4 a\n# 5.6.7.8 b\n]x"},  // mixed: all off
        {u"[#1.2.3.4 a\r\n  # 5.6.7.8 b # note\r\n]", u"[1.2.3.4 a\r\n  5.6.7.8 b # note\r\n]"},
        {u"[# Servers:\n# see 10.0.0.1 docs\n# 10.0.0.1 dev\n\n#\t10.0.0.2 test # x\n]",
         u"[# Servers:\n# see 10.0.0.1 docs\n10.0.0.1 dev\n\n\t10.0.0.2 test # x\n]"},
        {u"x[y\r1.2.3.4 a\r5.6.7.8 b]", u"x[y\r# 1.2.3.4 a\r# 5.6.7.8 b]"},  // lone CR, no end on the last line
        {u"\t1.2.3.4\ta\t |", u"\t# 1.2.3.4\ta\t |"},
        {u"1.2.3.4 a\0b|"s, u"# 1.2.3.4 a\0b|"s},
        {u"[#==== Dev\n1.2.3.4 a\n#====\n# Ads Start\n# Ads End]",
         u"[#==== Dev\n# 1.2.3.4 a\n#====\n# Ads Start\n# Ads End]"},
        {u"[## 1.2.3.4 a\n1.2.3.4 b]", u"[## 1.2.3.4 a\n# 1.2.3.4 b]"},
        {u"|# 1.2.3.4 start", u"|1.2.3.4 start"},  // a host named "start" is no group mark
        {u"[1.2.3.4 a\n]5.6.7.8 b", u"[# 1.2.3.4 a\n]5.6.7.8 b"},  // a selection ending at a line start
        {u"[# hello\n\n]", u"-"},
        {u"1.2.3.4 a\n|", u"-"},
    };
    for (const auto& c : cases) {
        const auto [text, selection] = Read(c.before);
        EXPECT_EQ(Applied(text, SwitchEntries(text, selection)), c.after) << ::testing::PrintToString(c.before);
    }
}

// The groups as "name on|off first..end", in lines of the text.
std::string Groups(std::u16string_view text) {
    const auto lineOf = [&](std::size_t at) {
        std::size_t n = 0;
        for (auto line = TextLineAt(text, 0); line && line->begin < at; line = TextLineAt(text, line->next)) ++n;
        return std::to_string(n);
    };
    std::string out;
    for (const HostsGroup& g : ReadGroups(text))
        out += ::testing::PrintToString(g.name) + (g.anyOn ? " on " : " off ") + lineOf(g.body.begin) + ".." +
               lineOf(g.body.end) + "; ";
    return out;
}

TEST(EntrySwitchTest, GroupsInBothSpellings) {
    const struct { std::u16string text; std::string groups; } cases[] = {
        {u"#==== Dev\n1.2.3.4 a\n#====\n5.6.7.8 b\n", "u\"Dev\" on 1..2; "},
        {u"#==== A\r\n# 1.2.3.4 a\r\n #=====  B \r\n1.2.3.4 b", "u\"A\" off 1..2; u\"B\" on 3..4; "},
        {u"# Ads Start\n0.0.0.0 x\n # ADS end \n", "u\"Ads\" on 1..2; "},
        {u"# A Start\n# B Start\n# 1.1.1.1 b\n# b End\n1.1.1.1 a\n# a end", "u\"A\" on 1..5; u\"B\" off 2..3; "},
        {u"#==== A\n1.1.1.1 a\n# B Start\n# 1.1.1.1 b", "u\"A\" on 1..2; u\"B\" off 3..4; "},  // unclosed
        {u"#====\n# X End\n1.1.1.1 a\n# 1.2.3.4 start\n", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Groups(c.text), c.groups) << ::testing::PrintToString(c.text);
}

TEST(EntrySwitchTest, SwitchingAGroupSwitchesItsEntriesOnly) {
    const struct { std::u16string before; std::size_t group; std::u16string after; } cases[] = {
        {u"#==== A\n1.1.1.1 a\n\t2.2.2.2 b # c\n#====\n3.3.3.3 c", 0,
         u"|#==== A\n# 1.1.1.1 a\n\t# 2.2.2.2 b # c\n#====\n3.3.3.3 c"},
        {u"#==== A\r\n1.1.1.1 a\r\n#2.2.2.2 b\r\n# note\r\n", 0, u"|#==== A\r\n1.1.1.1 a\r\n2.2.2.2 b\r\n# note\r\n"},
        {u"# A Start\n# B Start\n1.1.1.1 b\n# B End\n# A End", 0,
         u"|# A Start\n# B Start\n# 1.1.1.1 b\n# B End\n# A End"},
        {u"#==== A\n# only prose\n", 0, u"-"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Applied(c.before, SwitchGroup(c.before, ReadGroups(c.before).at(c.group))), c.after)
            << ::testing::PrintToString(c.before);
    }
}

TEST(EntrySwitchTest, ANewGroupAroundTheSelectedLines) {
    const struct { std::u16string before, name, after; } cases[] = {
        {u"a\r\n[b\r\nc]\r\nd", u" Dev ", u"a\r\n[#==== Dev\r\nb\r\nc\r\n#====\r\n]d"},
        {u"x\n|y", u"G", u"x\n[#==== G\ny\n#====]"},
        {u"p\rq|", u"G", u"p\r[#==== G\rq\r#====]"},
        {u"|", u"G", u"[#==== G\r\n\r\n#====]"},
    };
    for (const auto& c : cases) {
        const auto [text, selection] = Read(c.before);
        EXPECT_EQ(Applied(text, InsertGroup(text, selection, c.name)), c.after) << ::testing::PrintToString(c.before);
    }
    EXPECT_TRUE(IsGroupName(u"开发 环境"));
    for (const std::u16string_view refused : {u"", u" \t", u"a\nb", u"a\r"}) EXPECT_FALSE(IsGroupName(refused));
}

}  // namespace
}  // namespace quenlix
