#include "ui/Layout.h"

#include <algorithm>
#include <array>

#include "commands/BackupCommands.h"
#include "commands/DiagnosisCommands.h"
#include "commands/EntryCommands.h"
#include "commands/LoadCommands.h"
#include "commands/PickLineCommand.h"
#include "commands/ResetCommand.h"
#include "commands/SaveCommands.h"
#include "commands/SearchCommands.h"
#include "commands/SystemCommands.h"
#include "commands/WidthCommand.h"

namespace quenlix {

namespace {

using enum TextBoxLines;
using enum Touches;

constexpr Control TextBoxControl(std::string_view name, std::u16string_view text, TwipsRect bounds, int tabIndex,
                                 TextBoxLines lines, Command onClick = nullptr, Touches touches = WindowOnly,
                                 Command onDoubleClick = nullptr) {
    return {name, ControlKind::TextBox, text, bounds, tabIndex, lines, onClick, {}, touches, onDoubleClick};
}

constexpr Control ButtonControl(std::string_view name, std::u16string_view caption, TwipsRect bounds,
                                int tabIndex, Command onClick, Touches touches,
                                std::u16string_view tooltip = {}) {
    return {name, ControlKind::Button, caption, bounds, tabIndex, None, onClick, tooltip, touches};
}

constexpr Control LabelControl(std::string_view name, std::u16string_view caption, TwipsRect bounds, int tabIndex) {
    return {name, ControlKind::Label, caption, bounds, tabIndex, None, nullptr, {}};
}

// The left group first, top to bottom, then the right-hand group.
constexpr std::array<Control, 20> LayoutTable{{
    TextBoxControl("Text1", u"Text1", {120, 120, 7455, 6735}, 1, ScrollingLines, AsCommand<PickClickedLine>(),
                   HostsFileOrText),
    ButtonControl("Command4", u"刷新", {7680, 120, 1455, 400}, 5, AsCommand<RefreshHostsFile>(), HostsFileOrText),
    ButtonControl("Command3", u"保存到 Hosts", {7680, 700, 1455, 400}, 4, AsCommand<SaveHostsFile>(), HostsFileOrText),
    ButtonControl("Command14", u"备份 Host", {7680, 1320, 1455, 400}, 18, AsCommand<BackUpHostsFile>(), HostsFileOrText),
    ButtonControl("Command15", u"Hosts 备份还原", {7680, 1920, 1455, 400}, 19, AsCommand<RestoreHostsFromBackup>(),
                  HostsFileOrText),
    LabelControl("Label1", u"直接在文本框中修改并保存\r\n", {7800, 3360, 1095, 375}, 13),
    ButtonControl("Command10", u"测试功能 \u2192", {7680, 3960, 1455, 400}, 14, AsCommand<ToggleWidth>(), WindowOnly),
    ButtonControl("Command6", u"还原默认 Hosts", {7680, 4680, 1455, 400}, 7, AsCommand<RestoreDefaultHosts>(),
                  HostsFileOrText),
    ButtonControl("Command11", u"打开所在文件夹", {7680, 5280, 1455, 400}, 15, AsCommand<ShowHostsInExplorer>(), WindowOnly),
    ButtonControl("Command12", u"记事本打开Hosts", {7680, 5880, 1455, 400}, 16, AsCommand<OpenHostsInNotepad>(), WindowOnly),
    ButtonControl("Command13", u"获取访问限权", {7680, 6450, 1455, 400}, 17, AsCommand<GrantEveryoneAccess>(),
                  HostsFileOrText, u"需管理员权限运行"),
    TextBoxControl("Text2", u"Text2", {9360, 240, 3015, 375}, 2, SingleLine),
    TextBoxControl("Text3", u"Text3", {9360, 960, 3015, 375}, 8, SingleLine),
    ButtonControl("Command1", u"追加Text2", {9360, 1440, 1695, 495}, 0, AsCommand<AppendAddressLine>(), HostsFileOrText),
    ButtonControl("Command2", u"追加Text2+Text3", {9360, 2040, 1695, 495}, 3, AsCommand<AppendEntry>(), HostsFileOrText),
    ButtonControl("Command5", u"判断是否重复 追加", {9360, 2640, 1695, 495}, 6, AsCommand<AppendEntryUnlessDefined>(),
                  HostsFileOrText),
    TextBoxControl("Text4", u"Text4", {9360, 3720, 3015, 1335}, 10, WrappingLines, nullptr, WindowOnly,
                   AsCommand<SelectLineNamedInResults>()),
    ButtonControl("Command7", u"查找=Text2 显示相同", {9360, 5280, 2175, 375}, 9, AsCommand<ShowEqualLines>(),
                  HostsFileOrText),
    ButtonControl("Command8", u"查找含Text2 显示", {9360, 5880, 2175, 375}, 11, AsCommand<ShowTermsFound>(),
                  HostsFileOrText),
    ButtonControl("Command9", u"查找含Text2 全部显示", {9360, 6480, 2175, 375}, 12, AsCommand<ShowLinesContaining>(),
                  HostsFileOrText),
}};

}  // namespace

std::span<const Control> Controls() { return LayoutTable; }

std::vector<const Control*> TabOrder() {
    std::vector<const Control*> order;
    for (const Control& control : LayoutTable) order.push_back(&control);
    std::ranges::sort(order, {}, &Control::tabIndex);
    return order;
}

const SystemMenuItem& HistoryFolderMenuItem() {
    static constexpr SystemMenuItem item{0x0010, u"打开历史版本文件夹(&H)", AsCommand<OpenHistoryFolder>()};
    return item;
}

const Control* FindControl(std::string_view name) {
    const auto found = std::ranges::find(LayoutTable, name, &Control::name);
    return found == LayoutTable.end() ? nullptr : &*found;
}

namespace {

// The place of each text box in the layout table, found by its form name once,
// when the program is compiled.
constexpr std::size_t IndexByName(std::string_view name) {
    for (std::size_t i = 0; i < LayoutTable.size(); ++i)
        if (LayoutTable[i].name == name) return i;
    throw "no control of that name";  // not a constant expression: a misspelt name fails to compile
}

constexpr std::array<std::size_t, 4> BoxIndices{IndexByName("Text1"), IndexByName("Text2"), IndexByName("Text3"),
                                                IndexByName("Text4")};

}  // namespace

std::size_t ControlIndexOf(TextBox box) { return BoxIndices[static_cast<std::size_t>(box)]; }

}  // namespace quenlix
