#include "hosts/HostsPaths.h"

#include "platform/Platform.h"

namespace quenlix {

std::u16string HostsPath(Platform& platform) {
    return platform.SystemWindowsDirectory() + u"\\system32\\drivers\\etc\\hosts";
}

}  // namespace quenlix
