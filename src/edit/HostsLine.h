#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace quenlix {

// One line of a hosts text as Windows' resolver reads it. The appends'
// check, the whole-text check, the trace of a name, switching entries on and
// off and packing blocklists all read lines through here, so that they agree
// on what an entry is.
//
// Fields are separated by spaces and tabs; a '#' anywhere starts a comment
// that runs to the end of the line.

inline constexpr std::size_t NoPosition = std::u16string_view::npos;

struct HostsLineFields {
    // The first field; empty on a blank or comment line.
    std::u16string_view address;
    // Every field after the address up to the comment, also past the ninth.
    std::vector<std::u16string_view> names;
    // Where the '#' that starts the comment stands in the line, or NoPosition.
    std::size_t commentAt = NoPosition;
};

// The fields of `line` (without its line break). The views point into it.
HostsLineFields ReadHostsLine(std::u16string_view line);
// The same into `fields`, whose storage is used again: a whole text is read
// a line at a time without an allocation per line.
void ReadHostsLine(std::u16string_view line, HostsLineFields& fields);

// Whether the fields make an entry: an address Windows accepts (IPv4 or
// IPv6) followed by at least one name. The names are not checked here: an
// invalid name still stands on an entry line, and the whole-text check
// reports it there.
bool IsEntry(const HostsLineFields& fields);
// The same for a line not yet read into fields.
bool IsEntryText(std::u16string_view line);

// A line switched off: its first non-blank character is '#', and what
// follows that '#' and at most one space is an entry.
struct SwitchedOffEntry {
    // Where the '#' stands.
    std::size_t mark;
    // Where the entry text begins: after the '#' and the one space, if any.
    std::size_t entryAt;
};
std::optional<SwitchedOffEntry> FindSwitchedOffEntry(std::u16string_view line);

// The position of the first character that is neither a space nor a tab, or
// the line's length.
std::size_t FirstNonBlank(std::u16string_view line);

// A line that starts or ends a group of entries. Two spellings are read:
// "#==== name" ... "#====" (four '=' or more), and "# name Start" ...
// "# name End", as widely shared lists write them. Letter case and spaces
// around the words do not matter. A switched-off entry is no mark, even for
// a host named "start" or "end": switching it on must find it again.
struct GroupMark {
    enum class Kind { Start, End };
    // "#====" or the words Start and End.
    enum class Spelling { Equals, Words };
    Kind kind;
    // The group's name; empty for "#====", which ends whichever group is open.
    std::u16string_view name;
    Spelling spelling = Spelling::Equals;
};
std::optional<GroupMark> ReadGroupMark(std::u16string_view line);

// One line of a text with where its break stands. Lines end at CR LF, at a
// lone CR or at a lone LF: whatever a user pasted into the box, a line that
// looks like one line is one line.
struct TextLine {
    std::size_t begin;
    // Just past the last character of the line, before its break.
    std::size_t end;
    // Just past the break; equal to `end` for a last line without one.
    std::size_t next;
    bool operator==(const TextLine&) const = default;
};

// The line that begins at `begin`; none at the end of the text (the empty
// rest after a final break is no line). The next line begins at its `next`.
std::optional<TextLine> TextLineAt(std::u16string_view text, std::size_t begin);

// TextLineAt and ReadHostsLine of that line in one pass over its units: the
// whole-text check, the trace and packing read every line of a blocklist of
// a million lines so.
std::optional<TextLine> ReadHostsLineAt(std::u16string_view text, std::size_t begin, HostsLineFields& fields);

}  // namespace quenlix
