#include "edit/NamedLines.h"

#include "edit/HostsLine.h"

namespace quenlix {

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The number in "第 n 行" at the start of `text`.
std::optional<std::size_t> NumberAtStart(std::u16string_view text) {
    constexpr std::u16string_view before = u"第 ";
    constexpr std::u16string_view after = u" 行";
    if (!text.starts_with(before)) return std::nullopt;
    std::size_t at = before.size();
    std::size_t number = 0;
    const std::size_t digits = at;
    // Nine digits at most: no text has more lines than that, and none wraps.
    while (at < text.size() && IsDigit(text[at]) && at - digits < 9) number = number * 10 + (text[at++] - u'0');
    if (at == digits || number == 0 || !text.substr(at).starts_with(after)) return std::nullopt;
    return number;
}

std::optional<std::size_t> NumberNamed(std::u16string_view line) {
    if (const auto number = NumberAtStart(line)) return number;
    constexpr std::u16string_view by = u"由";
    for (std::size_t at = line.find(by); at != std::u16string_view::npos; at = line.find(by, at + 1))
        if (const auto number = NumberAtStart(line.substr(at + by.size()))) return number;
    return std::nullopt;
}

TextRange RangeOf(const TextLine& line) { return {line.begin, line.end}; }

}  // namespace

std::optional<TextRange> LineNamedInResults(std::u16string_view hostsText, std::u16string_view results,
                                            std::size_t caret) {
    // The result line that holds the caret, and how many lines above it read the same.
    std::optional<TextLine> clicked;
    std::u16string_view content;
    std::size_t copiesAbove = 0;
    for (auto line = TextLineAt(results, 0); line; line = TextLineAt(results, line->next)) {
        if (caret >= line->begin && (caret <= line->end || line->next == line->end)) {
            clicked = line;
            content = results.substr(line->begin, line->end - line->begin);
            break;
        }
    }
    if (!clicked || content.empty()) return std::nullopt;

    if (const auto number = NumberNamed(content)) {
        std::size_t n = 0;
        for (auto line = TextLineAt(hostsText, 0); line; line = TextLineAt(hostsText, line->next))
            if (++n == *number) return RangeOf(*line);
        return std::nullopt;
    }

    for (auto line = TextLineAt(results, 0); line && line->begin < clicked->begin;
         line = TextLineAt(results, line->next))
        copiesAbove += results.substr(line->begin, line->end - line->begin) == content;
    std::optional<TextLine> first;
    std::size_t copies = 0;
    for (auto line = TextLineAt(hostsText, 0); line; line = TextLineAt(hostsText, line->next)) {
        if (hostsText.substr(line->begin, line->end - line->begin) != content) continue;
        if (copies == copiesAbove) return RangeOf(*line);
        if (copies++ == 0) first = line;
    }
    if (copies == 0) return std::nullopt;
    // Fewer copies than above: the search listed each line more than once.
    std::size_t wanted = copiesAbove % copies;
    for (auto line = first; line; line = TextLineAt(hostsText, line->next))
        if (hostsText.substr(line->begin, line->end - line->begin) == content && wanted-- == 0) return RangeOf(*line);
    return std::nullopt;
}

}  // namespace quenlix
