#include "commands/WriteRecovery.h"

#include "commands/HostsChange.h"
#include "hosts/HostsPaths.h"
#include "hosts/WriteJournal.h"
#include "platform/MessageStyle.h"
#include "platform/Platform.h"

namespace quenlix {

void RecoverCutOffWrite(Platform& platform) {
    InterruptedWrite found = FindInterruptedWrite(platform, HostsPath(platform));
    if (found.kind != InterruptedWrite::Kind::Torn) return;
    if (!found.before) {
        RemoveWriteJournal(platform);
        platform.ShowMessage(u"上次修改 Hosts 文件时程序意外中止，文件可能不完整。\n\n"
                             u"修改前内容的历史副本已不存在或已被改动，无法恢复。",
                             Mb::Ok | Mb::IconWarning, u"提示");
        return;
    }
    const int answer = platform.ShowMessage(CutOffWriteQuestion, Mb::YesNo | Mb::IconWarning, u"提示");
    RemoveWriteJournal(platform);
    if (answer == Answer::Yes) ChangeHostsFile(platform, WholeContent(std::move(*found.before)));
}

}  // namespace quenlix
