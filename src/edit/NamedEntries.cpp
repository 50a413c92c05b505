#include "edit/NamedEntries.h"

#include <algorithm>

#include "edit/HostNames.h"
#include "edit/HostsLine.h"
#include "platform/AsciiCase.h"

namespace quenlix {

namespace {

bool Named(std::u16string_view name, const std::vector<std::u16string>& names) {
    return std::ranges::any_of(names, [&](const std::u16string& n) { return SameHostName(name, n); });
}

bool SameAddress(std::u16string_view a, std::u16string_view b) {
    return std::ranges::equal(a, b, {}, AsciiLower, AsciiLower);
}

std::u16string_view LineOf(std::u16string_view text, const TextLine& line) {
    return text.substr(line.begin, line.end - line.begin);
}

}  // namespace

bool EntryIsOn(std::u16string_view text, std::u16string_view address, const std::vector<std::u16string>& names) {
    HostsLineFields fields;
    for (auto line = TextLineAt(text, 0); line; line = TextLineAt(text, line->next)) {
        ReadHostsLine(LineOf(text, *line), fields);
        if (!IsEntry(fields) || !SameAddress(fields.address, address) || fields.names.size() != names.size())
            continue;
        if (std::ranges::all_of(fields.names, [&](std::u16string_view name) { return Named(name, names); }) &&
            std::ranges::all_of(names, [&](const std::u16string& name) {
                return std::ranges::any_of(fields.names, [&](std::u16string_view n) { return SameHostName(n, name); });
            }))
            return true;
    }
    return false;
}

std::optional<NamesRemoved> RemoveNames(std::u16string_view text, const std::vector<std::u16string>& names) {
    NamesRemoved removed;
    std::optional<std::size_t> first;
    std::size_t last = 0;
    std::u16string replacement;
    std::size_t copied = 0;
    HostsLineFields fields;
    for (auto line = TextLineAt(text, 0); line; line = TextLineAt(text, line->next)) {
        const std::u16string_view view = LineOf(text, *line);
        ReadHostsLine(view, fields);
        if (!IsEntry(fields) || std::ranges::none_of(fields.names, [&](auto n) { return Named(n, names); })) continue;
        if (!first) {
            first = line->begin;
            copied = line->begin;
        }
        replacement.append(text.substr(copied, line->begin - copied));
        copied = line->next;
        last = line->next;
        ++removed.linesChanged;
        if (std::ranges::all_of(fields.names, [&](auto n) { return Named(n, names); })) {
            ++removed.linesRemoved;  // the line and its break go
            continue;
        }
        // Each name goes with the blanks before it; the address, the names
        // that stay, the spacing between them and a comment are as they were.
        std::size_t at = 0;
        for (const std::u16string_view name : fields.names) {
            const std::size_t nameAt = static_cast<std::size_t>(name.data() - view.data());
            if (!Named(name, names)) continue;
            std::size_t blanks = nameAt;
            while (blanks > 0 && (view[blanks - 1] == u' ' || view[blanks - 1] == u'\t')) --blanks;
            replacement.append(view.substr(at, blanks - at));
            at = nameAt + name.size();
        }
        replacement.append(text.substr(line->begin + at, line->next - (line->begin + at)));
    }
    if (!first) return std::nullopt;
    removed.edit = {{*first, last}, std::move(replacement), {*first, *first}};
    return removed;
}

}  // namespace quenlix
