#include "commands/HostsWriting.h"

#include <string>

#include "hosts/HostsPaths.h"
#include "platform/MessageStyle.h"

namespace quenlix {

namespace {

std::u16string Decimal(std::uint32_t number) {
    const std::string digits = std::to_string(number);
    return std::u16string(digits.begin(), digits.end());
}

}  // namespace

HostsWriteResult WriteHostsFile(Platform& platform, const HostsEditor& editor, Reporting reporting,
                                Creation creation) {
    const HostsWriteResult result = WriteHostsInPlace(platform, HostsPath(platform), editor, creation);
    if (result.attributesNotRestored && reporting == Reporting::Shown)
        platform.ShowMessage(std::u16string(result.written ? u"Hosts 文件已写入" : u"Hosts 文件没有改动") +
                                 u"，但未能恢复它原有的只读、隐藏或系统属性（错误 " +
                                 Decimal(result.attributesNotRestored->Number()) + u"：" +
                                 result.attributesNotRestored->Description() + u"）。",
                             Mb::Ok | Mb::IconWarning, u"提示");
    if (result.readBackDiffers && reporting == Reporting::Shown)
        platform.ShowMessage(u"Hosts 文件写入后被其他程序改动（可能是安全软件），当前内容与保存的内容不一致。",
                             Mb::Ok | Mb::IconWarning, u"提示");
    return result;
}

}  // namespace quenlix
