#pragma once

#include <windows.h>

#include <string_view>

#include "ui/Layout.h"

namespace quenlix {

// The most characters a text box takes: GetWindowTextLengthW counts in an
// int, and one more character than this would not fit.
inline constexpr WPARAM TextBoxCapacity = 0x7FFFFFFE;

// Creates one control of the layout as a child of `parent`, with no size
// yet: the window places every control when it knows its DPI.
HWND CreateControl(const Control& control, HWND parent, int id, HINSTANCE instance);

// A tooltip that shows `text` while the mouse pointer rests on `tool`. The
// tooltip window is owned by `owner` and goes with it.
HWND CreateTooltip(HWND owner, HWND tool, std::u16string_view text, HINSTANCE instance);

}  // namespace quenlix
