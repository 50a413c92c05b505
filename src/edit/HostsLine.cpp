#include "edit/HostsLine.h"

#include <bit>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

#include "edit/EntryCheck.h"
#include "platform/AsciiCase.h"

namespace quenlix {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string_view TrimBlanks(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Whether `text` ends with the word `word` (ASCII, any case) standing on its
// own after a blank; gives what comes before that blank.
std::optional<std::u16string_view> BeforeLastWord(std::u16string_view text, std::u16string_view word) {
    if (text.size() <= word.size() || !IsBlank(text[text.size() - word.size() - 1])) return std::nullopt;
    const std::u16string_view last = text.substr(text.size() - word.size());
    for (std::size_t i = 0; i < word.size(); ++i)
        if (AsciiLower(last[i]) != word[i]) return std::nullopt;
    return TrimBlanks(text.substr(0, text.size() - word.size() - 1));
}

// The first unit from `p` on that is '#' or below it (blanks, line breaks and
// the other control characters all are), or `last`. Addresses and names are
// made of units above '#': a blocklist of a million lines is mostly those,
// passed over eight at a time where the processor has SSE2 (every x86-64
// one does).
const char16_t* NextLowUnit(const char16_t* p, const char16_t* last) {
#if defined(__SSE2__) || defined(_M_X64)
    const __m128i hashSign = _mm_set1_epi16(static_cast<short>(u'#'));
    for (; last - p >= 8; p += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        // Without sign: a unit is at most '#' when taking '#' from it leaves nothing.
        const __m128i low = _mm_cmpeq_epi16(_mm_subs_epu16(units, hashSign), _mm_setzero_si128());
        if (const int mask = _mm_movemask_epi8(low)) return p + std::countr_zero(static_cast<unsigned>(mask)) / 2;
    }
#endif
    while (p < last && *p > u'#') ++p;
    return p;
}

bool EndsField(char16_t c) { return c == u' ' || c == u'\t' || c == u'#' || c == u'\r' || c == u'\n'; }

}  // namespace

std::size_t FirstNonBlank(std::u16string_view line) {
    std::size_t at = 0;
    while (at < line.size() && IsBlank(line[at])) ++at;
    return at;
}

HostsLineFields ReadHostsLine(std::u16string_view line) {
    HostsLineFields fields;
    ReadHostsLine(line, fields);
    return fields;
}

void ReadHostsLine(std::u16string_view line, HostsLineFields& fields) {
    fields.address = {};
    fields.names.clear();
    fields.commentAt = line.find(u'#');
    const std::u16string_view data = line.substr(0, fields.commentAt);
    bool first = true;
    for (std::size_t at = 0;;) {
        while (at < data.size() && IsBlank(data[at])) ++at;
        if (at == data.size()) break;
        const std::size_t begin = at;
        while (at < data.size() && !IsBlank(data[at])) ++at;
        const std::u16string_view field = data.substr(begin, at - begin);
        if (first)
            fields.address = field;
        else
            fields.names.push_back(field);
        first = false;
    }
}

bool IsEntry(const HostsLineFields& fields) {
    return !fields.names.empty() && (IsIpv4Address(fields.address) || IsIpv6Address(fields.address));
}

bool IsEntryText(std::u16string_view line) {
    line = line.substr(0, line.find(u'#'));
    std::size_t at = FirstNonBlank(line);
    const std::size_t begin = at;
    while (at < line.size() && !IsBlank(line[at])) ++at;
    const std::u16string_view address = line.substr(begin, at - begin);
    if (FirstNonBlank(line.substr(at)) == line.size() - at) return false;  // no name
    return IsIpv4Address(address) || IsIpv6Address(address);
}

std::optional<SwitchedOffEntry> FindSwitchedOffEntry(std::u16string_view line) {
    const std::size_t mark = FirstNonBlank(line);
    if (mark == line.size() || line[mark] != u'#') return std::nullopt;
    std::size_t entryAt = mark + 1;
    if (entryAt < line.size() && line[entryAt] == u' ') ++entryAt;
    if (!IsEntryText(line.substr(entryAt))) return std::nullopt;
    return SwitchedOffEntry{mark, entryAt};
}

std::optional<GroupMark> ReadGroupMark(std::u16string_view line) {
    const std::u16string_view text = TrimBlanks(line);
    if (text.empty() || text.front() != u'#') return std::nullopt;
    std::size_t equals = 1;
    while (equals < text.size() && text[equals] == u'=') ++equals;
    if (equals - 1 >= 4) {
        const std::u16string_view name = TrimBlanks(text.substr(equals));
        return GroupMark{name.empty() ? GroupMark::Kind::End : GroupMark::Kind::Start, name};
    }
    if (equals > 1 || FindSwitchedOffEntry(line)) return std::nullopt;
    const std::u16string_view words = TrimBlanks(text.substr(1));
    if (const auto name = BeforeLastWord(words, u"start"); name && !name->empty())
        return GroupMark{GroupMark::Kind::Start, *name, GroupMark::Spelling::Words};
    if (const auto name = BeforeLastWord(words, u"end"); name && !name->empty())
        return GroupMark{GroupMark::Kind::End, *name, GroupMark::Spelling::Words};
    return std::nullopt;
}

std::optional<TextLine> TextLineAt(std::u16string_view text, std::size_t begin) {
    if (begin >= text.size()) return std::nullopt;
    std::size_t end = begin;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
    std::size_t next = end;
    if (next < text.size()) next += text[next] == u'\r' && next + 1 < text.size() && text[next + 1] == u'\n' ? 2 : 1;
    return TextLine{begin, end, next};
}

std::optional<TextLine> ReadHostsLineAt(std::u16string_view text, std::size_t begin, HostsLineFields& fields) {
    if (begin >= text.size()) return std::nullopt;
    fields.address = {};
    fields.names.clear();
    fields.commentAt = NoPosition;
    const char16_t* const first = text.data() + begin;
    const char16_t* const last = text.data() + text.size();
    const char16_t* p = first;
    const auto takeField = [&](const char16_t* from) {
        const std::u16string_view field(from, static_cast<std::size_t>(p - from));
        if (fields.address.empty())
            fields.address = field;
        else
            fields.names.push_back(field);
    };
    while (p < last) {
        const char16_t c = *p;
        if (c == u' ' || c == u'\t') {
            ++p;
        } else if (c == u'\r' || c == u'\n') {
            break;
        } else if (c == u'#') {
            fields.commentAt = static_cast<std::size_t>(p - first);
            // The comment runs to the line break, past every blank in it.
            for (p = NextLowUnit(p + 1, last); p < last && *p != u'\r' && *p != u'\n';) p = NextLowUnit(p + 1, last);
            break;
        } else {
            // A field: units above '#' in runs, and the rare unit below it
            // that ends no field (a control character, '!', '"').
            const char16_t* const from = p;
            for (p = NextLowUnit(p, last); p < last && !EndsField(*p);) p = NextLowUnit(p + 1, last);
            takeField(from);
        }
    }
    const std::size_t end = static_cast<std::size_t>(p - text.data());
    std::size_t next = end;
    if (next < text.size()) next += text[next] == u'\r' && next + 1 < text.size() && text[next + 1] == u'\n' ? 2 : 1;
    return TextLine{begin, end, next};
}

}  // namespace quenlix
