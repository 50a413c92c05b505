#pragma once

#include <windows.h>

namespace quenlix {

class Win32MainWindow;

// The keys of the main window, wherever the focus is in it: Ctrl+S and F5
// press 保存到 Hosts and 刷新, Ctrl+/ switches entries (in the hosts text box
// only), Ctrl+F goes to the search input. They are an accelerator table,
// made once for the program's life: each comes to the window as WM_COMMAND
// with 1 in the high word and its id in the low word.
HACCEL FormAccelerators();

// Does what the key with this id does, as one command of the window, or
// nothing when that cannot run now: during the fill, or while a command
// runs.
void RunFormKey(Win32MainWindow& window, WORD id);

}  // namespace quenlix
