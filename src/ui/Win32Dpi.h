#pragma once

#include <windows.h>

#include "ui/Layout.h"
#include "ui/Win32Gui.h"

namespace quenlix {

inline constexpr int TwipsPerInch = 1440;

int TwipsToPixels(int twips, UINT dpi);
float PixelsToTwips(int pixels, UINT dpi);

// A layout rectangle on a screen of this DPI, in client coordinates.
RECT PixelRect(const TwipsRect& bounds, UINT dpi);

// The DPI Form1 is drawn at: that of the monitor the window is on.
UINT DpiOf(HWND window);

// The system's message font, at its size for this DPI.
UniqueFont CreateMessageFont(UINT dpi);

}  // namespace quenlix
