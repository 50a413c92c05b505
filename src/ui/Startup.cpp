#include "ui/Startup.h"

#include "hosts/HostsPaths.h"
#include "hosts/HostsStore.h"
#include "platform/MessageStyle.h"
#include "platform/Platform.h"
#include "system/Privilege.h"
#include "ui/WindowState.h"

namespace quenlix {

namespace {

// Text1 changes only once the file has been read: a read that fails leaves
// the text (and any unsaved edits) where it was.
void LoadHostsFile(WindowState& window, Platform& platform) {
    const std::u16string text = ReadHostsText(platform, HostsPath(platform));
    window.SetText(TextBox::Text1, text);
}

}  // namespace

void Form_Load(WindowState& window, Platform& platform) {
    window.SetTitle(IsAdministrator(platform) ? u"Hosts (已获得管理员权限)" : u"Hosts (未获得管理员权限)");

    if (FileExists(platform, HostsPath(platform))) {
        LoadHostsFile(window, platform);
        return;
    }

    if (!IsAdministrator(platform)) {
        platform.ShowMessage(u"未发现Hosts文件，创建Hosts文件需管理员权限运行！", MessageStyle::OkWarning,
                             u"提示");
        return;
    }

    const int answer = platform.ShowMessage(u"未发现Hosts文件，确定要创建Hosts文件吗？",
                                            MessageStyle::OkCancelQuestion, u"提示");
    if (answer != Answer::Ok) {
        platform.EndProgram();
        return;
    }
    WriteDefaultHosts(platform, FixedHostsPath::Stock);
    GrantHostsAccess(platform);
    platform.ShowMessage(u"已生成Hosts文件,并获得访问权限", MessageStyle::OkInformationSystemModal, u"标题");
    LoadHostsFile(window, platform);
}

void Command4(WindowState& window, Platform& platform) {
    Form_Load(window, platform);
}

}  // namespace quenlix
