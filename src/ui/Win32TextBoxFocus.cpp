#include "ui/Win32TextBoxFocus.h"

#include <commctrl.h>

#include "ui/Win32CommonControls.h"
#include "ui/Win32Gui.h"

namespace quenlix {

namespace {

// Far from the small ids an edit control gives its own timers (it scrolls on
// one while a selection is dragged).
constexpr UINT_PTR FocusFrameTimer = 0x5146;

// Drawing the frame draws the box's two scroll bars too, which under Wine
// takes about 8 ms whatever the file and whatever part is to be drawn. So a
// click that brings the focus shows its picked line first: the frame waits
// on a timer, whose message comes after all input and painting, and a click
// that ends while it waits starts the wait again.
void DrawFocusFrameSoon(HWND box) {
    if (!SetTimer(box, FocusFrameTimer, USER_TIMER_MINIMUM, nullptr)) DrawFocusFrame(box);
}

}  // namespace

bool IsFocusFrameTimer(WPARAM timer) { return timer == FocusFrameTimer; }

// A box that takes the focus with nothing selected shows nothing new: the
// caret is drawn apart from the text. Yet the control redraws all of it, and
// under Wine each line it draws walks the control's list of lines from the
// first: scrolled near the end of a million lines, that one redraw takes
// over half a second, and the first click into the hosts text box would wait for it
// before the picked line reached the address box. So a redraw that only the focus
// asked for is dropped; one that was pending already, or a selection that
// must now be shown, is kept.
LRESULT TakeFocusWithoutRedraw(HWND box, WPARAM wParam, LPARAM lParam) {
    const bool nothingPending = GetUpdateRect(box, nullptr, FALSE) == FALSE;
    const LRESULT result = BoundCommonControls().defSubclassProc(box, WM_SETFOCUS, wParam, lParam);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (nothingPending && start == end) {
        // What the frame encloses is left as it is; the frame, which shows
        // the focus with visual styles, is drawn again a moment later.
        RedrawWindow(box, nullptr, nullptr, RDW_VALIDATE | RDW_NOFRAME | RDW_NOERASE);
        DrawFocusFrameSoon(box);
    }
    return result;
}

void PutOffFocusFrame(HWND box) {
    if (KillTimer(box, FocusFrameTimer)) DrawFocusFrameSoon(box);
}

// A paint with nothing to draw inside the frame, as after the frame alone
// was redrawn, still costs the control its walk over the lines in view.
// With only the frame to redraw, Wine says there is an update but gives an
// empty rectangle.
bool NothingToPaintInside(HWND box) {
    RECT inside{};
    GetUpdateRect(box, &inside, FALSE);
    return IsRectEmpty(&inside) != FALSE;
}

LRESULT PaintNothing(HWND box) {
    PAINTSTRUCT paint{};
    if (BeginPaint(box, &paint) != nullptr) EndPaint(box, &paint);
    return 0;
}

// Only the frame: asked to paint the whole window, the themed box paints its
// frame's background over the text as well, and the text, valid, would not
// be drawn again. The region is in the box's client coordinates, so the
// frame lies outside the client rectangle.
LRESULT DrawFocusFrame(HWND box) {
    KillTimer(box, FocusFrameTimer);
    RECT window{};
    RECT client{};
    POINT origin{};
    if (!GetWindowRect(box, &window) || !GetClientRect(box, &client) || !ClientToScreen(box, &origin)) return 0;
    const UniqueRegion frame(CreateRectRgn(window.left - origin.x, window.top - origin.y, window.right - origin.x,
                                           window.bottom - origin.y));
    const UniqueRegion inside(CreateRectRgn(client.left, client.top, client.right, client.bottom));
    if (!frame.Valid() || !inside.Valid() || CombineRgn(frame.Get(), frame.Get(), inside.Get(), RGN_DIFF) == ERROR)
        return 0;
    RedrawWindow(box, nullptr, frame.Get(), RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_NOCHILDREN);
    return 0;
}

}  // namespace quenlix
