#include "edit/DuplicateTest.h"

#include <algorithm>

#include "edit/StringRules.h"

namespace quenlix {

std::u16string EntryLine(std::u16string_view text2, std::u16string_view text3) {
    std::u16string line;
    line.reserve(text2.size() + 1 + text3.size());
    line.append(text2);
    line.push_back(u' ');
    line.append(text3);
    return line;
}

namespace {

constexpr std::size_t npos = std::u16string_view::npos;

// The kept line that `line` gives: the line trimmed, when that is not empty
// and does not begin with '#'.
std::optional<std::u16string_view> Kept(std::u16string_view line) {
    const std::u16string_view trimmed = TrimSpaces(line);
    if (trimmed.empty() || trimmed.front() == u'#') return std::nullopt;
    return trimmed;
}

// The lines by the file's line rule: a line ends at CR, an LF right after it
// goes with it. On the hosts text every CR is followed by LF, so this is the
// cut at CR LF; it also reads an unterminated last line, as the file itself
// would. Line by line, for the empty entry, which every kept line holds.
std::optional<std::u16string_view> FirstKeptLine(std::u16string_view text) {
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = text.find(u'\r', begin);
        if (end == npos) end = text.size();
        if (const auto kept = Kept(text.substr(begin, end - begin))) return kept;
        begin = end + 1;
        if (begin < text.size() && text[begin] == u'\n') ++begin;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::u16string_view> FirstDuplicateLine(std::u16string_view upperHostsText,
                                                      std::u16string_view upperEntry) {
    if (upperEntry.empty()) return FirstKeptLine(upperHostsText);

    // One search through the whole text instead of one per line: most of a
    // large file is skipped over, and only a line that holds an occurrence is
    // cut out and trimmed. The occurrence must lie inside the trimmed line.
    const std::u16string_view text = upperHostsText;
    const SubstringSearcher searcher(upperEntry);
    std::size_t from = 0;
    std::size_t floor = 0;            // no line looked at from here on begins before this
    std::size_t lineEnd = 0;          // the CR (or the end) after the current line
    std::optional<std::u16string_view> kept;  // that line's kept form
    bool haveLine = false;
    for (std::size_t at = searcher.Find(text, from); at != npos; at = searcher.Find(text, from)) {
        if (at > 0 && text[at - 1] == u'\r' && text[at] == u'\n') {  // the LF of a CR LF ends a line
            from = at + 1;
            continue;
        }
        if (!haveLine || at > lineEnd) {
            lineEnd = text.find(u'\r', at);
            if (lineEnd == npos) lineEnd = text.size();
            std::size_t begin = at;
            while (begin > floor && text[begin - 1] != u'\r' &&
                   !(text[begin - 1] == u'\n' && begin >= 2 && text[begin - 2] == u'\r'))
                --begin;
            kept = Kept(text.substr(begin, lineEnd - begin));
            floor = lineEnd;
            haveLine = true;
        }
        if (!kept) {  // a comment or blank line: on to the next line
            from = lineEnd + 1;
            continue;
        }
        const std::size_t keptBegin = static_cast<std::size_t>(kept->data() - text.data());
        if (at >= keptBegin && at + searcher.Size() <= keptBegin + kept->size()) return kept;
        from = at + 1;  // it runs into the spaces trimmed off; a later one may not
    }
    return std::nullopt;
}

std::optional<std::u16string> FirstDuplicateLineByBlocks(
    std::u16string_view hostsText, std::u16string_view upperEntry,
    const std::function<std::u16string(std::u16string_view)>& toUpper, std::size_t blockSize) {
    std::size_t begin = 0;
    while (begin < hostsText.size()) {
        // Whole lines only: the block runs on to the end of the line it
        // stops in, its CR and the LF after it included.
        std::size_t end = begin + std::max<std::size_t>(blockSize, 1);
        if (end >= hostsText.size()) {
            end = hostsText.size();
        } else {
            const std::size_t cr = hostsText.find(u'\r', end - 1);
            if (cr == npos) {
                end = hostsText.size();
            } else {
                end = cr + 1;
                if (end < hostsText.size() && hostsText[end] == u'\n') ++end;
            }
        }
        const std::u16string upper = toUpper(hostsText.substr(begin, end - begin));
        if (const auto duplicate = FirstDuplicateLine(upper, upperEntry)) return std::u16string(*duplicate);
        begin = end;
    }
    return std::nullopt;
}

}  // namespace quenlix
