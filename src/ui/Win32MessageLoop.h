#pragma once

#include <windows.h>

namespace quenlix {

// The keyboard of the main window, as a dialog box has it: Tab and Shift+Tab walk the
// tab order, Space and Enter press the focused button. Enter and Esc run no
// command anywhere else. The window's own keys (Ctrl+S, F5, Ctrl+/, Ctrl+F)
// come first. Returns true when the message was handled here.
bool TranslateFormKeyboard(HWND form, MSG& message);

// Takes events until the main window is closed; returns the program's exit code.
int RunMessageLoop(HWND form);

}  // namespace quenlix
