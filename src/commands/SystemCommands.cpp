#include "commands/SystemCommands.h"

#include "hosts/HostsHistory.h"
#include "hosts/HostsPaths.h"
#include "platform/MessageStyle.h"
#include "platform/Platform.h"
#include "system/Privilege.h"
#include "system/ShellViews.h"

namespace quenlix {

void ShowHostsInExplorer(Platform& platform) { RevealInExplorer(platform, HostsPath(platform)); }

void OpenHostsInNotepad(Platform& platform) { OpenInNotepad(platform, HostsPath(platform)); }

void OpenHistoryFolder(Platform& platform) {
    platform.MakeDirectory(ProgramDataFolder(platform));
    platform.MakeDirectory(HistoryFolder(platform));
    OpenFolderInExplorer(platform, HistoryFolder(platform));
}

void GrantEveryoneAccess(Platform& platform) {
    if (platform.IsAdministrator()) {
        const GrantOutcome grant = GrantHostsAccess(platform, HostsPath(platform));
        if (grant.changed)
            platform.ShowMessage(u"完成", Mb::IconInformation, u"提示");
        else
            platform.ShowMessage(u"未能更改 Hosts 文件的访问权限（" + grant.failure + u"）。", Mb::IconWarning, u"提示");
    } else {
        platform.ShowMessage(u"需管理员权限运行", Mb::IconWarning, u"提示");
    }
}

}  // namespace quenlix
