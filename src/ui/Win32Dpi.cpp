#include "ui/Win32Dpi.h"

#include "platform/Win32Failure.h"

namespace quenlix {

int TwipsToPixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), TwipsPerInch); }

float PixelsToTwips(int pixels, UINT dpi) {
    return static_cast<float>(pixels) * TwipsPerInch / static_cast<float>(dpi);
}

// The edges are converted rather than the sizes, so that controls which
// touch in twips still touch in pixels and rounding never makes two overlap.
RECT PixelRect(const TwipsRect& bounds, UINT dpi) {
    return {TwipsToPixels(bounds.left, dpi), TwipsToPixels(bounds.top, dpi), TwipsToPixels(bounds.Right(), dpi),
            TwipsToPixels(bounds.Bottom(), dpi)};
}

UINT DpiOf(HWND window) {
    const UINT dpi = GetDpiForWindow(window);
    return dpi != 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

UniqueFont CreateMessageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi))
        throw LastWin32Failure();
    UniqueFont font(CreateFontIndirectW(&metrics.lfMessageFont));
    if (font.Get() == nullptr) throw LastWin32Failure();
    return font;
}

}  // namespace quenlix
