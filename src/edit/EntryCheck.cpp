#include "edit/EntryCheck.h"

#include <array>
#include <cstdint>


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

bool IsHostName(std::u16string_view text) {
    if (text.empty() || text.size() > 255) return false;
    if (text.back() == u'.') text.remove_suffix(1);
    if (text.empty()) return false;
    // In one pass, unit by unit: the whole-text check asks this of every
    // name of a blocklist.
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
