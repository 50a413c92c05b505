#include "ui/Win32Dpi.h"

#include "platform/Win32Failure.h"
#include "platform/Win32Handle.h"
#include "platform/Win32SystemLibraries.h"

namespace quenlix {

namespace {

template <typename Function>
void Bind(HMODULE module, const char* name, Function& function) {
    function = BoundFunction<Function>(module, name);
}

// A size the system gives for its own DPI, for a screen of another.
int Rescaled(int size, UINT dpi, const DpiFunctions& functions) {
    return MulDiv(size, static_cast<int>(dpi), static_cast<int>(SystemDpi(functions)));
}

}  // namespace

int TwipsToPixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), TwipsPerInch); }

// The edges are converted rather than the sizes, so that controls which
// touch in twips still touch in pixels and rounding never makes two overlap.
RECT PixelRect(const TwipsRect& bounds, UINT dpi) {
    return {TwipsToPixels(bounds.left, dpi), TwipsToPixels(bounds.top, dpi), TwipsToPixels(bounds.Right(), dpi),
            TwipsToPixels(bounds.Bottom(), dpi)};
}

DpiFunctions DpiFunctions::OfUser32() {
    DpiFunctions functions;
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    Bind(user32, "GetDpiForWindow", functions.getDpiForWindow);
    Bind(user32, "GetDpiForSystem", functions.getDpiForSystem);
    Bind(user32, "AdjustWindowRectExForDpi", functions.adjustWindowRectExForDpi);
    Bind(user32, "GetSystemMetricsForDpi", functions.getSystemMetricsForDpi);
    Bind(user32, "SystemParametersInfoForDpi", functions.systemParametersInfoForDpi);
    return functions;
}

UINT SystemDpi(const DpiFunctions& functions) {
    UINT dpi = 0;
    if (functions.getDpiForSystem != nullptr) {
        dpi = functions.getDpiForSystem();
    } else {
        const UniqueScreenDc screen(GetDC(nullptr));
        if (screen.Valid()) dpi = static_cast<UINT>(GetDeviceCaps(screen.Get(), LOGPIXELSY));
    }
    return dpi != 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

UINT DpiOf(HWND window, const DpiFunctions& functions) {
    const UINT dpi = functions.getDpiForWindow != nullptr ? functions.getDpiForWindow(window) : 0;
    return dpi != 0 ? dpi : SystemDpi(functions);
}

int SystemMetricForDpi(int metric, UINT dpi, const DpiFunctions& functions) {
    if (functions.getSystemMetricsForDpi != nullptr) return functions.getSystemMetricsForDpi(metric, dpi);
    return Rescaled(GetSystemMetrics(metric), dpi, functions);
}

// The classic call gives the frame of the system DPI; where the window's
// differs, the caller measures the client area it got and makes up the
// difference.
RECT WindowRectAround(RECT client, DWORD style, DWORD extendedStyle, UINT dpi, const DpiFunctions& functions) {
    const BOOL adjusted = functions.adjustWindowRectExForDpi != nullptr
                              ? functions.adjustWindowRectExForDpi(&client, style, FALSE, extendedStyle, dpi)
                              : AdjustWindowRectEx(&client, style, FALSE, extendedStyle);
    if (!adjusted) throw LastWin32Failure();
    return client;
}

UniqueFont CreateMessageFont(UINT dpi, const DpiFunctions& functions) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (functions.systemParametersInfoForDpi != nullptr) {
        if (!functions.systemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi))
            throw LastWin32Failure();
    } else {
        if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) throw LastWin32Failure();
        metrics.lfMessageFont.lfHeight = Rescaled(metrics.lfMessageFont.lfHeight, dpi, functions);
    }
    UniqueFont font(CreateFontIndirectW(&metrics.lfMessageFont));
    if (font.Get() == nullptr) throw LastWin32Failure();
    return font;
}

}  // namespace quenlix
