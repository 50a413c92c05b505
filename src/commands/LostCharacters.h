#pragma once

#include <cstddef>
#include <string>

namespace quenlix {

class Platform;

// What a write would lose: "有 N 个字符无法用 ANSI 编码（代码页 936）保存，将被写成“?”。"
// with the count and the system's own code page.
std::u16string LostCharactersText(Platform& platform, std::size_t lost);

// Asks before an append writes characters as "?"; No, the default, appends
// nothing.
bool MayAppendLosingCharacters(Platform& platform, std::size_t lost);

}  // namespace quenlix
