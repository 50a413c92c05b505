#include "edit/StringRules.h"

namespace quenlix {

SubstringSearcher::SubstringSearcher(std::u16string_view sought)
    : sought_(sought), border_(sought.size(), 0), skip_(256, sought.size()) {
    std::size_t k = 0;
    for (std::size_t i = 1; i < sought_.size(); ++i) {
        while (k > 0 && sought_[i] != sought_[k]) k = border_[k - 1];
        if (sought_[i] == sought_[k]) ++k;
        border_[i] = k;
    }
    for (std::size_t i = 0; i + 1 < sought_.size(); ++i) skip_[sought_[i] & 0xFF] = sought_.size() - 1 - i;
}

std::size_t SubstringSearcher::Find(std::u16string_view text, std::size_t from) const {
    const std::size_t m = sought_.size();
    if (from > text.size()) return npos;
    if (m == 0) return from;
    if (text.size() - from < m) return npos;

    // Horspool: line the sought string up at `at`, look at the text character
    // under its last position, and move on by that character's skip. The
    // whole comparisons it makes are counted; past a budget of a few times
    // the text's length the rest of the text goes to the border search.
    const char16_t last = sought_[m - 1];
    const std::size_t end = text.size() - m;  // the last place it can begin
    std::size_t budget = 4 * (text.size() - from) + 64;
    std::size_t at = from;
    while (at <= end) {
        const char16_t c = text[at + m - 1];
        if (c == last) {
            std::size_t j = 0;
            while (j + 1 < m && text[at + j] == sought_[j]) ++j;
            if (j + 1 == m) return at;
            if (budget < j + 1) return FindByBorders(text, at);
            budget -= j + 1;
        }
        at += skip_[c & 0xFF];
    }
    return npos;
}

std::size_t SubstringSearcher::FindByBorders(std::u16string_view text, std::size_t from) const {
    const std::size_t m = sought_.size();
    std::size_t k = 0;
    for (std::size_t i = from; i < text.size(); ++i) {
        const char16_t c = text[i];
        while (k > 0 && c != sought_[k]) k = border_[k - 1];
        if (c == sought_[k] && ++k == m) return i + 1 - m;
    }
    return npos;
}

std::vector<std::u16string_view> CutAt(std::u16string_view text, std::u16string_view delimiter) {
    std::vector<std::u16string_view> pieces;
    if (text.empty()) return pieces;
    if (delimiter.empty()) {
        pieces.push_back(text);
        return pieces;
    }
    const SubstringSearcher searcher(delimiter);
    std::size_t begin = 0;
    for (;;) {
        const std::size_t found = searcher.Find(text.substr(begin));
        if (found == SubstringSearcher::npos) {
            pieces.push_back(text.substr(begin));
            return pieces;
        }
        pieces.push_back(text.substr(begin, found));
        begin += found + delimiter.size();
    }
}

std::u16string_view TrimSpaces(std::u16string_view s) {
    const std::size_t first = s.find_first_not_of(u' ');
    if (first == std::u16string_view::npos) return {};
    const std::size_t last = s.find_last_not_of(u' ');
    return s.substr(first, last - first + 1);
}

}  // namespace quenlix
