#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace quenlix {

// What Windows' resolver makes of an entry's text. The appends warn about an
// entry it would ignore in whole or in part, and never forbid one: a user may
// know better, and the file is theirs.

// Dotted decimal: four parts of 0 to 255, "0" or without leading zeros (an
// octal-looking "010" is refused, as Windows' strict parse refuses it), and
// no port: ":80" has no meaning on a hosts line.
bool IsIpv4Address(std::u16string_view text);

// Any text form of an IPv6 address that Windows' own parse takes: "::",
// groups of 1 to 4 hex digits, an embedded IPv4 address ("::ffff:1.2.3.4"),
// a decimal zone index ("fe80::1%12"). Not "[addr]" or "[addr]:port", the
// forms of a URL, not of a hosts line.
bool IsIpv6Address(std::u16string_view text);

// 1 to 255 characters, labels of 1 to 63 characters from letters, digits,
// '-' and '_' that neither start nor end with '-', and one trailing dot at
// most. Any character outside ASCII is taken as a letter: Windows compares
// names as text, so a non-ASCII name in the file does resolve.
bool IsHostName(std::u16string_view text);

// Names after the ninth on one line are ignored by Windows.
inline constexpr std::size_t MostNamesOnALine = 9;

// The first thing that keeps Windows from using an entry as it reads.
struct EntryProblem {
    // LineBreak: the text holds a line break (another program can put one in
    // a one-line box), and would be written as more than one line.
    enum class Kind { LineBreak, Address, HostName, TooManyNames };
    Kind kind;
    // The address or the host name at fault (for LineBreak, the whole text
    // that holds it): a view into the checked text.
    std::u16string_view text;
    // How many names the line holds, for TooManyNames.
    std::size_t names = 0;
};

// An entry of the address and the names text, checked in that order: a line
// break in either, comment or not, then the address as it stands, then each name (the names text up to a '#', which
// starts a comment as it does in the file, split at spaces and tabs), then
// how many names there are.
std::optional<EntryProblem> FirstEntryProblem(std::u16string_view address, std::u16string_view names);

// A whole line, as the plain append writes it. A line break anywhere is a
// problem; otherwise only a line that is not blank, is no comment and holds
// a space or a tab is taken for an entry: its first field is the address and
// the rest the names. Any other line has no problem.
std::optional<EntryProblem> FirstLineProblem(std::u16string_view line);

}  // namespace quenlix
