#include "ui/Win32HostsTextMenu.h"

#include <windowsx.h>

#include <span>
#include <string>
#include <vector>

#include "commands/DiagnosisCommands.h"
#include "commands/EntrySwitchCommands.h"
#include "platform/Win32Failure.h"
#include "platform/Win32Text.h"
#include "ui/Win32GroupNameDialog.h"
#include "ui/Win32Gui.h"
#include "ui/Win32MainWindow.h"

namespace quenlix {

namespace {

// What the box lets an item do now.
struct BoxState {
    bool canUndo;
    bool selection;
    bool clipboardText;
    // Neither read-only nor being filled.
    bool writable;
    bool allSelected;
};

// When an item can be chosen: the box's own rules for its own items.
enum class Enabled { CanUndo, Selection, SelectionWritable, ClipboardWritable, NotAllSelected, Writable };

bool IsEnabled(Enabled rule, const BoxState& box) {
    switch (rule) {
        case Enabled::CanUndo: return box.canUndo && box.writable;
        case Enabled::Selection: return box.selection;
        case Enabled::SelectionWritable: return box.selection && box.writable;
        case Enabled::ClipboardWritable: return box.clipboardText && box.writable;
        case Enabled::NotAllSelected: return !box.allSelected;
        case Enabled::Writable: return box.writable;
    }
    return false;
}

enum class RowKind { Separator, BoxMessage, Command, Groups };

struct MenuRow {
    RowKind kind;
    std::u16string_view caption;
    // The keys that do the same, shown at the right.
    std::u16string_view keys;
    Enabled enabled;
    // The box's own message, for the box's own items.
    UINT message;
    Command command;
};

constexpr MenuRow BoxItem(std::u16string_view caption, std::u16string_view keys, Enabled enabled, UINT message) {
    return {RowKind::BoxMessage, caption, keys, enabled, message, nullptr};
}
constexpr MenuRow CommandItem(std::u16string_view caption, std::u16string_view keys, Command command) {
    return {RowKind::Command, caption, keys, Enabled::Writable, 0, command};
}
constexpr MenuRow Separator{RowKind::Separator, {}, {}, Enabled::Writable, 0, nullptr};

// The menu, top to bottom. Each item's command id is its row number plus one.
const MenuRow Rows[] = {
    BoxItem(u"撤销(&U)", u"Ctrl+Z", Enabled::CanUndo, EM_UNDO),
    BoxItem(u"剪切(&T)", u"Ctrl+X", Enabled::SelectionWritable, WM_CUT),
    BoxItem(u"复制(&C)", u"Ctrl+C", Enabled::Selection, WM_COPY),
    BoxItem(u"粘贴(&P)", u"Ctrl+V", Enabled::ClipboardWritable, WM_PASTE),
    BoxItem(u"删除(&D)", u"Del", Enabled::SelectionWritable, WM_CLEAR),
    BoxItem(u"全选(&A)", u"Ctrl+A", Enabled::NotAllSelected, EM_SETSEL),
    Separator,
    CommandItem(u"注释/取消注释(&M)", u"Ctrl+/", AsCommand<SwitchSelectedEntries>()),
    {RowKind::Groups, u"分组(&G)", {}, Enabled::Writable, 0, nullptr},
    Separator,
    CommandItem(u"检查 Hosts 文件(&K)", u"F8", AsCommand<ShowHostsCheck>()),
    CommandItem(u"解析测试(&R)", {}, AsCommand<ShowNameTrace>()),
    CommandItem(u"压缩条目(&Z)", {}, AsCommand<PackEntryLines>()),
    // More commands on the hosts text go here, one CommandItem row each. A
    // separator with nothing below it is left out.
};

// The 分组 submenu's items: one per group, numbered from GroupIds; then the
// new group.
constexpr UINT NewGroupId = 0x0FFF;
constexpr UINT GroupIds = 0x1000;

BoxState ReadBoxState(HWND box, bool filling) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const auto length = static_cast<DWORD>(GetWindowTextLengthW(box));
    return {SendMessageW(box, EM_CANUNDO, 0, 0) != 0, start != end, IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE,
            !filling && (GetWindowLongPtrW(box, GWL_STYLE) & ES_READONLY) == 0, start == 0 && end == length};
}

// A group's name as an item: '&' would be taken for an access key, and a
// tab for the start of the keys column.
std::wstring GroupCaption(std::u16string_view name) {
    std::wstring caption;
    for (const char16_t c : name) {
        if (c == u'&') caption += L'&';
        caption += c == u'\t' ? L' ' : static_cast<wchar_t>(c);
    }
    return caption;
}

void Append(HMENU menu, UINT flags, UINT_PTR id, const std::wstring& caption) {
    if (!AppendMenuW(menu, flags, id, caption.c_str())) throw LastWin32Failure();
}

UniqueMenu GroupsMenu(const std::vector<HostsGroup>& groups) {
    UniqueMenu menu(CreatePopupMenu());
    if (menu.Get() == nullptr) throw LastWin32Failure();
    if (groups.empty()) Append(menu.Get(), MF_STRING | MF_GRAYED, 0, L"（没有分组）");
    for (std::size_t i = 0; i < groups.size(); ++i)
        Append(menu.Get(), MF_STRING | (groups[i].anyOn ? MF_CHECKED : MF_UNCHECKED), GroupIds + i,
               GroupCaption(groups[i].name));
    if (!AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr)) throw LastWin32Failure();
    Append(menu.Get(), MF_STRING, NewGroupId, L"将选中行设为分组(&N)…");
    return menu;
}

