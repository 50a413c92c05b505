#include "edit/EntryCheck.h"

#include <algorithm>
#include <array>
#include <cstdint>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif


// The address rules follow Windows' RtlIpv4StringToAddressExW (strict) and
// RtlIpv6StringToAddressExW, written out here rather than asked of ntdll:
// the commands that use them run, and are tested, in the portable build
// too, and those functions also take a port and brackets that a hosts line
// cannot hold. The tests hold both against one table under Wine.
namespace quenlix {

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsHexDigit(char16_t c) { return IsDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'); }
bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool IsNotBlank(char16_t c) { return !IsBlank(c); }

// The run of characters from `at` on that `keep` takes; `at` moves past it.
template <typename Keep>
std::u16string_view TakeWhile(std::u16string_view text, std::size_t& at, Keep keep) {
    const std::size_t begin = at;
    while (at < text.size() && keep(text[at])) ++at;
    return text.substr(begin, at - begin);
}

bool HasLineBreak(std::u16string_view text) { return text.find_first_of(u"\r\n") != text.npos; }

bool HasLeadingZero(std::u16string_view digits) { return digits.size() > 1 && digits.front() == u'0'; }

// Decimal digits only, at least one, of a value no larger than `most`.
bool IsDecimalUpTo(std::u16string_view digits, std::uint32_t most) {
    if (digits.empty()) return false;
    std::uint64_t value = 0;
    for (const char16_t c : digits) {
        if (!IsDigit(c)) return false;
        value = value * 10 + static_cast<std::uint64_t>(c - u'0');
        if (value > most) return false;
    }
    return true;
}

// Four parts of 0 to 255 joined by dots, and nothing after them. Inside an
// IPv6 address Windows takes a part of up to three digits, leading zeros and
// all; on its own, in strict mode, a leading zero would make it octal, which
// strict mode refuses.
bool IsDottedQuad(std::u16string_view text, bool leadingZerosAllowed) {
    std::size_t at = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0 && (at == text.size() || text[at++] != u'.')) return false;
        const std::u16string_view digits = TakeWhile(text, at, IsDigit);
        if (digits.size() > 3 || (!leadingZerosAllowed && HasLeadingZero(digits))) return false;
        if (!IsDecimalUpTo(digits, 255)) return false;
    }
    return at == text.size();
}

// What each ASCII unit may be in a name: 0 nowhere, 1 anywhere in a label,
// 2 ('-') anywhere but at either end of one, 3 ('.') between labels.
constexpr std::array<std::uint8_t, 128> NameUnits = [] {
    std::array<std::uint8_t, 128> units{};
    for (char16_t c = u'0'; c <= u'9'; ++c) units[c] = 1;
    for (char16_t c = u'a'; c <= u'z'; ++c) units[c] = 1;
    for (char16_t c = u'A'; c <= u'Z'; ++c) units[c] = 1;
    units[u'_'] = 1;
    units[u'-'] = 2;
    units[u'.'] = 3;
    return units;
}();

}  // namespace

bool IsIpv4Address(std::u16string_view text) { return IsDottedQuad(text, false); }

bool IsIpv6Address(std::u16string_view text) {
    if (const std::size_t percent = text.find(u'%'); percent != std::u16string_view::npos) {
        const std::u16string_view zone = text.substr(percent + 1);
        if (HasLeadingZero(zone) || !IsDecimalUpTo(zone, 0xFFFFFFFF)) return false;
        text = text.substr(0, percent);
    }
    // Groups written, an IPv4 address counting two, and whether "::" stands
    // for the ones left out. Windows takes a leading "::" for one group at
    // least, never for none: "::" and seven groups is refused, while seven
    // groups and "::" is taken.
    std::size_t groups = 0;
    bool gap = false;
    std::size_t at = 0;
    if (text.starts_with(u"::")) {
        gap = true;
        groups = 1;
        at = 2;
    }
    while (at < text.size()) {
        const std::size_t begin = at;
        const std::u16string_view group = TakeWhile(text, at, IsHexDigit);
        if (at < text.size() && text[at] == u'.') {
            // An IPv4 address ends the text and stands for its last two groups.
            if (gap ? groups > 5 : groups != 6) return false;
            if (!IsDottedQuad(text.substr(begin), true)) return false;
            groups += 2;
            break;
        }
        if (group.empty() || group.size() > 4) return false;
        ++groups;
        if (at == text.size()) break;
        if (text[at++] != u':') return false;
        if (at < text.size() && text[at] == u':') {
            if (gap) return false;
            gap = true;
            ++at;
        } else if (at == text.size()) {
            return false;  // a single ':' at the end
        }
    }
    return gap ? groups <= 7 : groups == 8;
}

