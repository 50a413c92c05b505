#include "ui/Layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "edit/EntryCommands.h"
#include "edit/LinePickerCommand.h"
#include "edit/SearchCommands.h"
#include "hosts/Backup.h"
#include "hosts/RestoreDefault.h"
#include "system/Privilege.h"
#include "system/ShellViews.h"
#include "ui/Startup.h"
#include "ui/WidthToggle.h"

namespace quenlix {
namespace {

constexpr int LeftGroupRightEdge = 9135;
constexpr int RightGroupLeftEdge = 9360;

bool Overlap(const TwipsRect& a, const TwipsRect& b) {
    return a.left < b.Right() && b.left < a.Right() && a.top < b.Bottom() && b.top < a.Bottom();
}

bool InRightGroup(const Control& control) { return control.bounds.left >= RightGroupLeftEdge; }

std::string Name(const Control& control) { return std::string(control.name); }

TEST(Layout, HasFifteenButtonsFourTextBoxesAndOneLabelNamedByKindAndNumber) {
    std::set<std::string> names;
    int buttons = 0, boxes = 0, labels = 0;
    for (const Control& control : Controls()) {
        names.insert(Name(control));
        switch (control.kind) {
            case ControlKind::Button: ++buttons; EXPECT_EQ(Name(control).rfind("Command", 0), 0u); break;
            case ControlKind::TextBox: ++boxes; EXPECT_EQ(Name(control).rfind("Text", 0), 0u); break;
            case ControlKind::Label: ++labels; EXPECT_EQ(Name(control), "Label1"); break;
        }
    }
    EXPECT_EQ(buttons, 15);
    EXPECT_EQ(boxes, 4);
    EXPECT_EQ(labels, 1);
    EXPECT_EQ(names.size(), 20u) << "two controls share a name";
    for (int n = 1; n <= 15; ++n) EXPECT_TRUE(names.contains("Command" + std::to_string(n))) << n;
    for (int n = 1; n <= 4; ++n) EXPECT_TRUE(names.contains("Text" + std::to_string(n))) << n;
}

TEST(Layout, NoTwoControlsOverlap) {
    const auto controls = Controls();
    for (std::size_t i = 0; i < controls.size(); ++i)
        for (std::size_t j = i + 1; j < controls.size(); ++j)
            EXPECT_FALSE(Overlap(controls[i].bounds, controls[j].bounds))
                << Name(controls[i]) << " and " << Name(controls[j]);
}

TEST(Layout, EveryControlLiesInsideTheClientAreaOfTheWideWindow) {
    const int wideClientWidth = static_cast<int>(WideWidth) - 2 * NominalFrame;
    for (const Control& control : Controls()) {
        EXPECT_GE(control.bounds.left, 0) << Name(control);
        EXPECT_GE(control.bounds.top, 0) << Name(control);
        EXPECT_GT(control.bounds.width, 0) << Name(control);
        EXPECT_GT(control.bounds.height, 0) << Name(control);
        EXPECT_LE(control.bounds.Right(), wideClientWidth) << Name(control);
        EXPECT_LE(control.bounds.Bottom(), ClientHeight) << Name(control);
    }
}

TEST(Layout, NarrowWindowShowsTheWholeLeftGroupAndNothingOfTheRightGroup) {
    const int narrowClientWidth = static_cast<int>(NarrowWidth) - 2 * NominalFrame;
    EXPECT_EQ(narrowClientWidth, ClientWidth);
    int left = 0, right = 0, leftGroupEdge = 0;
    for (const Control& control : Controls()) {
        if (InRightGroup(control)) {
            ++right;
            EXPECT_GT(control.bounds.left, narrowClientWidth) << Name(control);
        } else {
            ++left;
            leftGroupEdge = std::max(leftGroupEdge, control.bounds.Right());
        }
    }
    EXPECT_EQ(left, 11);
    EXPECT_EQ(right, 9);
    EXPECT_EQ(leftGroupEdge, LeftGroupRightEdge);
    EXPECT_LE(leftGroupEdge, narrowClientWidth);
}

TEST(Layout, TabIndicesAreZeroToNineteenEachOnce) {
    std::set<int> indices;
    for (const Control& control : Controls()) indices.insert(control.tabIndex);
    ASSERT_EQ(indices.size(), 20u);
    EXPECT_EQ(*indices.begin(), 0);
    EXPECT_EQ(*indices.rbegin(), 19);
}

TEST(Layout, TabOrderStartsAtCommand1AndWalksTheDesignSequence) {
    std::vector<std::string> order;
    for (const Control* control : TabOrder()) order.push_back(Name(*control));
    const std::vector<std::string> expected{
        "Command1", "Text1",   "Text2",     "Command2",  "Command3",  "Command4",  "Command5",
        "Command6", "Text3",   "Command7",  "Text4",     "Command8",  "Command9",  "Label1",
        "Command10", "Command11", "Command12", "Command13", "Command14", "Command15"};
    EXPECT_EQ(order, expected);
}

// A wire crossed between two buttons would run the wrong command silently,
// so every button is checked against the command of its own number.
TEST(Layout, EveryButtonRunsTheCommandOfItsOwnNumber) {
    const std::pair<std::string_view, Command> wiring[] = {
        {"Command1", Command1},   {"Command2", Command2},   {"Command3", Command3},   {"Command4", Command4},
        {"Command5", Command5},   {"Command6", Command6},   {"Command7", Command7},   {"Command8", Command8},
        {"Command9", Command9},   {"Command10", Command10}, {"Command11", Command11}, {"Command12", Command12},
        {"Command13", Command13}, {"Command14", Command14}, {"Command15", Command15},
    };
    for (const auto& [name, command] : wiring) EXPECT_EQ(FindControl(name)->onClick, command) << name;
}

TEST(Layout, OnlyText1AndTheButtonsHaveAClick) {
    EXPECT_EQ(FindControl("Text1")->onClick, Text1_Click);
    for (const Control& control : Controls()) {
        if (control.kind == ControlKind::Button || control.name == "Text1") continue;
        EXPECT_EQ(control.onClick, nullptr) << Name(control);
    }
}

}  // namespace
}  // namespace quenlix
