#pragma once

#include <string>

namespace quenlix {

class Platform;

// The running system's hosts file, below the Windows folder the system itself
// reports, joined as it is to "\system32\drivers\etc\hosts". Every command
// works on this one path.
std::u16string HostsPath(Platform& platform);

}  // namespace quenlix
