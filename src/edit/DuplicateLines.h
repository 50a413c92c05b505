#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quenlix {

// The entry line of the append commands: text2, one space, text3, as typed;
// nothing trimmed, empty boxes not refused.
std::u16string EntryLine(std::u16string_view text2, std::u16string_view text3);

// The duplicate test of the checked append. `upperHostsText` is the file's hosts text
// already upper-cased by the caller (the platform maps case per character, so
// upper-casing the whole text equals upper-casing each kept line); every line
// in it is followed by CR LF. A line is kept when, trimmed of U+0020 spaces
// (tabs and U+3000 stay), it is not empty and does not begin with '#'.
// Returns the first kept line, trimmed, that holds `upperEntry` anywhere: a
// view into `upperHostsText`. std::nullopt when no kept line does, and when
// nothing is kept.
std::optional<std::u16string_view> FirstDuplicateLine(std::u16string_view upperHostsText,
                                                      std::u16string_view upperEntry);

// The same test on the hosts text as read, upper-cased by `toUpper` (the
// platform's case mapping, which maps character by character) a block of
// whole lines at a time: the answer of FirstDuplicateLine(toUpper(hostsText),
// upperEntry), as a copy, without holding a second copy of a large file.
// Blocks are about `blockSize` characters, cut after a line's CR or CR LF.
std::optional<std::u16string> FirstDuplicateLineByBlocks(
    std::u16string_view hostsText, std::u16string_view upperEntry,
    const std::function<std::u16string(std::u16string_view)>& toUpper, std::size_t blockSize = 1 << 16);

}  // namespace quenlix
