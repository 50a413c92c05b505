#include "edit/DuplicateLines.h"

#include <algorithm>

#include "edit/HitLines.h"
#include "edit/StringRules.h"
#include "hosts/Lines.h"

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

// The kept line that `line` gives: the line trimmed, when that is not empty
// and does not begin with '#'.
std::optional<std::u16string_view> Kept(std::u16string_view line) {
    const std::u16string_view trimmed = TrimSpaces(line);
    if (trimmed.empty() || trimmed.front() == u'#') return std::nullopt;
    return trimmed;
}

// The first kept line by the file's line rule, which on the hosts text is
// the cut at CR LF and also reads an unterminated last line, as the file
// itself would. Line by line, for the empty entry, which every kept line holds.
std::optional<std::u16string_view> FirstKeptLine(std::u16string_view text) {
    LineWalk lines(text, LineBreaks::File);
    for (auto line = lines.Next(); line; line = lines.Next()) {
        if (const auto kept = Kept(line->text)) return kept;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::u16string_view> FirstDuplicateLine(std::u16string_view upperHostsText,
                                                      std::u16string_view upperEntry) {
    if (upperEntry.empty()) return FirstKeptLine(upperHostsText);

    // The occurrence must lie inside the trimmed line; in a comment or blank
    // line none counts.
    const SubstringSearcher searcher(upperEntry);
    std::optional<std::u16string_view> duplicate;
    JudgeHitLines(upperHostsText, searcher, LineBreaks::File, [&](const HitLine& line, std::size_t at) {
        const auto kept = Kept(upperHostsText.substr(line.begin, line.end - line.begin));
        if (!kept) return HitVerdict::NextLine;
        const std::size_t keptBegin = static_cast<std::size_t>(kept->data() - upperHostsText.data());
        if (at < keptBegin || at + searcher.Size() > keptBegin + kept->size()) return HitVerdict::LaterHit;
        duplicate = kept;
        return HitVerdict::Stop;
    });
    return duplicate;
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
            const LineEnd lineEnd = FindLineEnd(hostsText, end - 1, LineBreaks::File);
            end = lineEnd.at == NoBreak ? hostsText.size() : lineEnd.next;
        }
        const std::u16string upper = toUpper(hostsText.substr(begin, end - begin));
        if (const auto duplicate = FirstDuplicateLine(upper, upperEntry)) return std::u16string(*duplicate);
        begin = end;
    }
    return std::nullopt;
}

}  // namespace quenlix
