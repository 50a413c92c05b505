#pragma once

namespace quenlix {

class Platform;
class WindowState;

// Appends Text2 as one line; every failure after Text2 is read is ignored
// and nothing is ever reported.
void AppendText2(WindowState& window, Platform& platform);
// Appends Text2, a space and Text3 as one line. The file is opened before the
// boxes are read.
void AppendEntry(WindowState& window, Platform& platform);
// Replaces the hosts file with Text1 followed by CR LF, in the file's own
// encoding; asks first when the file changed since Text1 was filled or saved.
void SaveHostsFile(WindowState& window, Platform& platform);
// Appends the entry line unless a non-comment line of the file already holds
// it (letter case aside); otherwise names that line.
void AppendEntryUnlessDefined(WindowState& window, Platform& platform);

// Whether the window may close: when Text1 holds unsaved edits, the user
// chooses to save them first (the window closes only if the save went
// through), to throw them away, or to keep the window.
bool MayCloseWindow(WindowState& window, Platform& platform);

}  // namespace quenlix
