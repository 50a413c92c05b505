#pragma once

#include <string_view>

namespace quenlix {

class Platform;
class WindowState;

// Whether the process runs with administrator rights: membership of the
// enabled built-in Administrators group (S-1-5-32-544) in the token. A
// non-elevated process of an administrator holds the group only for denial,
// so it gets false. Never fails: any failed call gives false.
bool IsAdministrator(Platform& platform);

// Gives the group Everyone full control of the hosts file, so that later
// writes need no elevation. Starts the command and does not wait for it.
void GrantHostsAccess(Platform& platform);

inline constexpr std::u16string_view GrantCommandLine =
    u"cmd /c cacls.exe C:\\Windows\\System32\\drivers\\etc\\hosts /e /t /p everyone:F";

// "获取访问限权": the access grant, for an administrator only.
void Command13(WindowState& window, Platform& platform);

}  // namespace quenlix