UniqueMenu BuildMenu(const BoxState& box, const std::vector<HostsGroup>& groups) {
    UniqueMenu menu(CreatePopupMenu());
    if (menu.Get() == nullptr) throw LastWin32Failure();
    const std::span<const MenuRow> rows(Rows);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const MenuRow& row = rows[i];
        if (row.kind == RowKind::Separator) {
            if (i + 1 < rows.size() && rows[i + 1].kind != RowKind::Separator &&
                !AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr))
                throw LastWin32Failure();
            continue;
        }
        const UINT grey = IsEnabled(row.enabled, box) ? MF_ENABLED : MF_GRAYED;
        std::wstring caption = ToWide(row.caption);
        if (!row.keys.empty()) caption += L"\t" + ToWide(row.keys);
        if (row.kind != RowKind::Groups) {
            Append(menu.Get(), MF_STRING | grey, i + 1, caption);
            continue;
        }
        UniqueMenu submenu = GroupsMenu(groups);
        Append(menu.Get(), MF_POPUP | grey, reinterpret_cast<UINT_PTR>(submenu.Get()), caption);
        submenu.Release();  // the menu owns it now
    }
    return menu;
}

// From the keyboard, the menu opens at the caret, as the box's own does.
POINT MenuPoint(HWND box, LPARAM where) {
    POINT point{GET_X_LPARAM(where), GET_Y_LPARAM(where)};
    if (point.x != -1 || point.y != -1) return point;
    if (!GetCaretPos(&point)) point = {0, 0};
    ClientToScreen(box, &point);
    return point;
}

void RunChoice(Win32MainWindow& window, HWND box, UINT chosen) {
    if (chosen >= GroupIds) {
        const std::size_t group = chosen - GroupIds;
        window.RunWindowCommand([group](WindowState& state, Platform&) { SwitchHostsGroup(state, group); });
    } else if (chosen == NewGroupId) {
        HWND owner = window.Handle();
        window.RunWindowCommand([owner](WindowState& state, Platform&) {
            MakeSelectedLinesGroup(state, [owner] { return AskGroupName(owner); });
        });
    } else if (chosen >= 1 && chosen <= std::size(Rows)) {
        const MenuRow& row = Rows[chosen - 1];
        if (row.kind == RowKind::Command) window.RunWindowCommand(row.command);
        if (row.kind == RowKind::BoxMessage) SendMessageW(box, row.message, 0, row.message == EM_SETSEL ? -1 : 0);
    }
}

}  // namespace

void ShowHostsTextMenu(Win32MainWindow& window, LPARAM where) {
    if (window.CommandRunning()) return;
    HWND box = window.ControlWindow("Text1");
    if (GetFocus() != box) SetFocus(box);
    // Made as a command of its own, so that a failure (memory) is reported;
    // the item chosen then runs as the next.
    UniqueMenu menu;
    window.RunWindowCommand([&](WindowState& state, Platform&) {
        const bool filling = window.Filling();
        menu = BuildMenu(ReadBoxState(box, filling), filling ? std::vector<HostsGroup>{} : HostsTextGroups(state));
    });
    if (menu.Get() == nullptr) return;
    const POINT point = MenuPoint(box, where);
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON,
                                                         point.x, point.y, 0, window.Handle(), nullptr));
    RunChoice(window, box, chosen);
}

}  // namespace quenlix
