#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/WindowState.h"

namespace quenlix {

// Switching entries off and on changes one '#' (and the one space after it)
// per line and no other character of the text: line breaks, tabs, spacing,
// inline comments, comment lines that are no entries, blank lines and group
// marks all stay as they are. Each switch is one replacement of one range,
// which the user takes back in one step.

// One edit of the hosts text: `range` of the old text becomes `text`, and
// `select` (in the new text) is selected afterwards.
struct HostsTextEdit {
    TextRange range;
    std::u16string text;
    TextRange select;
};

// Switches the entries on the lines `selection` touches (the caret's line
// when nothing is selected; a selection ending at the start of a line does
// not touch that line): on when every entry among them is off, else off.
// The selection afterwards covers the same lines. Nothing when no entry is
// among them.
std::optional<HostsTextEdit> SwitchEntries(std::u16string_view text, TextRange selection);

// A group of entries, from its start mark to the line that ends it.
struct HostsGroup {
    std::u16string name;
    // Where its start mark's line begins.
    std::size_t mark;
    // The lines between the marks: from just after the start mark's line to
    // the beginning of the line that ends the group, or the end of the text.
    TextRange body;
    // Whether any of its entries is on.
    bool anyOn;
};

// The groups of the text in the order their start marks stand. A "#==== name"
// group ends at the next "#====" alone, at the next group start or at the
// end of the text; a "# name Start" group ends at its own "# name End" (names
// alike in any ASCII letter case) or at the end of the text, so groups of
// this spelling may hold others.
std::vector<HostsGroup> ReadGroups(std::u16string_view text);

// Switches every entry of the group: on when any is off, off when all are
// on. The caret goes to the group's start mark afterwards: a selection of
// the whole group would cost the box a redraw of every line of a large one.
// Nothing when the group holds no entry.
std::optional<HostsTextEdit> SwitchGroup(std::u16string_view text, const HostsGroup& group);

// Switches on (`on`) or off every entry of the group named `nameOrGroup`
// (letter case aside) or, when no group has that name, every entry that
// names it (as Windows matches names). Entries already so stay. Nothing when
// no entry would change.
std::optional<HostsTextEdit> SetEntriesNamed(std::u16string_view text, std::u16string_view nameOrGroup, bool on);

// A name that makes a group mark reading back as that name: not blank, and
// on one line.
bool IsGroupName(std::u16string_view name);

// Puts "#==== name" before the lines `selection` touches and "#====" after
// them, each on a line of its own ending as the text's lines end. `name` is
// a group name (IsGroupName).
HostsTextEdit InsertGroup(std::u16string_view text, TextRange selection, std::u16string_view name);

}  // namespace quenlix
