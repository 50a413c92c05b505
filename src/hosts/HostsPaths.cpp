#include "hosts/HostsPaths.h"

#include "platform/Platform.h"

namespace quenlix {

std::u16string HostsPath(Platform& platform) {
    return platform.SystemWindowsDirectory() + u"\\system32\\drivers\\etc\\hosts";
}

std::u16string ProgramDataFolder(Platform& platform) { return platform.LocalAppDataDirectory() + u"\\Quenlix"; }

}  // namespace quenlix
