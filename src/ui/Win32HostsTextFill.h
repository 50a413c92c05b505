#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "ui/PiecewiseFill.h"
#include "ui/Win32Gui.h"

namespace quenlix {

// The hosts text box filled with a long text a piece at a time, each piece
// on a timer tick of the main window, so that the window answers, moves and
// closes between pieces. While it fills, the box is hidden and read-only and
// an empty box stands in its place, a progress bar lies over the lower edge,
// the title tells the per cent, and the controls that would act on half a
// file are disabled. Once the last piece is in, Finish leaves the box as a
// fill in one go (GiveEditBuffer) leaves it: caret, selection and view at the
// start, nothing to undo, not modified. The bar, full, stays a moment longer, so that the user sees it
// reach the end.
class Win32HostsTextFill {
public:
    // Empties the box into a buffer with room for the whole text, disables
    // `held` and shows the bar at `barRect` (the main window's client
    // coordinates).
    Win32HostsTextFill(HWND form, HWND box, std::vector<HWND> held, std::u16string_view text, RECT barRect,
                       HINSTANCE instance);
    // Takes the bar away, and gives the box, the controls and the title back
    // when the fill ends early.
    ~Win32HostsTextFill();
    Win32HostsTextFill(const Win32HostsTextFill&) = delete;
    Win32HostsTextFill& operator=(const Win32HostsTextFill&) = delete;

    // Inserts the next piece. Throws when the box did not take all of it.
    void InsertPiece();
    bool AllInserted() const { return pieces_.Done(); }
    // The state a fill in one go leaves; the controls and the title go back.
    // Only the bar stays.
    void Finish();
    bool Finished() const { return givenBack_; }

    // Puts the bar at `barRect`, and what stands for the box where the box is.
    void Place(RECT barRect);

private:
    void ShowProgress();
    void GiveBack();

    HWND form_;
    HWND box_;
    std::vector<HWND> held_;
    std::u16string text_;  // NULs shown, as the box shows them
    PiecewiseFill pieces_;
    std::wstring title_;
    LONG_PTR boxStyle_;
    UniqueWindow stand_;  // in the hidden box's place
    UniqueWindow bar_;
    int percentShown_ = -1;
    bool givenBack_ = false;
};

}  // namespace quenlix
