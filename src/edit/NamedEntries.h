#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "edit/EntrySwitch.h"

namespace quenlix {

// Entries looked up and taken apart by the names they map, for the command
// line for scripts. Names match as Windows matches them (SameHostName); an
// address matches in any letter case.

// Whether an entry that is on maps `address` to exactly `names` (in any
// order), so that appending it again would change nothing Windows reads.
bool EntryIsOn(std::u16string_view text, std::u16string_view address, const std::vector<std::u16string>& names);

// Takes each of `names` off every entry line that is on; a line left with no
// name goes, with its line break. Comments (inline ones too) and
// switched-off entries stay, and so does every other character of a line
// that keeps a name. One replacement from the first changed line to the end
// of the last; nothing when no entry names any of them.
struct NamesRemoved {
    HostsTextEdit edit;
    std::size_t linesChanged = 0;
    std::size_t linesRemoved = 0;
};
std::optional<NamesRemoved> RemoveNames(std::u16string_view text, const std::vector<std::u16string>& names);

}  // namespace quenlix
