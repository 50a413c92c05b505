#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/Platform.h"

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

// The platform's case mapping, in place.
using UpperCaseInPlace = std::function<void(std::span<char16_t>)>;

// The same test on a text seen a stretch at a time, in order, cut anywhere
// (inside a CR LF too): each block of whole lines is upper-cased where it is
// by `toUpper` (the platform's case mapping, which maps character by
// character) and tested as soon as its last line has ended, so that the text
// is never held whole. Finish gives the answer of
// FirstDuplicateLine(toUpper(the whole text), upperEntry), as a copy; the
// text may be the hosts text or the file's text before the line rule, which
// has the same lines. The stretches are changed.
class DuplicateLineSearch {
public:
    DuplicateLineSearch(std::u16string_view upperEntry, UpperCaseInPlace toUpper)
        : upperEntry_(upperEntry), toUpper_(std::move(toUpper)) {}

    void Add(std::span<char16_t> stretch);
    std::optional<std::u16string> Finish();
    // Forgets every stretch seen, to see the text again from its start.
    void Restart();

private:
    void Test(std::span<char16_t> lines);

    std::u16string upperEntry_;
    UpperCaseInPlace toUpper_;
    std::u16string begun_;  // a line whose break has not been seen whole yet
    std::optional<std::u16string> found_;
};

// The search above over a copy of `hostsText` handed over `blockSize`
// characters at a time.
std::optional<std::u16string> FirstDuplicateLineByBlocks(std::u16string_view hostsText,
                                                         std::u16string_view upperEntry,
                                                         const UpperCaseInPlace& toUpper,
                                                         std::size_t blockSize = 1 << 16);

// The search above over the text of a hosts file whose bytes `pieces` hands
// over, decoded a piece at a time and upper-cased by the platform.
std::optional<std::u16string> FirstDuplicateLineIn(Platform& platform, const PieceSource& pieces,
                                                   std::u16string_view upperEntry);

}  // namespace quenlix
