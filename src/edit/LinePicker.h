#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quenlix {

// The line of `text` that holds the caret, without its line break; a view into
// `text`. `caret` is the number of characters before the caret (0..size; a
// larger value is taken as size). Only the pair CR LF separates lines: a lone
// CR or LF belongs to its line. A caret between CR and LF picks the line that
// follows that break. Looks only at the picked line and its break, never at
// the rest of the text, so a click costs the same in a small and a huge file.
std::u16string_view LineAtCaret(std::u16string_view text, std::size_t caret);

// The outcome of taking a picked line apart.
//   Comment: the line begins with '#'; `address` holds the whole line (it goes
//            to the address box), `host` is empty (the host-name box is emptied).
//   Entry:   the line holds a U+0020 space; `address` is what comes before the
//            first space (possibly empty), `host` the rest from that space on
//            with leading and trailing spaces trimmed.
//   Other:   neither (the empty line too); both strings are empty and the
//            boxes stay as they were.
struct PickedLine {
    enum class Kind { Comment, Entry, Other };
    Kind kind;
    std::u16string address;
    std::u16string host;
};

PickedLine SplitPickedLine(std::u16string_view line);

}  // namespace quenlix
