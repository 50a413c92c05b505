#include "commands/HostsChange.h"

#include <functional>
#include <optional>
#include <string>

#include "commands/ElevatedWrite.h"
#include "edit/StringRules.h"
#include "hosts/HostsPaths.h"
#include "platform/MessageStyle.h"

namespace quenlix {

namespace {

// "（错误 N：description）" for the failure, or nothing when it has no number.
std::u16string FailureInBrackets(const Failure& failure) {
    if (failure.Number() == 0) return {};
    return u"（错误 " + DecimalText(failure.Number()) + u"：" + failure.Description() + u"）";
}

// The user decides whether a change may go ahead without the copy that would
// let them have the old content back; the safe answer is the default.
bool AskToWriteWithoutCopy(Platform& platform, const Failure& why) {
    std::u16string question(WithoutHistoryCopyQuestion);
    question.replace(question.find(u"{}"), 2, FailureInBrackets(why));
    return platform.ShowMessage(question, Mb::YesNo | Mb::IconWarning | Mb::DefaultButton2, u"提示") == Answer::Yes;
}

}  // namespace

namespace {

// What decides a change where no one else may: the user through message
// boxes, or a script's options.
struct ChangeDecisions {
    std::function<bool(const Failure&)> writeWithoutCopy;
    std::function<bool()> elevate;
    bool silent;
};

HostsWriteResult MakeChange(Platform& platform, const HostsEditor& editor, Creation creation,
                            const ChangeDecisions& decide) {
    RecoverableWrite recoverable(platform, decide.writeWithoutCopy);
    try {
        InPlaceWrite write(platform, HostsPath(platform), creation);
        return write.Finish(editor(write.Now()), &recoverable);
    } catch (const Failure& failure) {
        // Refused for want of rights, in a process that has none: the user
        // may let a second instance with administrator rights make this one
        // change, rather than open the file to every program for good. A
        // process that has the rights and is refused all the same has
        // nothing to ask for.
        if (failure.Number() != FailureNumber::AccessDenied || platform.IsAdministrator()) throw;
        if (!decide.elevate()) return {};
        return WriteThroughElevatedInstance(platform, editor, decide.silent, &recoverable);
    }
}

}  // namespace

HostsWriteResult ChangeHostsFileUnasked(Platform& platform, const HostsEditor& editor, bool elevate) {
    std::optional<Failure> noCopy;
    bool edited = false;
    bool refused = false;
    const HostsEditor tracked = [&](const HostsNow& now) {
        std::optional<HostsEdit> edit = editor(now);
        edited = edit.has_value();
        return edit;
    };
    const HostsWriteResult result = MakeChange(platform, tracked, Creation::OpenOrCreate,
                                               {[&](const Failure& why) {
                                                    noCopy = why;
                                                    return false;
                                                },
                                                [&] {
                                                    refused = !elevate;
                                                    return elevate;
                                                },
                                                true});
    if (noCopy) throw *noCopy;
    if (refused) throw Failure(FailureNumber::AccessDenied, platform.ErrorDescription(FailureNumber::AccessDenied));
    // The second instance was asked for and did not write what was edited:
    // the user said no to the system's prompt.
    if (elevate && edited && !result.written && !platform.IsAdministrator())
        throw Failure(FailureNumber::Cancelled, platform.ErrorDescription(FailureNumber::Cancelled));
    return result;
}

HostsWriteResult ChangeHostsFile(Platform& platform, const HostsEditor& editor, Reporting reporting,
                                 Creation creation) {
    const HostsWriteResult result =
        MakeChange(platform, editor, creation,
                   {[&](const Failure& why) { return AskToWriteWithoutCopy(platform, why); },
                    [&] {
                        // Declined, the question said why nothing was written.
                        return platform.ShowMessage(ElevationQuestion, Mb::YesNo | Mb::IconQuestion, u"提示") ==
                               Answer::Yes;
                    },
                    reporting == Reporting::Silent});
    if (reporting == Reporting::Silent) return result;
    if (const std::optional<Failure>& why = result.attributesNotRestored)
        platform.ShowMessage(std::u16string(result.written ? u"Hosts 文件已写入" : u"Hosts 文件没有改动") +
                                 u"，但未能恢复它原有的只读、隐藏或系统属性" +
                                 FailureInBrackets(*why) +
                                 u"。",
                             Mb::Ok | Mb::IconWarning, u"提示");
    if (const std::optional<Failure>& why = result.readBackFailed)
        platform.ShowMessage(u"Hosts 文件已写入，但无法核对" + FailureInBrackets(*why) + u"：读回文件时失败。",
                             Mb::Ok | Mb::IconWarning, u"提示");
    if (result.readBackDiffers)
        platform.ShowMessage(u"Hosts 文件写入后被其他程序改动（可能是安全软件），当前内容与保存的内容不一致。",
                             Mb::Ok | Mb::IconWarning, u"提示");
    return result;
}

}  // namespace quenlix
