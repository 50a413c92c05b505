#include "edit/LinePicker.h"

#include <algorithm>

#include "edit/StringRules.h"
#include "hosts/Lines.h"

namespace quenlix {

std::u16string_view LineAtCaret(std::u16string_view text, std::size_t caret) {
    const std::size_t k = std::min(caret, text.size());
    // A caret between CR and LF picks the line that follows that break.
    const std::size_t begin = IsLfOfCrLf(text, k) ? k + 1 : FindLineStart(text, k, LineBreaks::Box);
    const LineEnd end = FindLineEnd(text, k, LineBreaks::Box);
    return text.substr(begin, (end.at == NoBreak ? text.size() : end.at) - begin);
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
