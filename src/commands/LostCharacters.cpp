#include "commands/LostCharacters.h"

#include "edit/StringRules.h"
#include "platform/MessageStyle.h"
#include "platform/Platform.h"

namespace quenlix {

std::u16string LostCharactersText(Platform& platform, std::size_t lost) {
    return u"有 " + DecimalText(lost) + u" 个字符无法用 ANSI 编码（代码页 " + DecimalText(platform.AnsiCodePage()) +
           u"）保存，将被写成“?”。";
}

bool MayAppendLosingCharacters(Platform& platform, std::size_t lost) {
    return platform.ShowMessage(LostCharactersText(platform, lost) + u"\n\n是否仍然追加？",
                                Mb::YesNo | Mb::IconWarning | Mb::DefaultButton2, u"提示") == Answer::Yes;
}

}  // namespace quenlix
