#include "system/Privilege.h"

#include "platform/MessageStyle.h"
#include "platform/Platform.h"

namespace quenlix {

void GrantHostsAccess(Platform& platform) { platform.StartProgram(GrantCommandLine, WindowStyle::Minimized); }

}  // namespace quenlix
