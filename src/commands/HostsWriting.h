#pragma once

#include "hosts/HostsWrite.h"
#include "platform/Platform.h"

namespace quenlix {

// How a command tells the user about its write.
enum class Reporting {
    Shown,
    // Command1 never reports: what would be shown is left out. Failures still
    // reach the caller, which drops them.
    Silent,
};

// Writes the running system's hosts file the one way every command writes
// it (WriteHostsInPlace), and tells the user what the command itself does
// not: that the file's read-only, hidden or system attributes could not be
// given back, or that the file, read back, did not hold what was written.
HostsWriteResult WriteHostsFile(Platform& platform, const HostsEditor& editor, Reporting reporting = Reporting::Shown,
                                Creation creation = Creation::OpenOrCreate);

}  // namespace quenlix
