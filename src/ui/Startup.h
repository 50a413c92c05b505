#pragma once

namespace quenlix {

class Platform;
class WindowState;

// The load sequence: the rights suffix in the title, the hosts file into
// Text1, and the offer to create a missing hosts file. Runs before the window
// is first shown, and again on each refresh.
void Form_Load(WindowState& window, Platform& platform);

// "刷新": runs the load sequence again; unsaved edits in Text1 are replaced.
void Command4(WindowState& window, Platform& platform);

}  // namespace quenlix
