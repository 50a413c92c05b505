#include "commands/ResetCommand.h"

#include "commands/HostsChange.h"
#include "hosts/HostsText.h"
#include "platform/MessageStyle.h"
#include "platform/Platform.h"

namespace quenlix {

void RestoreDefaultHosts(Platform& platform) {
    const int answer =
        platform.ShowMessage(u"确定将恢复Hosts文件到系统默认状态！", Mb::OkCancel | Mb::IconWarning, u"提示");
    if (answer == Answer::Ok) ChangeHostsFile(platform, WholeContent(platform.ToAnsi(DefaultHostsText)));
}

}  // namespace quenlix
