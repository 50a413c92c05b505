#pragma once

namespace quenlix {

class Platform;
class WindowState;

using Command = void (*)(WindowState&, Platform&);

// Runs one command of the shown window. A failure ends the command at the
// failed step and is reported; the program and every box stay as they were,
// so unsaved edits in Text1 survive a refused save.
void RunCommand(Command command, WindowState& window, Platform& platform);

// Runs the load sequence before the window is first shown. A failure there is
// reported and ends the program: there is nothing yet to keep. Returns whether
// the window is to be shown.
bool RunStartup(WindowState& window, Platform& platform);

}  // namespace quenlix
