#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Digits.h"

namespace quenlix {

// Positions are 1-based counts of UTF-16 code units; 0 means "not found".
// Every comparison is exact, code unit by code unit.

// The pieces between the delimiters, in order, empty pieces included. The
// empty text gives no pieces; a text that ends with the delimiter gives a
// last, empty piece. An empty delimiter cuts nothing: the text is one piece.
// The pieces are views into `text`.
std::vector<std::u16string_view> CutAt(std::u16string_view text, std::u16string_view delimiter);

// Removes leading and trailing U+0020 only; tabs, U+3000 and line breaks stay.
std::u16string_view TrimSpaces(std::u16string_view s);

// A substring search prepared once for one sought string and then run on many
// texts, in time linear in the text whatever the strings hold (the standard
// library's find may take |text| x |sought| steps on runs of one character).
// It skips ahead by the sought string's length where the text's characters
// are not in it (Horspool), which makes a search in a large text take a
// fraction of a pass over it; should the text make it compare too much, it
// goes on with Knuth-Morris-Pratt, which never looks at a character twice.
class SubstringSearcher {
public:
    explicit SubstringSearcher(std::u16string_view sought);

    // 0-based index of the first occurrence of the sought string in `text`
    // that begins at or after `from`, or npos. Plain substring semantics: an
    // empty sought string is found at `from` whenever from <= text.size(),
    // in the empty text too. The callers apply the rules above.
    std::size_t Find(std::u16string_view text, std::size_t from = 0) const;

    std::size_t Size() const { return sought_.size(); }

    static constexpr std::size_t npos = std::u16string_view::npos;

private:
    std::size_t FindByBorders(std::u16string_view text, std::size_t from) const;

    std::u16string sought_;
    // border_[i]: length of the longest proper border of sought_[0..i].
    std::vector<std::size_t> border_;
    // How far the sought string may move when the text character under its
    // last position is c: indexed by the low byte of c, so that characters
    // sharing a low byte share the smallest of their moves.
    std::vector<std::size_t> skip_;
};

}  // namespace quenlix
