#pragma once

#include <windows.h>

namespace quenlix {

// How a large text box takes the focus and is painted afterwards, for the
// window procedure that subclasses it (each function that forwards a
// message does so with DefSubclassProc).

// WM_SETFOCUS, without redrawing text that is already shown.
LRESULT TakeFocusWithoutRedraw(HWND box, WPARAM wParam, LPARAM lParam);

// After a click in the box has been handled.
void PutOffFocusFrame(HWND box);

// WM_TIMER: whether it is the frame's, and drawing the frame.
bool IsFocusFrameTimer(WPARAM timer);
LRESULT DrawFocusFrame(HWND box);

// WM_PAINT with nothing inside the frame to draw.
bool NothingToPaintInside(HWND box);
LRESULT PaintNothing(HWND box);

}  // namespace quenlix
