#include "ui/Layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "commands/BackupCommands.h"
#include "commands/EntryCommands.h"
#include "commands/SaveCommands.h"
#include "commands/LoadCommands.h"
#include "commands/PickLineCommand.h"
#include "commands/ResetCommand.h"
#include "commands/SearchCommands.h"
#include "commands/SystemCommands.h"
#include "commands/WidthCommand.h"
#include "hosts/Backup.h"

namespace quenlix {
namespace {

constexpr int LeftGroupRightEdge = 9135;
constexpr int RightGroupLeftEdge = 9360;

bool Overlap(const TwipsRect& a, const TwipsRect& b) {
    return a.left < b.Right() && b.left < a.Right() && a.top < b.Bottom() && b.top < a.Bottom();
}

bool InRightGroup(const Control& control) { return control.bounds.left >= RightGroupLeftEdge; }

std::string Name(const Control& control) { return std::string(control.name); }

TEST(LayoutTest, HasFifteenButtonsFourTextBoxesAndOneLabelNamedByKindAndNumber) {
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

TEST(LayoutTest, NoTwoControlsOverlap) {
    const auto controls = Controls();
    for (std::size_t i = 0; i < controls.size(); ++i)
        for (std::size_t j = i + 1; j < controls.size(); ++j)
            EXPECT_FALSE(Overlap(controls[i].bounds, controls[j].bounds))
                << Name(controls[i]) << " and " << Name(controls[j]);
}

TEST(LayoutTest, EveryControlLiesInsideTheClientAreaOfTheWideWindow) {
    const int wideClientWidth = WideOuterWidth - 2 * NominalFrame;
    for (const Control& control : Controls()) {
        EXPECT_GE(control.bounds.left, 0) << Name(control);
        EXPECT_GE(control.bounds.top, 0) << Name(control);
        EXPECT_GT(control.bounds.width, 0) << Name(control);
        EXPECT_GT(control.bounds.height, 0) << Name(control);
        EXPECT_LE(control.bounds.Right(), wideClientWidth) << Name(control);
        EXPECT_LE(control.bounds.Bottom(), ClientHeight) << Name(control);
    }
}

TEST(LayoutTest, NarrowWindowShowsTheWholeLeftGroupAndNothingOfTheRightGroup) {
    const int narrowClientWidth = NarrowOuterWidth - 2 * NominalFrame;
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

TEST(LayoutTest, TabIndicesAreZeroToNineteenEachOnce) {
    std::set<int> indices;
    for (const Control& control : Controls()) indices.insert(control.tabIndex);
    ASSERT_EQ(indices.size(), 20u);
    EXPECT_EQ(*indices.begin(), 0);
    EXPECT_EQ(*indices.rbegin(), 19);
}

TEST(LayoutTest, TabOrderStartsAtCommand1AndWalksTheDesignSequence) {
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
TEST(LayoutTest, EveryButtonRunsTheCommandOfItsOwnNumber) {
    const std::pair<std::string_view, Command> wiring[] = {
        {"Command1", AsCommand<AppendText2>()},
        {"Command2", AsCommand<AppendEntry>()},
        {"Command3", AsCommand<SaveHostsFile>()},
        {"Command4", AsCommand<RefreshHostsFile>()},
        {"Command5", AsCommand<AppendEntryUnlessDefined>()},
        {"Command6", AsCommand<RestoreDefaultHosts>()},
        {"Command7", AsCommand<ShowEqualLines>()},
        {"Command8", AsCommand<ShowTermsFound>()},
        {"Command9", AsCommand<ShowLinesContaining>()},
        {"Command10", AsCommand<ToggleWidth>()},
        {"Command11", AsCommand<ShowHostsInExplorer>()},
        {"Command12", AsCommand<OpenHostsInNotepad>()},
        {"Command13", AsCommand<GrantEveryoneAccess>()},
        {"Command14", AsCommand<BackUpHostsFile>()},
        {"Command15", AsCommand<RestoreHostsFromBackup>()},
    };
    for (const auto& [name, command] : wiring) EXPECT_EQ(FindControl(name)->onClick, command) << name;
}

TEST(LayoutTest, OnlyText1AndTheButtonsHaveAClick) {
    EXPECT_EQ(FindControl("Text1")->onClick, AsCommand<PickClickedLine>());
    for (const Control& control : Controls()) {
        if (control.kind == ControlKind::Button || control.name == "Text1") continue;
        EXPECT_EQ(control.onClick, nullptr) << Name(control);
    }
}

}  // namespace
}  // namespace quenlix
