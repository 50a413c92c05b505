#include "hosts/Backup.h"

#include "hosts/HostsPaths.h"
#include "hosts/HostsStore.h"
#include "hosts/SafeWrite.h"
#include "platform/MessageStyle.h"
#include "platform/Platform.h"
#include "system/ShellViews.h"

namespace quenlix {

std::u16string BackupPath(Platform& platform) { return platform.ProgramDirectory() + u"\\备份hosts"; }

void Command14(WindowState&, Platform& platform) {
    const std::u16string hosts = HostsPath(platform);
    if (!FileExists(platform, hosts)) {
        platform.ShowMessage(u"未在计算机系统默认位置发现Hosts文件", MessageStyle::OkWarningSystemModal, u"错误");
        return;
    }
    CopyFileOverwrite(platform, hosts, BackupPath(platform));

    // The prompt names the folder, not the file, with one backslash after it.
    const int answer = platform.ShowMessage(
        u"备份成功\n" + platform.ProgramDirectory() + u"\\\n\n是否打开备份Hosts文件位置",
        MessageStyle::YesNoInformationSystemModal, u"提示");
    if (answer == Answer::Yes) RevealInExplorer(platform, BackupPath(platform));
}

void Command15(WindowState&, Platform& platform) {
    const std::u16string backup = BackupPath(platform);
    if (!FileExists(platform, backup)) {
        platform.ShowMessage(u"未在程序目录下发现Hosts备份文件", MessageStyle::OkWarningSystemModal, u"错误");
        return;
    }
    CopyFileOverwrite(platform, backup, HostsPath(platform));
    platform.ShowMessage(u"备份Hosts文件还原到系统Hosts成功", MessageStyle::OkInformationSystemModal, u"提示");
}

}  // namespace quenlix
