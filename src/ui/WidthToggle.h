#pragma once

namespace quenlix {

class Platform;
class WindowState;

// Outer widths of Form1 in twips: at the narrow width the right-hand group
// lies beyond the client area; the wide width brings it into view.
inline constexpr float NarrowWidth = 9300;
inline constexpr float WideWidth = 12700;

// "测试功能 →": widens a window that is exactly at the narrow width, and
// brings any other width back to the narrow one.
void Command10(WindowState& window, Platform& platform);

}  // namespace quenlix
