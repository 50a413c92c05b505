#include "edit/LinePicker.h"

#include <algorithm>

#include "edit/StringRules.h"

namespace quenlix {

namespace {

bool IsCrLfAt(std::u16string_view text, std::size_t index) {
    return index + 1 < text.size() && text[index] == u'\r' && text[index + 1] == u'\n';
}

}  // namespace

std::u16string_view LineAtCaret(std::u16string_view text, std::size_t caret) {
    const std::size_t k = std::min(caret, text.size());

    // Backward from the caret: the nearest CR LF whose CR stands at index k - 1
    // or before. Starting at k - 1 (not k - 2) is what makes a caret between CR
    // and LF pick the following line.
    std::size_t begin = 0;
    for (std::size_t afterCr = k; afterCr > 0; --afterCr) {
        if (IsCrLfAt(text, afterCr - 1)) {
            begin = afterCr + 1;
            break;
        }
    }

    // Forward: the first CR LF whose CR stands at index k or later.
    std::size_t end = text.size();
    for (std::size_t cr = k; cr + 1 < text.size(); ++cr) {
        if (IsCrLfAt(text, cr)) {
            end = cr;
            break;
        }
    }

    // begin <= end always: when the backward scan matched at the caret itself
    // (CR at k - 1), text[k] is that LF, so the forward match lies past it.
    return text.substr(begin, end - begin);
}

PickedLine SplitPickedLine(std::u16string_view line) {
    if (!line.empty() && line.front() == u'#') {
        return {PickedLine::Kind::Comment, std::u16string(line), std::u16string()};
    }
    const std::size_t space = line.find(u' ');
    if (space == std::u16string_view::npos) {
        return {PickedLine::Kind::Other, std::u16string(), std::u16string()};
    }
    return {PickedLine::Kind::Entry, std::u16string(line.substr(0, space)),
            std::u16string(TrimSpaces(line.substr(space)))};
}

}  // namespace quenlix
