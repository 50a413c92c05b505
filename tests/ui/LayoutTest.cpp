#include "ui/Layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>

#include "commands/DiagnosisCommands.h"
#include "commands/PickLineCommand.h"
#include "hosts/HostsPaths.h"
#include "platform/MessageStyle.h"
#include "support/FakePlatform.h"
#include "support/FakeWindow.h"

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

// A wire crossed between two buttons would run the wrong command silently:
// each button is clicked on the same files and boxes, and must do what its
// caption says and nothing another button does.
TEST(LayoutTest, EveryButtonDoesWhatItsCaptionSays) {
    using testing::FakePlatform;
    using testing::FakeWindow;
    struct World {
        FakePlatform platform;
        FakeWindow window;
        std::u16string hosts = HostsPath(platform);
        std::string Hosts() const { return platform.FileBytes(hosts).value_or("<missing>"); }
    };
    const std::string before = "1.2.3.4 b\r\n";
    const std::pair<std::string_view, std::function<void(World&)>> expectations[] = {
        {"Command1", [&](World& w) { EXPECT_EQ(w.Hosts(), before + "1.2.3.4\r\n"); }},
        {"Command2", [&](World& w) { EXPECT_EQ(w.Hosts(), before + "1.2.3.4 b\r\n"); }},
        {"Command3", [&](World& w) { EXPECT_EQ(w.Hosts(), "typed\r\n1.2.3.4 b\r\n"); }},
        {"Command4", [&](World& w) { EXPECT_EQ(w.window.texts[0], u"1.2.3.4 b\r\n"); }},
        {"Command5",
         [&](World& w) {
             ASSERT_EQ(w.platform.messages.size(), 1u);
             EXPECT_EQ(w.platform.messages[0].prompt, u"定义有重复\n1.2.3.4 b");
             EXPECT_EQ(w.Hosts(), before);
         }},
        {"Command6", [&](World& w) { EXPECT_EQ(w.Hosts().size(), 836u); }},
        {"Command7", [&](World& w) { EXPECT_EQ(w.window.texts[3], u""); }},
        {"Command8", [&](World& w) { EXPECT_EQ(w.window.texts[3], u"1.2.3.4"); }},
        {"Command9", [&](World& w) { EXPECT_EQ(w.window.texts[3], u"1.2.3.4 b\r\n"); }},
        {"Command10", [&](World& w) { EXPECT_EQ(w.window.width, FormWidth::Wide); }},
        {"Command11",
         [&](World& w) {
             ASSERT_EQ(w.platform.started.size(), 1u);
             EXPECT_EQ(w.platform.started[0].commandLine, u"explorer /select," + w.hosts);
         }},
        {"Command12",
         [&](World& w) {
             ASSERT_EQ(w.platform.started.size(), 1u);
             EXPECT_EQ(w.platform.started[0].commandLine, u"Notepad.exe " + w.hosts);
         }},
        {"Command13",
         [&](World& w) {
             ASSERT_EQ(w.platform.ran.size(), 1u);
             EXPECT_EQ(w.platform.ran[0].program, u"cacls.exe");
         }},
        {"Command14", [&](World& w) { EXPECT_EQ(w.platform.FileBytes(BackupPath(w.platform)), before); }},
        {"Command15", [&](World& w) { EXPECT_EQ(w.Hosts(), "from the backup\r\n"); }},
    };
    for (const auto& [name, expect] : expectations) {
        SCOPED_TRACE(std::string(name));
        World world;
        world.platform.PutFile(world.hosts, before);
        if (name == "Command15") world.platform.PutFile(BackupPath(world.platform), "from the backup\r\n");
        world.window.snapshot = SnapshotBuilder::Of(before);
        world.window.texts = {u"typed\r\n1.2.3.4 b\r\n", u"1.2.3.4", u"b", u""};
        world.platform.answers = {name == "Command14" ? Answer::No : Answer::Ok};
        const Control* control = FindControl(name);
        ASSERT_NE(control, nullptr);
        control->onClick(world.window, world.platform);
        expect(world);
    }
}

// The system's own menu commands keep their ids; the one item of the
// program's makes the history folder if need be and shows it in Explorer.
TEST(LayoutTest, TheSystemMenuItemShowsTheHistoryFolder) {
    const SystemMenuItem& item = HistoryFolderMenuItem();
    EXPECT_EQ(item.caption, u"打开历史版本文件夹(&H)");
    EXPECT_EQ(item.id & 0xFu, 0u);
    EXPECT_LT(item.id, 0xF000u);
    testing::FakePlatform platform;
    testing::FakeWindow window;
    item.onClick(window, platform);
    ASSERT_EQ(platform.started.size(), 1u);
    EXPECT_EQ(platform.started[0].commandLine, u"explorer \"C:\\Users\\user\\AppData\\Local\\Quenlix\\history\"");
    EXPECT_EQ(platform.madeDirectories.back(), u"C:\\Users\\user\\AppData\\Local\\Quenlix\\history");
}

TEST(LayoutTest, OnlyText1AndTheButtonsHaveAClick) {
    EXPECT_EQ(FindControl("Text1")->onClick, AsCommand<PickClickedLine>());
    for (const Control& control : Controls()) {
        if (control.kind == ControlKind::Button || control.name == "Text1") continue;
        EXPECT_EQ(control.onClick, nullptr) << Name(control);
        EXPECT_EQ(control.onDoubleClick, control.name == "Text4" ? AsCommand<SelectLineNamedInResults>() : nullptr);
    }
}

}  // namespace
}  // namespace quenlix
