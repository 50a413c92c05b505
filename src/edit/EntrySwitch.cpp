#include "edit/EntrySwitch.h"

#include <algorithm>

#include "edit/HostNames.h"
#include "edit/HostsLine.h"
#include "platform/AsciiCase.h"

namespace quenlix {

namespace {

// What switching off puts before an entry, and what switching on takes away
// (the '#', and the one space after it if there is one).
constexpr std::u16string_view OffMark = u"# ";
constexpr std::u16string_view EmptyGroupMark = u"#====";
constexpr std::u16string_view GroupMarkStart = u"#==== ";

bool IsBreak(char16_t c) { return c == u'\r' || c == u'\n'; }

// Where the line holding `position` begins. A position between the CR and
// the LF of one break belongs to the line that break ends.
std::size_t LineBeginAt(std::u16string_view text, std::size_t position) {
    position = std::min(position, text.size());
    if (position > 0 && position < text.size() && text[position - 1] == u'\r' && text[position] == u'\n') --position;
    while (position > 0 && !IsBreak(text[position - 1])) --position;
    return position;
}

// The lines a selection touches: from where the first begins to just past
// the break of the last. A selection that ends where a line begins does not
// touch that line. None for a caret after the text's last break.
std::optional<TextRange> SelectedLines(std::u16string_view text, TextRange selection) {
    const std::size_t begin = LineBeginAt(text, selection.begin);
    std::optional<TextLine> last;
    for (auto line = TextLineAt(text, begin); line; line = TextLineAt(text, line->next)) {
        if (last && line->begin >= selection.end) break;
        last = line;
    }
    if (!last) return std::nullopt;
    return TextRange{begin, last->next};
}

// One change on a line: `removed` characters at `at` give way to `inserted`.
struct LineChange {
    std::size_t at;
    std::size_t removed;
    std::u16string_view inserted;
};

enum class Direction { On, Off };

// Where the '#' of a switched-off entry, or the first character of one that
// is on, stands in the text.
struct EntryLine {
    bool on;
    std::size_t mark;
    std::size_t entryAt;
};

// The entries on the lines that begin inside `lines`.
std::vector<EntryLine> EntriesIn(std::u16string_view text, TextRange lines) {
    std::vector<EntryLine> entries;
    for (auto line = TextLineAt(text, lines.begin); line && line->begin < lines.end;
         line = TextLineAt(text, line->next)) {
        const std::u16string_view view = text.substr(line->begin, line->end - line->begin);
        if (IsEntryText(view)) {
            const std::size_t at = line->begin + FirstNonBlank(view);
            entries.push_back({true, at, at});
        } else if (const auto off = FindSwitchedOffEntry(view)) {
            entries.push_back({false, line->begin + off->mark, line->begin + off->entryAt});
        }
    }
    return entries;
}

std::vector<LineChange> Changes(const std::vector<EntryLine>& entries, Direction direction) {
    std::vector<LineChange> changes;
    for (const EntryLine& entry : entries) {
        if (direction == Direction::Off && entry.on) changes.push_back({entry.mark, 0, OffMark});
        if (direction == Direction::On && !entry.on) changes.push_back({entry.mark, entry.entryAt - entry.mark, {}});
    }
    return changes;
}

// Where `position` of the old text stands after the changes. Text inserted
// right at a selection's start goes inside it (`before`); at its end or at
// the caret, before it.
std::size_t Moved(std::size_t position, const std::vector<LineChange>& changes, bool before) {
    std::size_t moved = position;
    for (const LineChange& change : changes) {
        if (change.at > position || (before && change.at == position && change.removed == 0)) break;
        if (position < change.at + change.removed) return moved - (position - change.at);
        moved = moved - change.removed + change.inserted.size();
    }
    return moved;
}

// The one replacement that makes all the changes: from the first to the
// end of the last.
HostsTextEdit Apply(std::u16string_view text, const std::vector<LineChange>& changes) {
    const TextRange range{changes.front().at, changes.back().at + changes.back().removed};
    std::u16string replaced;
    replaced.reserve(range.end - range.begin + changes.size() * OffMark.size());
    std::size_t copied = range.begin;
    for (const LineChange& change : changes) {
        replaced.append(text.substr(copied, change.at - copied));
        replaced.append(change.inserted);
        copied = change.at + change.removed;
    }
    return {range, std::move(replaced), {}};
}

bool SameGroupName(std::u16string_view a, std::u16string_view b) {
    return std::ranges::equal(a, b, {}, AsciiLower, AsciiLower);
}

std::u16string_view TrimBlanks(std::u16string_view text) {
    const std::size_t begin = FirstNonBlank(text);
    std::size_t end = text.size();
    while (end > begin && (text[end - 1] == u' ' || text[end - 1] == u'\t')) --end;
    return text.substr(begin, end - begin);
}

// The break the text's lines end with: its first one; CR LF, as Windows
// writes, in a text of one line.
std::u16string_view LineEndOf(std::u16string_view text) {
    const std::size_t at = text.find_first_of(u"\r\n");
    if (at == std::u16string_view::npos) return u"\r\n";
    if (text[at] == u'\n') return u"\n";
    return at + 1 < text.size() && text[at + 1] == u'\n' ? u"\r\n" : u"\r";
}

}  // namespace

std::optional<HostsTextEdit> SwitchEntries(std::u16string_view text, TextRange selection) {
    const std::optional<TextRange> lines = SelectedLines(text, selection);
    if (!lines) return std::nullopt;
    const std::vector<EntryLine> entries = EntriesIn(text, *lines);
    const bool allOff = std::ranges::none_of(entries, &EntryLine::on);
    const std::vector<LineChange> changes = Changes(entries, allOff ? Direction::On : Direction::Off);
    if (changes.empty()) return std::nullopt;
    HostsTextEdit edit = Apply(text, changes);
    const bool caret = selection.begin == selection.end;
    edit.select = {Moved(selection.begin, changes, !caret), Moved(selection.end, changes, false)};
    return edit;
}

std::vector<HostsGroup> ReadGroups(std::u16string_view text) {
    std::vector<HostsGroup> groups;
    std::vector<std::size_t> entriesOn;  // where each line with an entry on begins
    std::size_t openEquals = NoPosition;  // the "#====" group open, if any
    std::vector<std::size_t> openWords;
    for (auto line = TextLineAt(text, 0); line; line = TextLineAt(text, line->next)) {
        const std::u16string_view view = text.substr(line->begin, line->end - line->begin);
        if (IsEntryText(view)) {
            entriesOn.push_back(line->begin);
            continue;
        }
        const std::optional<GroupMark> mark = ReadGroupMark(view);
        if (!mark) continue;
        const bool equals = mark->spelling == GroupMark::Spelling::Equals;
        if (mark->kind == GroupMark::Kind::Start || equals) {
            if (openEquals != NoPosition) groups[openEquals].body.end = line->begin;
            openEquals = NoPosition;
        }
        if (mark->kind == GroupMark::Kind::Start) {
            groups.push_back({std::u16string(mark->name), line->begin, {line->next, text.size()}, false});
            if (equals)
                openEquals = groups.size() - 1;
            else
                openWords.push_back(groups.size() - 1);
        } else if (!equals) {
            const auto open = std::ranges::find_if(openWords.rbegin(), openWords.rend(), [&](std::size_t g) {
                return SameGroupName(groups[g].name, mark->name);
            });
            if (open == openWords.rend()) continue;
            groups[*open].body.end = line->begin;
            openWords.erase(std::next(open).base());
        }
    }
    for (HostsGroup& group : groups) {
        const auto on = std::ranges::lower_bound(entriesOn, group.body.begin);
        group.anyOn = on != entriesOn.end() && *on < group.body.end;
    }
    return groups;
}

std::optional<HostsTextEdit> SwitchGroup(std::u16string_view text, const HostsGroup& group) {
    const std::vector<EntryLine> entries = EntriesIn(text, group.body);
    const bool anyOff = !std::ranges::all_of(entries, &EntryLine::on);
    const std::vector<LineChange> changes = Changes(entries, anyOff ? Direction::On : Direction::Off);
    if (changes.empty()) return std::nullopt;
    HostsTextEdit edit = Apply(text, changes);
    edit.select = {group.mark, group.mark};
    return edit;
}

std::optional<HostsTextEdit> SetEntriesNamed(std::u16string_view text, std::u16string_view nameOrGroup, bool on) {
    std::vector<EntryLine> entries;
    for (const HostsGroup& group : ReadGroups(text)) {
        if (!SameGroupName(group.name, nameOrGroup)) continue;
        const std::vector<EntryLine> inGroup = EntriesIn(text, group.body);
        entries.insert(entries.end(), inGroup.begin(), inGroup.end());
    }
    if (entries.empty()) {
        HostsLineFields fields;
        for (const EntryLine& entry : EntriesIn(text, {0, text.size()})) {
            const std::size_t lineEnd = text.find_first_of(u"\r\n", entry.entryAt);
            ReadHostsLine(text.substr(entry.entryAt, lineEnd == std::u16string_view::npos ? lineEnd : lineEnd - entry.entryAt),
                          fields);
            if (std::ranges::any_of(fields.names, [&](std::u16string_view n) { return SameHostName(n, nameOrGroup); }))
                entries.push_back(entry);
        }
    }
    // Nested groups of the "Start"/"End" spelling may list a line twice.
    std::sort(entries.begin(), entries.end(), [](const EntryLine& a, const EntryLine& b) { return a.mark < b.mark; });
    entries.erase(std::unique(entries.begin(), entries.end(),
                              [](const EntryLine& a, const EntryLine& b) { return a.mark == b.mark; }),
                  entries.end());
    const std::vector<LineChange> changes = Changes(entries, on ? Direction::On : Direction::Off);
    if (changes.empty()) return std::nullopt;
    HostsTextEdit edit = Apply(text, changes);
    edit.select = {edit.range.begin, edit.range.begin};
    return edit;
}

bool IsGroupName(std::u16string_view name) {
    return !TrimBlanks(name).empty() && name.find_first_of(u"\r\n") == std::u16string_view::npos;
}

HostsTextEdit InsertGroup(std::u16string_view text, TextRange selection, std::u16string_view name) {
    // A caret after the last break stands on an empty line of its own.
    const TextRange lines = SelectedLines(text, selection).value_or(TextRange{text.size(), text.size()});
    const std::u16string_view lineEnd = LineEndOf(text);
    const bool lastHasBreak = lines.end > lines.begin && IsBreak(text[lines.end - 1]);
    std::u16string group(GroupMarkStart);
    group.append(TrimBlanks(name)).append(lineEnd).append(text.substr(lines.begin, lines.end - lines.begin));
    if (!lastHasBreak) group.append(lineEnd);
    group.append(EmptyGroupMark);
    if (lastHasBreak) group.append(lineEnd);
    const TextRange select{lines.begin, lines.begin + group.size()};
    return {lines, std::move(group), select};
}

}  // namespace quenlix
