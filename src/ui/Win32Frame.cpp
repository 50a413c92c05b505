#include "ui/Win32Frame.h"

#include <algorithm>

#include "ui/Layout.h"
#include "ui/Win32Dpi.h"

namespace quenlix {

namespace {

RECT AroundClient(RECT client, UINT dpi, const DpiFunctions& functions) {
    return WindowRectAround(client, MainWindowStyle, MainWindowExtendedStyle, dpi, functions);
}

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

}  // namespace

SIZE OuterSize(SIZE client, UINT dpi, const DpiFunctions& functions) {
    const RECT outer = AroundClient({0, 0, client.cx, client.cy}, dpi, functions);
    return {outer.right - outer.left, outer.bottom - outer.top};
}

RECT PlaceOnWorkArea(const RECT& designed, LONG wideWidth, const RECT& work) {
    const RECT wide{designed.left, designed.top, designed.left + wideWidth, designed.bottom};
    if (Contains(work, designed) && Contains(work, wide)) return designed;

    const LONG width = designed.right - designed.left;
    const LONG height = designed.bottom - designed.top;
    const LONG left = std::max(work.left, work.left + (work.right - work.left - wideWidth) / 2);
    const LONG top = std::max(work.top, work.top + (work.bottom - work.top - height) / 2);
    return {left, top, left + width, top + height};
}

RECT InitialOuterRect(SIZE narrowClient, SIZE wideClient, UINT dpi, const DpiFunctions& functions) {
    const POINT origin{TwipsToPixels(DesignClientLeft, dpi), TwipsToPixels(DesignClientTop, dpi)};
    const RECT designed =
        AroundClient({origin.x, origin.y, origin.x + narrowClient.cx, origin.y + narrowClient.cy}, dpi, functions);

    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromRect(&designed, MONITOR_DEFAULTTONEAREST), &monitor)) return designed;
    return PlaceOnWorkArea(designed, OuterSize(wideClient, dpi, functions).cx, monitor.rcWork);
}

}  // namespace quenlix
