#include "edit/EntryCheck.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "EntryCheckCases.h"

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

}  // namespace
}  // namespace quenlix
