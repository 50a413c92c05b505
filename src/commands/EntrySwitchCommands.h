#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "edit/EntrySwitch.h"

namespace quenlix {

class WindowState;

// Each of these is one edit of the hosts text box, one step for its undo,
// and leaves the text unsaved: only a save writes the file.

// 注释/取消注释: switches the entries on the selected lines (the caret's line
// when nothing is selected).
void SwitchSelectedEntries(WindowState& window);

// The groups of the hosts text box, for the user to pick one.
std::vector<HostsGroup> HostsTextGroups(WindowState& window);

// Switches the group that is `index`th in HostsTextGroups; nothing when the
// text holds fewer groups by now.
void SwitchHostsGroup(WindowState& window, std::size_t index);

// Makes the selected lines a group, under the name `askName` gives: nothing
// when it gives none (the user cancelled). It gives only group names
// (IsGroupName).
void MakeSelectedLinesGroup(WindowState& window, const std::function<std::optional<std::u16string>()>& askName);

}  // namespace quenlix
