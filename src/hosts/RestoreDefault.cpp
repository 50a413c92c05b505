#include "hosts/RestoreDefault.h"

#include "hosts/HostsPaths.h"
#include "hosts/HostsStore.h"
#include "platform/MessageStyle.h"
#include "platform/Platform.h"

namespace quenlix {

void Command6(WindowState&, Platform& platform) {
    const int answer = platform.ShowMessage(u"确定将恢复Hosts文件到系统默认状态！",
                                            MessageStyle::OkCancelWarning, u"提示");
    if (answer == Answer::Ok) WriteDefaultHosts(platform, FixedHostsPath::Stock);
}

}  // namespace quenlix
