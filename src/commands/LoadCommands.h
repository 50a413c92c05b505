#pragma once

namespace quenlix {

class Platform;
class WindowState;

// What the program does after the load sequence.
enum class LoadOutcome {
    ShowWindow,
    // The hosts file is missing and the user declined to create it.
    Quit,
};

// The load sequence: the rights suffix in the title, the hosts file into
// the hosts text box, and the offer to create a missing hosts file. Runs before the window
// is first shown, and again on each refresh.
LoadOutcome LoadHostsWindow(WindowState& window, Platform& platform);

// Runs the load sequence again, after asking whether to throw away the
// edits when the hosts text box holds unsaved ones. Closes the window when the user
// declines to create a missing file.
void RefreshHostsFile(WindowState& window, Platform& platform);

}  // namespace quenlix
