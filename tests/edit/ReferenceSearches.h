#pragma once

// Slow, literal transcriptions of the rules, for comparing the fast functions
// against on generated inputs. Self-contained on purpose: they share no code
// with what they check.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quenlix::reference {

// 1-based position of `sought` in `text` from `start`, or 0, position by
// position.
inline std::size_t FindFrom(std::u16string_view text, std::u16string_view sought, std::size_t start) {
    if (text.empty()) return 0;
    if (start == 0) start = 1;
    if (start > text.size()) return 0;
    if (sought.empty()) return start;
    for (std::size_t p = start; p + sought.size() - 1 <= text.size(); ++p) {
        bool equal = true;
        for (std::size_t j = 0; j < sought.size(); ++j) {
            if (text[p - 1 + j] != sought[j]) {
                equal = false;
                break;
            }
        }
        if (equal) return p;
    }
    return 0;
}

inline bool Contains(std::u16string_view text, std::u16string_view sought) {
    return FindFrom(text, sought, 1) > 0;
}

inline std::vector<std::u16string> CutAt(std::u16string_view text, std::u16string_view delimiter) {
    std::vector<std::u16string> pieces;
    if (text.empty()) return pieces;
    std::u16string current;
    std::size_t i = 0;
    while (i < text.size()) {
        if (!delimiter.empty() && text.substr(i, delimiter.size()) == delimiter) {
            pieces.push_back(current);
            current.clear();
            i += delimiter.size();
        } else {
            current.push_back(text[i]);
            ++i;
        }
    }
    pieces.push_back(current);
    return pieces;
}

inline std::u16string Trim(std::u16string_view s) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && s[b] == u' ') ++b;
    while (e > b && s[e - 1] == u' ') --e;
    return std::u16string(s.substr(b, e - b));
}

// Command7: the nested loops, text2's pieces outside.
inline std::u16string FindEqualLines(std::u16string_view text1, std::u16string_view text2) {
    const std::vector<std::u16string> a = CutAt(text1, u"\r\n");
    const std::vector<std::u16string> b = CutAt(text2, u"\r\n");
    std::u16string text4;
    for (std::size_t j = 0; j < b.size(); ++j) {
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (a[i] == b[j]) text4 += a[i] + u"\r\n";
        }
    }
    return text4;
}

// Command8: each term searched for in the whole of text1.
inline std::u16string FindPresentTerms(std::u16string_view text1, std::u16string_view text2) {
    std::u16string text4;
    for (const std::u16string& term : CutAt(text2, u",")) {
        if (Contains(text1, term)) text4 += term;
    }
    return text4;
}

// Command9: the remainder R shortened line by line.
inline std::u16string FindLinesContaining(std::u16string_view text1, std::u16string_view text2) {
    std::u16string r(text1);
    std::u16string result;
    for (;;) {
        const std::size_t b = FindFrom(r, u"\r\n", 1);
        if (b == 0) break;
        const std::u16string line = r.substr(0, b - 1);
        if (Contains(line, text2)) result += line + u"\r\n";
        r = r.substr(b + 1);
    }
    return result;
}

// The picker's scans, in 1-based positions as written.
inline std::u16string LineAtCaret(std::u16string_view t, std::size_t k) {
    const std::size_t n = t.size();
    if (k > n) k = n;
    auto at = [&](std::size_t p) { return t[p - 1]; };  // 1-based
    std::size_t start = 1;
    for (std::size_t p = k; p >= 1; --p) {
        if (p + 1 <= n && at(p) == u'\r' && at(p + 1) == u'\n') {
            start = p + 2;
            break;
        }
    }
    std::size_t e = n + 1;
    for (std::size_t p = k + 1; p + 1 <= n; ++p) {
        if (at(p) == u'\r' && at(p + 1) == u'\n') {
            e = p;
            break;
        }
    }
    return std::u16string(t.substr(start - 1, e - start));
}

// Command5's steps 2 and 4: read every line by the file's line rule into a
// list of kept, trimmed lines, then test them in order.
inline std::optional<std::u16string> FirstDuplicateLine(std::u16string_view upperText,
                                                        std::u16string_view upperEntry) {
    std::vector<std::u16string> kept;
    std::u16string line;
    std::size_t i = 0;
    while (i < upperText.size()) {
        line.clear();
        while (i < upperText.size() && upperText[i] != u'\r') line.push_back(upperText[i++]);
        if (i < upperText.size()) {
            ++i;
            if (i < upperText.size() && upperText[i] == u'\n') ++i;
        }
        const std::u16string trimmed = Trim(line);
        if (trimmed.size() > 0 && trimmed[0] != u'#') kept.push_back(trimmed);
    }
    for (const std::u16string& k : kept) {
        if (FindFrom(k, upperEntry, 1) > 0) return k;
    }
    return std::nullopt;
}

}  // namespace quenlix::reference
