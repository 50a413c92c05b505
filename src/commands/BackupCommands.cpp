#include "commands/BackupCommands.h"

#include "commands/HostsChange.h"
#include "hosts/HostsPaths.h"
#include "hosts/SafeWrite.h"
#include "platform/MessageStyle.h"
#include "platform/Platform.h"
#include "system/ShellViews.h"

namespace quenlix {

namespace {

// The backup's messages stay in front of every window:
// style 69680 for the warnings (OK, warning icon) and 69696 for the report
// (OK, information icon), 69700 for the question (Yes and No).
constexpr std::uint32_t InFront = Mb::SystemModal | Mb::SetForeground;

}  // namespace

void BackUpHostsFile(Platform& platform) {
    const std::u16string hosts = HostsPath(platform);
    if (!platform.FileExists(hosts)) {
        platform.ShowMessage(u"未在计算机系统默认位置发现Hosts文件", Mb::Ok | Mb::IconWarning | InFront, u"错误");
        return;
    }
    WriteOwnFile(platform, BackupPath(platform), platform.ReadFileBytes(hosts));

    // The prompt names the folder, not the file, with one backslash after it.
    const int answer = platform.ShowMessage(
        u"备份成功\n" + platform.ProgramDirectory() + u"\\\n\n是否打开备份Hosts文件位置",
        Mb::YesNo | Mb::IconInformation | InFront, u"提示");
    if (answer == Answer::Yes) RevealInExplorer(platform, BackupPath(platform));
}

void RestoreHostsFromBackup(Platform& platform) {
    const std::u16string backup = BackupPath(platform);
    if (!platform.FileExists(backup)) {
        platform.ShowMessage(u"未在程序目录下发现Hosts备份文件", Mb::Ok | Mb::IconWarning | InFront, u"错误");
        return;
    }
    const HostsWriteResult result = ChangeHostsFile(platform, WholeContent(platform.ReadFileBytes(backup)));
    // Success only when the file, read back, showed the backup's bytes.
    if (result.written && !result.readBackDiffers && !result.readBackFailed)
        platform.ShowMessage(u"备份Hosts文件还原到系统Hosts成功", Mb::Ok | Mb::IconInformation | InFront, u"提示");
}

}  // namespace quenlix
