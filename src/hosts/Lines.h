#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace quenlix {

// The two ways the program cuts a text into lines.
enum class LineBreaks {
    // As the hosts file is read: a line ends at CR, and an LF right after
    // that CR belongs to the same break; a lone LF stays inside its line.
    File,
    // As the hosts text box holds the hosts text: only the pair CR LF ends a line; a lone
    // CR or LF stays inside its line.
    Box,
};

inline constexpr std::size_t NoBreak = std::u16string_view::npos;

// Where the break that ends a line stands and where the next line begins.
struct LineEnd {
    std::size_t at;    // the break's first unit; NoBreak when the text ends first
    std::size_t next;  // just after the break; NoBreak when there is none
};

// The first break at or after `from`.
inline LineEnd FindLineEnd(std::u16string_view text, std::size_t from, LineBreaks breaks) {
    for (std::size_t cr = text.find(u'\r', from); cr != std::u16string_view::npos; cr = text.find(u'\r', cr + 1)) {
        const bool lf = cr + 1 < text.size() && text[cr + 1] == u'\n';
        if (lf) return {cr, cr + 2};
        if (breaks == LineBreaks::File) return {cr, cr + 1};
    }
    return {NoBreak, NoBreak};
}

// Whether a break ends just before `index`, so that a line begins there.
inline bool BreakEndsAt(std::u16string_view text, std::size_t index, LineBreaks breaks) {
    if (index == 0) return false;
    const bool crLf = index >= 2 && text[index - 2] == u'\r' && text[index - 1] == u'\n';
    return crLf || (breaks == LineBreaks::File && text[index - 1] == u'\r');
}

// Whether `index` is the LF of a CR LF: inside a break under either rule.
inline bool IsLfOfCrLf(std::u16string_view text, std::size_t index) {
    return index > 0 && index < text.size() && text[index] == u'\n' && text[index - 1] == u'\r';
}

// The start of the line that holds `index`, looking back no further than
// `floor` (a place known to begin a line, or to lie before the line).
inline std::size_t FindLineStart(std::u16string_view text, std::size_t index, LineBreaks breaks,
                                 std::size_t floor = 0) {
    std::size_t begin = index;
    while (begin > floor && !BreakEndsAt(text, begin, breaks)) --begin;
    return begin;
}

// One line of a text: its units, without the break that ends it.
struct Line {
    std::u16string_view text;
    bool hasBreak;  // false for what follows the last break
};

// The lines of a text, one at a time, in order. What follows the last break
// is a line of its own when it is not empty, and also when `emptyRest` says
// so (the box rule's last piece).
class LineWalk {
public:
    LineWalk(std::u16string_view text, LineBreaks breaks, bool emptyRest = false)
        : text_(text), breaks_(breaks), emptyRest_(emptyRest) {}

    std::optional<Line> Next() {
        if (done_) return std::nullopt;
        const LineEnd end = FindLineEnd(text_, begin_, breaks_);
        if (end.at == NoBreak) {
            done_ = true;
            if (begin_ == text_.size() && !emptyRest_) return std::nullopt;
            return Line{text_.substr(begin_), false};
        }
        const Line line{text_.substr(begin_, end.at - begin_), true};
        begin_ = end.next;
        return line;
    }

private:
    std::u16string_view text_;
    LineBreaks breaks_;
    bool emptyRest_;
    std::size_t begin_ = 0;
    bool done_ = false;
};

}  // namespace quenlix