namespace {

// A unit at a time, for a name of any length.
bool IsHostNameByUnits(std::u16string_view text) {
    std::size_t label = 0;  // units of the current label so far
    char16_t previous = u'.';
    for (const char16_t c : text) {
        const std::uint8_t unit = c < 0x80 ? NameUnits[c] : 1;  // any unit outside ASCII is a letter
        if (unit == 0) return false;
        if (unit == 3) {
            if (label == 0 || previous == u'-') return false;
            label = 0;
        } else {
            if (unit == 2 && label == 0) return false;
            if (++label > 63) return false;
        }
        previous = c;
    }
    return label != 0 && previous != u'-';
}

#if defined(__SSE2__) || defined(_M_X64)
// Which of eight units lie in [first, last], as 0xFFFF each; without sign.
__m128i InRange(__m128i units, char16_t first, char16_t last) {
    const __m128i from = _mm_sub_epi16(units, _mm_set1_epi16(static_cast<short>(first)));
    return _mm_cmpeq_epi16(_mm_subs_epu16(from, _mm_set1_epi16(static_cast<short>(last - first))), _mm_setzero_si128());
}

// Bit i for unit i of eight.
std::uint64_t UnitBits(__m128i mask) {
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(mask, _mm_setzero_si128())));
}

// The same rules for a name of at most 63 units, where no label can be too
// long, eight units at a time: the whole-text check and packing ask this of
// every name of a blocklist. Each kind of unit becomes a mask of the name's
// positions, and each rule a test of those masks.
bool IsShortHostName(std::u16string_view text) {
    std::uint64_t others = 0, dashes = 0, dots = 0;
    std::array<char16_t, 8> shortName;
    const char16_t* units8 = text.data();
    if (text.size() < 8) {
        shortName.fill(u'a');  // a letter: the padding breaks no rule
        std::copy(text.begin(), text.end(), shortName.begin());
        units8 = shortName.data();
    }
    // Eight units at a time; the last eight end where the name ends and may
    // cover units read before, whose bits they set again.
    for (std::size_t at = 0; at < text.size(); at += 8) {
        if (text.size() >= 8 && text.size() - at < 8) at = text.size() - 8;
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units8 + at));
        const __m128i dash = _mm_cmpeq_epi16(units, _mm_set1_epi16(u'-'));
        const __m128i dot = _mm_cmpeq_epi16(units, _mm_set1_epi16(u'.'));
        // Any unit outside ASCII counts as a letter.
        const __m128i letter = _mm_or_si128(
            _mm_or_si128(_mm_or_si128(InRange(units, u'a', u'z'), InRange(units, u'A', u'Z')),
                         _mm_or_si128(InRange(units, u'0', u'9'), _mm_cmpeq_epi16(units, _mm_set1_epi16(u'_')))),
            _mm_xor_si128(InRange(units, 0, 0x7F), _mm_set1_epi16(-1)));
        others |= (~UnitBits(_mm_or_si128(letter, _mm_or_si128(dash, dot))) & 0xFF) << at;
        dashes |= UnitBits(dash) << at;
        dots |= UnitBits(dot) << at;
    }
    const std::uint64_t last = std::uint64_t{1} << (text.size() - 1);
    const std::uint64_t labelStarts = dots << 1 | 1;
    const std::uint64_t labelEnds = dots >> 1 | last;
    // No empty label (a dot first, last or after a dot), no '-' at either
    // end of a label.
    return others == 0 && (dots & (labelStarts | last)) == 0 && (dashes & (labelStarts | labelEnds)) == 0;
}
#endif

}  // namespace

bool IsHostName(std::u16string_view text) {
    if (text.empty() || text.size() > 255) return false;
    if (text.back() == u'.') text.remove_suffix(1);
    if (text.empty()) return false;
#if defined(__SSE2__) || defined(_M_X64)
    if (text.size() <= 63) return IsShortHostName(text);
#endif
    return IsHostNameByUnits(text);
}

std::optional<EntryProblem> FirstEntryProblem(std::u16string_view address, std::u16string_view names) {
    for (const std::u16string_view text : {address, names})
        if (HasLineBreak(text)) return EntryProblem{EntryProblem::Kind::LineBreak, text};
    if (!IsIpv4Address(address) && !IsIpv6Address(address)) return EntryProblem{EntryProblem::Kind::Address, address};
    names = names.substr(0, names.find(u'#'));
    std::size_t count = 0;
    for (std::size_t at = 0;;) {
        TakeWhile(names, at, IsBlank);
        if (at == names.size()) break;
        const std::u16string_view name = TakeWhile(names, at, IsNotBlank);
        if (!IsHostName(name)) return EntryProblem{EntryProblem::Kind::HostName, name};
        ++count;
    }
    if (count > MostNamesOnALine) return EntryProblem{EntryProblem::Kind::TooManyNames, {}, count};
    return std::nullopt;
}

std::optional<EntryProblem> FirstLineProblem(std::u16string_view line) {
    if (HasLineBreak(line)) return EntryProblem{EntryProblem::Kind::LineBreak, line};
    std::size_t at = 0;
    TakeWhile(line, at, IsBlank);
    const bool entry = at < line.size() && line[at] != u'#' && line.find_first_of(u" \t") != line.npos;
    if (!entry) return std::nullopt;
    line = line.substr(0, line.find(u'#'));
    const std::u16string_view address = TakeWhile(line, at, IsNotBlank);
    return FirstEntryProblem(address, line.substr(at));
}

}  // namespace quenlix
