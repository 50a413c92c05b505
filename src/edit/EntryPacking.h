#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/WindowState.h"

namespace quenlix {

// Packs each run of two or more consecutive entry lines that share one
// address (as written), have no comment, no name Windows would refuse and
// no more than nine names, into as few lines as hold their names nine to a
// line: the address, one space, the names in their first order, each once
// (letter case and a trailing dot aside), one space apart. Blocklists of
// one name a line become about a ninth as long, which is what Windows' DNS
// Client service needs to read them at logon without stalling.
//
// Every other line (comments, blank lines, group marks, switched-off
// entries) stays as it is, byte for byte; so does a run that packs to what it
// already was. A group mark is a line of its own, so no run crosses one.
// Each packed line but the last ends with the run's first line break; the
// last keeps the break the run ended with.
struct PackedEntries {
    // The stretch of the text from the first changed line to the end of the
    // last, and what replaces it; empty when nothing would change.
    TextRange range;
    std::u16string replacement;
    std::size_t entryLinesBefore = 0;
    std::size_t entryLinesAfter = 0;
    // The names on the entry lines once packed.
    std::size_t names = 0;

    bool Changed() const { return range.end > range.begin || !replacement.empty(); }
};

PackedEntries PackEntries(std::u16string_view text);

}  // namespace quenlix
