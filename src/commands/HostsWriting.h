#pragma once

#include <optional>

#include "hosts/HostsWrite.h"
#include "platform/Platform.h"

namespace quenlix {

// Writes the running system's hosts file the one way every command writes
// it (WriteHostsInPlace). No value when nothing was written because the
// edit said so.
std::optional<HostsWritten> WriteHostsFile(Platform& platform, const HostsEditor& editor,
                                           Creation creation = Creation::OpenOrCreate);

}  // namespace quenlix
