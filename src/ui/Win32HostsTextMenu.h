#pragma once

#include <windows.h>

namespace quenlix {

class Win32MainWindow;

// The context menu of the hosts text box, in place of the box's own: the
// box's own six items (撤销 to 全选, greyed as the box greys them), then the
// program's commands on the hosts text: 注释/取消注释 and the 分组 submenu,
// which lists the text's groups, each checked while any of its entries is
// on. While the box is filled only 复制 and 全选 can be chosen; while a
// command runs the menu does not open.
//
// Shows it at `where`, as WM_CONTEXTMENU gives it (screen coordinates; -1,
// -1 for the keyboard, which puts it at the caret), and does what the user
// picks: the box's own items by the box's own messages, the program's as one
// command of the window.
void ShowHostsTextMenu(Win32MainWindow& window, LPARAM where);

}  // namespace quenlix
