#pragma once

namespace quenlix {

class Platform;
class WindowState;

// Replaces the hosts file with the hosts text in the file's own encoding, adding CR LF
// when the hosts text box does not end with a line break. The file is opened once: what
// it holds is read through that handle, and the save asks first when it
// changed since the hosts text box was filled or saved.
void SaveHostsFile(WindowState& window, Platform& platform);

// Whether the window may close (or the Windows session end): when the hosts text box
// holds unsaved edits, the user chooses to save them first (the window
// closes only if the save went through), to throw them away, or to keep the
// window.
bool MayCloseWindow(WindowState& window, Platform& platform);

}  // namespace quenlix
