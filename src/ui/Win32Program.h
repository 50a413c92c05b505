#pragma once

#include <windows.h>

namespace quenlix {

// The whole program: the main window with the real platform, until it is closed.
// Returns the exit code.
int RunMainWindow(HINSTANCE instance, int showCommand);

}  // namespace quenlix
