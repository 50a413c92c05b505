#include "system/Privilege.h"

#include "platform/Digits.h"
#include "platform/MessageStyle.h"
#include "platform/Platform.h"
#include "platform/QuoteArgument.h"

namespace quenlix {

std::u16string GrantArguments(std::u16string_view hostsPath, std::u16string_view everyone) {
    return QuoteArgument(hostsPath) + u" /e /t /p " + QuoteArgument(std::u16string(everyone) + u":F");
}

GrantOutcome GrantHostsAccess(Platform& platform, std::u16string_view hostsPath) {
    const ProgramExit exit = platform.RunSystemProgram(
        u"cacls.exe", GrantArguments(hostsPath, platform.EveryoneGroupName()), WindowStyle::MinimizedInactive, GrantTimeout);
    if (!exit) return {false, u"cacls 在 " + DecimalText(GrantTimeout.count()) + u" 秒内没有结束"};
    if (*exit != 0) return {false, u"cacls 退出代码 " + DecimalText(*exit)};
    return {true, {}};
}

}  // namespace quenlix
