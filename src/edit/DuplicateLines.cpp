#include "edit/DuplicateLines.h"

#include <algorithm>

#include "edit/HitLines.h"
#include "edit/StringRules.h"
#include "hosts/HostsFileReader.h"
#include "hosts/Lines.h"
#include "platform/Platform.h"

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

namespace {

// Where a stretch of text may be cut so that both sides hold whole lines by
// the file's rule: just after the last CR whose next unit is there too (after
// that unit when it is the CR's LF); 0 when there is no such CR.
std::size_t AfterLastWholeBreak(std::u16string_view text) {
    if (text.size() < 2) return 0;
    const std::size_t cr = text.rfind(u'\r', text.size() - 2);
    if (cr == std::u16string_view::npos) return 0;
    return text[cr + 1] == u'\n' ? cr + 2 : cr + 1;
}

}  // namespace

void DuplicateLineSearch::Add(std::span<char16_t> stretch) {
    if (found_ || stretch.empty()) return;
    const std::u16string_view units(stretch.data(), stretch.size());
    std::size_t start = 0;
    if (!begun_.empty()) {
        // The line begun before ends in this stretch once a break in it is
        // seen whole: a CR and the unit after it, the CR perhaps the last
        // unit seen before.
        if (begun_.back() == u'\r') {
            start = units.front() == u'\n' ? 1 : 0;
        } else {
            const std::size_t cr = units.find(u'\r');
            if (cr == std::u16string_view::npos || cr + 1 == units.size()) {
                begun_.append(units);
                return;
            }
            start = units[cr + 1] == u'\n' ? cr + 2 : cr + 1;
        }
        begun_.append(units.substr(0, start));
        Test(begun_);
        begun_.clear();
    }
    const std::size_t cut = start + AfterLastWholeBreak(units.substr(start));
    Test(stretch.subspan(start, cut - start));
    begun_.assign(units.substr(cut));
}

std::optional<std::u16string> DuplicateLineSearch::Finish() {
    Test(begun_);  // the last line, when it has no break
    begun_.clear();
    return found_;
}

void DuplicateLineSearch::Restart() {
    begun_.clear();
    found_.reset();
}

// Blocks of whole lines, and the platform maps case character by character:
// the capitals of a block are those the whole text has there.
void DuplicateLineSearch::Test(std::span<char16_t> lines) {
    if (found_ || lines.empty()) return;
    toUpper_(lines);
    if (const auto duplicate = FirstDuplicateLine(std::u16string_view(lines.data(), lines.size()), upperEntry_))
        found_ = std::u16string(*duplicate);
}

std::optional<std::u16string> FirstDuplicateLineByBlocks(std::u16string_view hostsText,
                                                         std::u16string_view upperEntry,
                                                         const UpperCaseInPlace& toUpper, std::size_t blockSize) {
    DuplicateLineSearch search(upperEntry, toUpper);
    const std::size_t step = std::max<std::size_t>(blockSize, 1);
    std::u16string block;
    for (std::size_t begin = 0; begin < hostsText.size(); begin += step) {
        block.assign(hostsText.substr(begin, step));
        search.Add(block);
    }
    return search.Finish();
}

std::optional<std::u16string> FirstDuplicateLineIn(Platform& platform, const PieceSource& pieces,
                                                   std::u16string_view upperEntry) {
    DuplicateLineSearch search(upperEntry, [&](std::span<char16_t> lines) { platform.ToUpperInPlace(lines); });
    DecodeHostsTextInStretches(
        platform, pieces, [&](std::span<char16_t> stretch) { search.Add(stretch); }, [&] { search.Restart(); });
    return search.Finish();
}

}  // namespace quenlix
