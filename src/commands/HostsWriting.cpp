#include "commands/HostsWriting.h"

#include "hosts/HostsPaths.h"

namespace quenlix {

std::optional<HostsWritten> WriteHostsFile(Platform& platform, const HostsEditor& editor, Creation creation) {
    return WriteHostsInPlace(platform, HostsPath(platform), editor, creation);
}

}  // namespace quenlix
