#pragma once

#include <windows.h>

#include <cstddef>

#include "ui/PiecewiseFill.h"

namespace quenlix {

// The whole program: the main window with the real platform, until it is closed.
// Returns the exit code. A hosts text of `piecewiseFrom` characters or more
// fills the hosts text box in pieces after the window is shown.
int RunMainWindow(HINSTANCE instance, int showCommand, std::size_t piecewiseFrom = PiecewiseFillThreshold);

}  // namespace quenlix
