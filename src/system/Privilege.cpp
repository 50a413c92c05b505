#include "system/Privilege.h"

#include "platform/MessageStyle.h"
#include "platform/Platform.h"

namespace quenlix {

bool IsAdministrator(Platform& platform) {
    static constexpr std::uint8_t NtAuthority[6] = {0, 0, 0, 0, 0, 5};
    static constexpr std::uint32_t BuiltinAdministrators[8] = {32, 544, 0, 0, 0, 0, 0, 0};

    Platform::Sid sid = nullptr;
    if (!platform.AllocateAndInitializeSid(NtAuthority, 2, BuiltinAdministrators, sid)) return false;
    bool isMember = false;
    const bool answer = platform.CheckTokenMembership(sid, isMember) && isMember;
    platform.FreeSid(sid);
    return answer;
}

void GrantHostsAccess(Platform& platform) {
    platform.StartProgram(GrantCommandLine, WindowStyle::Minimized);
}

void Command13(WindowState&, Platform& platform) {
    if (IsAdministrator(platform)) {
        GrantHostsAccess(platform);
        // Shown as soon as the grant has started: its outcome is never known.
        platform.ShowMessage(u"完成", MessageStyle::OkInformation, u"提示");
    } else {
        platform.ShowMessage(u"需管理员权限运行", MessageStyle::OkWarning, u"提示");
    }
}

}  // namespace quenlix
