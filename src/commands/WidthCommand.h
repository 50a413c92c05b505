#pragma once

namespace quenlix {

class WindowState;

// Widens a narrow window, bringing the right-hand group into view; brings any
// other width back to the narrow one.
void ToggleWidth(WindowState& window);

}  // namespace quenlix
