#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "ui/PiecewiseFill.h"

namespace quenlix {

// The main window with the real platform, until it is closed. Returns the
// exit code. A hosts text of `piecewiseFrom` characters or more fills the
// hosts text box in pieces after the window is shown.
int RunMainWindow(HINSTANCE instance, int showCommand, std::size_t piecewiseFrom = PiecewiseFillThreshold);

// The second instance's staged write with the real platform, given the
// arguments after the program's name: no window, no message box, an exit
// code.
int RunStagedWriteProgram(const std::vector<std::u16string>& arguments);

// The command line for scripts with the real platform, writing to the
// console or the redirected output it was started with: no window, no
// message box, an exit code.
int RunScriptProgram(const std::vector<std::u16string>& arguments);

}  // namespace quenlix
