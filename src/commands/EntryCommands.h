#pragma once

namespace quenlix {

class Platform;
class WindowState;

// Appends what the address box holds as one line; every failure after it is read is ignored
// and nothing is ever reported.
void AppendAddressLine(WindowState& window, Platform& platform);
// Appends the address box, a space and the host-name box as one line. The file is opened before the
// boxes are read.
void AppendEntry(WindowState& window, Platform& platform);
// Appends the entry line unless a non-comment line of the file already holds
// it (letter case aside); otherwise names that line.
void AppendEntryUnlessDefined(WindowState& window, Platform& platform);

}  // namespace quenlix
