#pragma once

#include <windows.h>

#include "ui/Win32Dpi.h"

namespace quenlix {

// A fixed single frame: nothing in the layout follows a change of size, so
// the user gets no sizing border and no maximise button.
inline constexpr DWORD MainWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
inline constexpr DWORD MainWindowExtendedStyle = 0;

// The outer size of the main window around a client area of `client` pixels.
SIZE OuterSize(SIZE client, UINT dpi, const DpiFunctions& functions);

// Where the main window first opens, given its outer rectangle at the design position
// and the outer width it takes when widened. The design position holds when
// the window fits the work area there at both widths, since widening keeps
// the left edge; otherwise the wide window is centred, and the narrow one
// opens at the same left and top edges, never above or left of the work area.
RECT PlaceOnWorkArea(const RECT& designed, LONG wideWidth, const RECT& work);

// The main window's first outer rectangle on the screen for client areas of these
// sizes, narrow and wide.
RECT InitialOuterRect(SIZE narrowClient, SIZE wideClient, UINT dpi, const DpiFunctions& functions);

}  // namespace quenlix
