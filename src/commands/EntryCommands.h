#pragma once

namespace quenlix {

class Platform;
class WindowState;

// Appends what the address box holds as one line; every failure after it is read is ignored
// and nothing is ever reported. A line that reads as an entry (FirstLineProblem) which Windows
// would not use is appended only if the user says so.
void AppendAddressLine(WindowState& window, Platform& platform);
// Appends the address box, a space and the host-name box as one line. The file is opened before the
// boxes are read. An entry Windows would not use (FirstEntryProblem) is appended only if the user
// says so.
void AppendEntry(WindowState& window, Platform& platform);
// Appends the entry line unless a non-comment line of the file already holds
// it (letter case aside); otherwise names that line. After that test, it asks about an
// entry Windows would not use, as AppendEntry does.
void AppendEntryUnlessDefined(WindowState& window, Platform& platform);

}  // namespace quenlix
