#include "edit/EntryCheck.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "EntryCheckCases.h"
#include "edit/HostsLine.h"

namespace quenlix {
namespace {

using testing::AddressKind;

AddressKind KindOf(std::u16string_view text) {
    const bool v4 = IsIpv4Address(text), v6 = IsIpv6Address(text);
    EXPECT_FALSE(v4 && v6);
    return v4 ? AddressKind::Ipv4 : v6 ? AddressKind::Ipv6 : AddressKind::None;
}

TEST(EntryCheckTest, AddressesAsWindowsTakesThem) {
    for (const auto& c : testing::AddressCases()) {
        EXPECT_EQ(KindOf(c.text), c.kind) << ::testing::PrintToString(c.text);
    }
}

TEST(EntryCheckTest, HostNames) {
    for (const auto& c : testing::NameCases()) {
        EXPECT_EQ(IsHostName(c.name), c.valid) << ::testing::PrintToString(c.name);
    }
}

// The problem named, as kind and text (or count), or "none".
std::string Problem(const std::optional<EntryProblem>& problem) {
    if (!problem) return "none";
    switch (problem->kind) {
        case EntryProblem::Kind::LineBreak: return "line break " + ::testing::PrintToString(std::u16string(problem->text));
        case EntryProblem::Kind::Address: return "address " + ::testing::PrintToString(std::u16string(problem->text));
        case EntryProblem::Kind::HostName: return "name " + ::testing::PrintToString(std::u16string(problem->text));
        case EntryProblem::Kind::TooManyNames: return "count " + std::to_string(problem->names);
    }
    return "?";
}

std::string Quoted(const char16_t* text) { return ::testing::PrintToString(std::u16string(text)); }

TEST(EntryCheckTest, TheFirstProblemIsNamed) {
    const std::u16string ten = u"a b c d e f g h i j";
    const struct {
        std::u16string address, names;
        std::string problem;
    } cases[] = {
        {u"1.2.3.4", u"a.example", "none"},
        {u"::1", u"", "none"},  // a line without names adds nothing, and harms nothing
        {u"1.2.3", u"my!site", "address " + Quoted(u"1.2.3")},
        {u"1.2.3.4 ", u"a", "address " + Quoted(u"1.2.3.4 ")},  // the address as it will be written
        {u"1.2.3.4", u"\tok  b!d\tc?d", "name " + Quoted(u"b!d")},
        {u"1.2.3.4", u"a # b!d", "none"},  // a comment
        {u"1.2.3.4", u"a#b!d", "none"},
        {u"1.2.3.4", u"a b c d e f g h i", "none"},
        {u"1.2.3.4", ten, "count 10"},
        {u"1.2.3.4", ten + u" k l # m n", "count 12"},
        {u"1.2.3.4", ten + u" k!", "name " + Quoted(u"k!")},  // a bad name beyond the ninth comes first
        {u"1.2.3.4", u"a # x\r\n6.6.6.6 bank.example", "line break " + Quoted(u"a # x\r\n6.6.6.6 bank.example")},
        {u"1.2.3.4\n6.6.6.6", u"a", "line break " + Quoted(u"1.2.3.4\n6.6.6.6")},
        {u"1.2", u"a\r", "line break " + Quoted(u"a\r")},  // before any other problem
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Problem(FirstEntryProblem(c.address, c.names)), c.problem)
            << ::testing::PrintToString(c.address + u"|" + c.names);
    }
}

TEST(EntryCheckTest, ALineIsCheckedOnlyWhenItReadsAsAnEntry) {
    const struct {
        std::u16string line;
        std::string problem;
    } cases[] = {
        {u"", "none"},
        {u" \t ", "none"},
        {u"# 1.2.3 my!site", "none"},
        {u"  #1.2.3 x", "none"},
        {u"1.2.3", "none"},  // no space or tab: not taken for an entry
        {u"localhost", "none"},
        {u"1.2.3 x", "address " + Quoted(u"1.2.3")},
        {u"  1.2.3.4\tok  b!d", "name " + Quoted(u"b!d")},
        {u"1.2.3.4 a b c d e f g h i j", "count 10"},
        {u"1.2.3.4 a # b!d", "none"},
        {u"1.2.3#x y", "address " + Quoted(u"1.2.3")},
        {u"foo ", "address " + Quoted(u"foo")},
        {u"# note\r\n6.6.6.6 bank.example", "line break " + Quoted(u"# note\r\n6.6.6.6 bank.example")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Problem(FirstLineProblem(c.line)), c.problem) << ::testing::PrintToString(c.line);
    }
}

// How the shared line reader sees a line: "entry", "off@mark,entryAt",
// "start:name", "end:name" or "-".
std::string LineReading(std::u16string_view line) {
    std::string out;
    if (IsEntry(ReadHostsLine(line)) != IsEntryText(line)) out += "disagree ";
    if (IsEntryText(line)) out += "entry";
    if (const auto off = FindSwitchedOffEntry(line))
        out += "off@" + std::to_string(off->mark) + "," + std::to_string(off->entryAt);
    if (const auto mark = ReadGroupMark(line))
        out += (mark->kind == GroupMark::Kind::Start ? "start:" : "end:") +
               ::testing::PrintToString(std::u16string(mark->name));
    return out.empty() ? "-" : out;
}

TEST(EntryCheckTest, LinesAsTheSharedReaderSeesThem) {
    const struct {
        std::u16string line;
        std::string reading;
    } cases[] = {
        {u"127.0.0.1 localhost", "entry"},
        {u"\t::1\tlocalhost # loopback", "entry"},
        {u"1.2.3.4", "-"},  // no name
        {u"1.2.3.4 # a", "-"},
        {u"1.2.3 a", "-"},
        {u"#1.2.3.4 a", "off@0,1"},
        {u"  # 1.2.3.4\ta b", "off@2,4"},
        {u"#  1.2.3.4 a", "off@0,2"},  // one space goes with the mark; the entry keeps the rest
        {u"## 1.2.3.4 a", "-"},
        {u"# see 1.2.3.4 for details", "-"},
        {u"#==== 开发环境", "start:" + Quoted(u"开发环境")},
        {u"  #======  Mirrors  ", "start:" + Quoted(u"Mirrors")},
        {u"#====", "end:" + Quoted(u"")},
        {u"#===", "-"},
        {u"# Ads START", "start:" + Quoted(u"Ads")},
        {u"#Ads block end  ", "end:" + Quoted(u"Ads block")},
        {u"# End", "-"},
        {u"# Weekend", "-"},
        {u"# 1.2.3.4 start", "off@0,2"},  // a host named "start", switched off
        {u"#1.2.3.4 a END", "off@0,1"},
    };
    for (const auto& c : cases) EXPECT_EQ(LineReading(c.line), c.reading) << ::testing::PrintToString(c.line);
}

TEST(EntryCheckTest, TextLinesEndAtAnyBreak) {
    const std::u16string text = u"a\r\nb\nc\rd\r\n\r\ne";
    std::string seen;
    for (auto line = TextLineAt(text, 0); line; line = TextLineAt(text, line->next))
        seen += ::testing::PrintToString(std::u16string(text.substr(line->begin, line->end - line->begin))) + "+" +
                std::to_string(line->next - line->end) + " ";
    EXPECT_EQ(seen, "u\"a\"+2 u\"b\"+1 u\"c\"+1 u\"d\"+2 u\"\"+2 u\"e\"+0 ");
}

}  // namespace
}  // namespace quenlix
