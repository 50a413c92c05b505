#pragma once

#include <string>

namespace quenlix {

class Platform;

// The running system's hosts file, below the Windows folder the system itself
// reports, joined as it is to "\system32\drivers\etc\hosts". Every command
// works on this one path.
std::u16string HostsPath(Platform& platform);

// The folder of the program's own files (history copies, the write journal,
// staged writes): "Quenlix" in the user's local application data folder, as
// the system reports it.
std::u16string ProgramDataFolder(Platform& platform);

}  // namespace quenlix
