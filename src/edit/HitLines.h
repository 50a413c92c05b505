#pragma once

#include <cstddef>
#include <string_view>

#include "edit/StringRules.h"
#include "hosts/Lines.h"

namespace quenlix {

// Where an occurrence of a sought string stands: the line that holds it,
// from `begin` up to its break (or the end of the text).
struct HitLine {
    std::size_t begin;
    std::size_t end;
    bool hasBreak;
};

// What a search makes of one occurrence, seen in its line.
enum class HitVerdict {
    LaterHit,  // this occurrence does not count; a later one in the same line may
    NextLine,  // on to the first occurrence after this line
    Stop,      // the search is over
};

// The searches for "lines that hold the sought string": one search through
// the whole text rather than one per line, so that a large text is mostly
// skipped over and only the lines around an occurrence are looked at. Each
// occurrence that does not begin inside a line break goes to `judge`
// (HitVerdict(const HitLine&, std::size_t at)) with the line that holds it;
// the searches differ only in what they accept.
template <typename Judge>
void JudgeHitLines(std::u16string_view text, const SubstringSearcher& searcher, LineBreaks breaks, Judge judge) {
    std::size_t from = 0;
    std::size_t floor = 0;  // no line looked at from here on begins before this
    HitLine line{};
    std::size_t next = 0;   // where the line after `line` begins
    bool haveLine = false;
    for (std::size_t at = searcher.Find(text, from); at != SubstringSearcher::npos; at = searcher.Find(text, from)) {
        if (IsLfOfCrLf(text, at)) {
            from = at + 1;
            continue;
        }
        if (!haveLine || at > line.end) {
            const LineEnd end = FindLineEnd(text, at, breaks);
            line = {FindLineStart(text, at, breaks, floor), end.at == NoBreak ? text.size() : end.at,
                    end.at != NoBreak};
            next = end.next;
            floor = line.end;
            haveLine = true;
        }
        switch (judge(line, at)) {
            case HitVerdict::LaterHit: from = at + 1; break;
            case HitVerdict::NextLine:
                if (!line.hasBreak) return;
                from = next;
                haveLine = false;
                break;
            case HitVerdict::Stop: return;
        }
    }
}

}  // namespace quenlix
