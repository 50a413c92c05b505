#include "commands/LoadCommands.h"

#include "commands/HostsChange.h"
#include "edit/StringRules.h"
#include "hosts/HostsFileReader.h"
#include "hosts/HostsPaths.h"
#include "hosts/HostsText.h"
#include "platform/MessageStyle.h"
#include "platform/Platform.h"
#include "platform/WindowState.h"
#include "system/Privilege.h"

namespace quenlix {

namespace {

// The hosts text box changes only once the file has been read: a read that fails leaves
// the text (and any unsaved edits) where it was. The window remembers what
// the file held, so that a later save can tell whether it changed since.
void FillHostsText(WindowState& window, Platform& platform) {
    const HostsFile file = ReadHostsFile(platform, HostsPath(platform));
    if (file.text.size() > window.HostsTextCapacity()) {
        // Shown in part, the file would be saved in part: it is not shown.
        platform.ShowMessage(u"Hosts 文件太大（" + DecimalText(file.text.size()) + u" 个字符），Text1 最多只能显示 " +
                                 DecimalText(window.HostsTextCapacity()) +
                                 u" 个字符，因此没有读入。\n\nHosts 文件没有被改动。",
                             Mb::Ok | Mb::IconWarning, u"提示");
        return;
    }
    window.SetText(TextBox::HostsText, file.text);
    window.SetHostsSnapshot(file.snapshot, file.encoding);
}

}  // namespace

LoadOutcome LoadHostsWindow(WindowState& window, Platform& platform) {
    window.SetTitle(platform.IsAdministrator() ? u"Hosts (已获得管理员权限)" : u"Hosts (未获得管理员权限)");

    if (platform.FileExists(HostsPath(platform))) {
        FillHostsText(window, platform);
        return LoadOutcome::ShowWindow;
    }

    // The rights are asked again: they may have changed since the title.
    if (!platform.IsAdministrator()) {
        platform.ShowMessage(u"未发现Hosts文件，创建Hosts文件需管理员权限运行！", Mb::IconWarning, u"提示");
        return LoadOutcome::ShowWindow;
    }

    const int answer = platform.ShowMessage(u"未发现Hosts文件，确定要创建Hosts文件吗？",
                                            Mb::OkCancel | Mb::IconQuestion, u"提示");
    if (answer != Answer::Ok) return LoadOutcome::Quit;
    // A file that appeared since it was found missing is the user's: it is
    // loaded as it is, never written over with the stock content.
    try {
        // Not written when the user declined to write without a history
        // copy: there is no file to grant access to or to show.
        if (!ChangeHostsFile(platform, WholeContent(platform.ToAnsi(DefaultHostsText)), Reporting::Shown,
                             Creation::OnlyIfNew)
                 .written)
            return LoadOutcome::ShowWindow;
    } catch (const Failure& failure) {
        if (failure.Number() != FailureNumber::FileExists) throw;
        FillHostsText(window, platform);
        return LoadOutcome::ShowWindow;
    }
    const GrantOutcome grant = GrantHostsAccess(platform, HostsPath(platform));
    if (grant.changed)
        platform.ShowMessage(u"已生成Hosts文件,并获得访问权限",
                             Mb::Ok | Mb::IconInformation | Mb::SystemModal | Mb::SetForeground, u"标题");
    else
        platform.ShowMessage(u"已生成Hosts文件，但未能更改它的访问权限（" + grant.failure + u"）。",
                             Mb::Ok | Mb::IconWarning | Mb::SystemModal | Mb::SetForeground, u"提示");
    FillHostsText(window, platform);
    return LoadOutcome::ShowWindow;
}

void RefreshHostsFile(WindowState& window, Platform& platform) {
    if (window.HostsTextModified() &&
        platform.ShowMessage(u"Text1 中的修改尚未保存。\n\n是否放弃这些修改并重新读取 Hosts 文件？",
                             Mb::OkCancel | Mb::IconWarning | Mb::DefaultButton2, u"提示") != Answer::Ok)
        return;
    if (LoadHostsWindow(window, platform) == LoadOutcome::Quit) window.Close();
}

}  // namespace quenlix
