#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quenlix {

class Platform;

// What the program asks at its start when the last write of the hosts file
// was cut off (a crash, a power cut) and left the file as such a write
// leaves it: which copy would come back, by the date and time it was taken
// and its size.
std::u16string CutOffWriteQuestion(std::u16string_view copyName, std::uint64_t size);

// What that question and its message start with.
inline constexpr std::u16string_view CutOffWriteNotice = u"上次修改 Hosts 文件时程序意外中止，文件可能不完整。";

// At the start, before the window is filled: finds a write of the hosts file
// that did not end and offers the content from before it back. Yes writes it
// the way every command writes (refused for want of rights, it asks for
// them); no leaves the file as it is. Either way the journal goes. A write
// that finished or never began, one another program's change has followed,
// and one another instance still makes are left without a word. Staged
// files of handed-over writes older than a day go too.
void RecoverCutOffWrite(Platform& platform);

}  // namespace quenlix
