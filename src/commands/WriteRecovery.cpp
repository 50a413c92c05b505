#include "commands/WriteRecovery.h"

#include "commands/HostsChange.h"
#include "commands/StagedWrite.h"
#include "edit/StringRules.h"
#include "hosts/HostsPaths.h"
#include "hosts/WriteJournal.h"
#include "platform/MessageStyle.h"
#include "platform/Platform.h"

namespace quenlix {

namespace {

// "2026-12-07 18:30:12" from "hosts_2026-12-07_18-30-12.txt" (or "_2.txt").
std::u16string TakenAt(std::u16string_view copyName) {
    std::u16string stamp(copyName.substr(6, 19));
    stamp[10] = u' ';
    stamp[13] = u':';
    stamp[16] = u':';
    return stamp;
}

}  // namespace

std::u16string CutOffWriteQuestion(std::u16string_view copyName, std::uint64_t size) {
    const std::u16string copy = copyName.empty()
                                    ? std::u16string(u"修改前 Hosts 文件是空的")
                                    : u"修改前的内容保存在 " + TakenAt(copyName) + u" 的历史副本中，共 " +
                                          DecimalText(size) + u" 字节";
    return std::u16string(CutOffWriteNotice) + u"\n\n" + copy + u"。是否恢复为修改前的内容？";
}

void RecoverCutOffWrite(Platform& platform) {
    RemoveStaleStagedFiles(platform);
    InterruptedWrite found = FindInterruptedWrite(platform, HostsPath(platform));
    if (found.kind != InterruptedWrite::Kind::Torn) return;
    if (!found.before) {
        ForgetInterruptedWrite(platform, found);
        platform.ShowMessage(std::u16string(CutOffWriteNotice) +
                                 u"\n\n修改前内容的历史副本已不存在或已被改动，无法恢复。",
                             Mb::Ok | Mb::IconWarning, u"提示");
        return;
    }
    // The journal stays held while the user decides: another instance
    // started meanwhile does not ask too.
    const int answer =
        platform.ShowMessage(CutOffWriteQuestion(found.copy, found.before->size()), Mb::YesNo | Mb::IconWarning, u"提示");
    ForgetInterruptedWrite(platform, found);
    if (answer == Answer::Yes) ChangeHostsFile(platform, WholeContent(std::move(*found.before)));
}

}  // namespace quenlix
