#pragma once

#include <string>
#include <string_view>

namespace quenlix {

class Platform;

// The command line that gives the group Everyone full control of the hosts
// file at `hostsPath`: cacls edits the file's access list (/e) rather than
// replacing it. A path with a space is quoted.
std::u16string GrantCommandLine(std::u16string_view hostsPath);

// Starts the grant for the hosts file at `hostsPath`, so that later writes
// need no elevation, and does not wait for it.
void GrantHostsAccess(Platform& platform, std::u16string_view hostsPath);

}  // namespace quenlix
