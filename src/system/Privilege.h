#pragma once

#include <string_view>

namespace quenlix {

class Platform;

inline constexpr std::u16string_view GrantCommandLine =
    u"cmd /c cacls.exe C:\\Windows\\System32\\drivers\\etc\\hosts /e /t /p everyone:F";

// Gives the group Everyone full control of the hosts file, so that later
// writes need no elevation. Starts the command and does not wait for it.
void GrantHostsAccess(Platform& platform);

}  // namespace quenlix
