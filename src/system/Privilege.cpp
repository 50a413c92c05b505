#include "system/Privilege.h"

#include "platform/MessageStyle.h"
#include "platform/Platform.h"

namespace quenlix {

std::u16string GrantCommandLine(std::u16string_view hostsPath) {
    std::u16string path(hostsPath);
    if (path.find(u' ') != std::u16string::npos) path = u"\"" + path + u"\"";
    return u"cmd /c cacls.exe " + path + u" /e /t /p everyone:F";
}

void GrantHostsAccess(Platform& platform, std::u16string_view hostsPath) {
    platform.StartProgram(GrantCommandLine(hostsPath), WindowStyle::Minimized);
}

}  // namespace quenlix
