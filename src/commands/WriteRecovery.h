#pragma once

#include <string_view>

namespace quenlix {

class Platform;

// What the program asks at its start when the last write of the hosts file
// was cut off (a crash, a power cut) and left the file holding neither what
// it held before nor what was being written.
inline constexpr std::u16string_view CutOffWriteQuestion =
    u"上次修改 Hosts 文件时程序意外中止，文件可能不完整。\n\n是否恢复为修改前的内容？";

// At the start, before the window is filled: finds a write of the hosts file
// that did not end and offers the content from before it back. Yes writes it
// the way every command writes (refused for want of rights, it asks for
// them); no leaves the file as it is. Either way the journal goes. A write
// that finished or never began is forgotten without a word.
void RecoverCutOffWrite(Platform& platform);

}  // namespace quenlix
