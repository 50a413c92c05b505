#include "commands/EntrySwitchCommands.h"

#include "platform/WindowState.h"

namespace quenlix {

namespace {

// The edit is worked out on the box's own text and made once that is
// handed back: the box cannot be changed while it lends its buffer.
void ApplyEdit(WindowState& window, const std::function<std::optional<HostsTextEdit>(std::u16string_view)>& make) {
    std::optional<HostsTextEdit> edit;
    window.ReadHostsText([&](std::u16string_view text) { edit = make(text); });
    if (edit) window.ReplaceHostsText(edit->range, edit->text, edit->select);
}

}  // namespace

void SwitchSelectedEntries(WindowState& window) {
    const TextRange selection = window.HostsTextSelection();
    ApplyEdit(window, [&](std::u16string_view text) { return SwitchEntries(text, selection); });
}

std::vector<HostsGroup> HostsTextGroups(WindowState& window) {
    std::vector<HostsGroup> groups;
    window.ReadHostsText([&](std::u16string_view text) { groups = ReadGroups(text); });
    return groups;
}

void SwitchHostsGroup(WindowState& window, std::size_t index) {
    ApplyEdit(window, [&](std::u16string_view text) -> std::optional<HostsTextEdit> {
        const std::vector<HostsGroup> groups = ReadGroups(text);
        if (index >= groups.size()) return std::nullopt;
        return SwitchGroup(text, groups[index]);
    });
}

void MakeSelectedLinesGroup(WindowState& window, const std::function<std::optional<std::u16string>()>& askName) {
    const std::optional<std::u16string> name = askName();
    if (!name || !IsGroupName(*name)) return;
    const TextRange selection = window.HostsTextSelection();
    ApplyEdit(window, [&](std::u16string_view text) { return InsertGroup(text, selection, *name); });
}

}  // namespace quenlix
