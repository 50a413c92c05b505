#pragma once

#include <windows.h>

#include "ui/Layout.h"
#include "ui/Win32Gui.h"

namespace quenlix {

inline constexpr int TwipsPerInch = 1440;

int TwipsToPixels(int twips, UINT dpi);

// A layout rectangle on a screen of this DPI, in client coordinates.
RECT PixelRect(const TwipsRect& bounds, UINT dpi);

// The functions of user32 that measure for a DPI other than the system's.
// They came with Windows 10 version 1607; on Windows 7, 8 and 8.1 each is
// null, and the classic call for the system DPI stands in for it, scaled
// where that is needed. They are bound at run time, never imported: an
// import that the system lacks stops the program from starting at all.
struct DpiFunctions {
    decltype(&::GetDpiForWindow) getDpiForWindow = nullptr;
    decltype(&::GetDpiForSystem) getDpiForSystem = nullptr;
    decltype(&::AdjustWindowRectExForDpi) adjustWindowRectExForDpi = nullptr;
    decltype(&::GetSystemMetricsForDpi) getSystemMetricsForDpi = nullptr;
    decltype(&::SystemParametersInfoForDpi) systemParametersInfoForDpi = nullptr;

    // Bound from the user32 the program has loaded, by its module handle.
    static DpiFunctions OfUser32();
};

// The DPI of the primary screen, which the design position is measured on.
UINT SystemDpi(const DpiFunctions& functions);

// The DPI the main window is drawn at: that of the monitor the window is on, where the
// system tells it, and otherwise the system's.
UINT DpiOf(HWND window, const DpiFunctions& functions);

// GetSystemMetrics for a screen of this DPI.
int SystemMetricForDpi(int metric, UINT dpi, const DpiFunctions& functions);

// The window rectangle around a client rectangle, for a screen of this DPI.
RECT WindowRectAround(RECT client, DWORD style, DWORD extendedStyle, UINT dpi, const DpiFunctions& functions);

// The system's message font, at its size for this DPI.
UniqueFont CreateMessageFont(UINT dpi, const DpiFunctions& functions);

}  // namespace quenlix
