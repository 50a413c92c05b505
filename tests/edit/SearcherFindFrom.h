#pragma once

#include <cstddef>
#include <string_view>

#include "edit/StringRules.h"

namespace quenlix::testing {

// The 1-based "find from a position" of the searches' rules (0 for nothing;
// an empty text holds nothing, not even the empty string), run on the
// program's SubstringSearcher: the tests and fuzzers hold the searcher to
// those rules through it, against the literal transcription.
inline std::size_t FindFrom(std::u16string_view text, std::u16string_view sought, std::size_t start = 1) {
    if (text.empty()) return 0;
    if (start == 0) start = 1;
    if (start > text.size()) return 0;
    if (sought.empty()) return start;
    const std::size_t found = SubstringSearcher(sought).Find(text.substr(start - 1));
    return found == SubstringSearcher::npos ? 0 : start + found;
}

}  // namespace quenlix::testing
