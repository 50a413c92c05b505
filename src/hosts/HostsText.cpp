#include "hosts/HostsText.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

#include "hosts/Lines.h"

namespace quenlix {

std::u16string ApplyLineRule(std::u16string_view fileText) {
    std::u16string text;
    // A lone CR grows by one character; an unterminated last line by two.
    text.reserve(fileText.size() + fileText.size() / 64 + 2);
    LineWalk lines(fileText, LineBreaks::File);
    for (auto line = lines.Next(); line; line = lines.Next()) {
        text.append(line->text);
        text.append(u"\r\n");
    }
    return text;
}

namespace {

// The high bit of each 16-bit lane of `x` set exactly where that lane is 0.
std::uint64_t ZeroLanes(std::uint64_t x) {
    constexpr std::uint64_t low15 = 0x7FFF7FFF7FFF7FFF;
    return ~(((x & low15) + low15) | x) & ~low15;
}

}  // namespace

void CrLfCheck::Add(std::u16string_view piece) {
    if (loneCr_ || piece.empty()) return;
    if (crAtEnd_) {
        crAtEnd_ = false;
        if (piece.front() != u'\n') {
            loneCr_ = true;
            return;
        }
    }
    // Four units at a time, each set against the four that follow it one
    // place on, without a branch: a file has a CR in every line, and a branch
    // on each of them would cost more than the whole comparison.
    constexpr std::uint64_t crs = 0x000D000D000D000D;
    constexpr std::uint64_t lfs = 0x000A000A000A000A;
    const char16_t* const units = piece.data();
    std::uint64_t lone = 0;
    std::size_t i = 0;
#if defined(__SSE2__) || defined(_M_X64)
    // Eight at a time where SSE2 is, as on every x86-64 processor.
    __m128i loneCrs = _mm_setzero_si128();
    for (; i + 9 <= piece.size(); i += 8) {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + i));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + i + 1));
        loneCrs = _mm_or_si128(loneCrs, _mm_andnot_si128(_mm_cmpeq_epi16(next, _mm_set1_epi16(u'\n')),
                                                         _mm_cmpeq_epi16(here, _mm_set1_epi16(u'\r'))));
    }
    lone = static_cast<std::uint64_t>(_mm_movemask_epi8(loneCrs));
#endif
    for (; i + 5 <= piece.size(); i += 4) {
        std::uint64_t here;
        std::uint64_t next;
        std::memcpy(&here, units + i, sizeof here);
        std::memcpy(&next, units + i + 1, sizeof next);
        lone |= ZeroLanes(here ^ crs) & ~ZeroLanes(next ^ lfs);
    }
    if (lone != 0) {
        loneCr_ = true;
        return;
    }
    for (; i < piece.size(); ++i) {
        if (units[i] != u'\r') continue;
        if (i + 1 == piece.size()) {
            crAtEnd_ = true;
            return;
        }
        if (units[i + 1] != u'\n') {
            loneCr_ = true;
            return;
        }
        ++i;
    }
}

void ApplyLineRuleInPlace(std::u16string& text, const CrLfCheck& check) {
    if (!check.EveryCrHasItsLf()) {
        text = ApplyLineRule(text);  // a lone CR ends a line: the copying rule mends every one
        return;
    }
    if (!text.empty() && !std::u16string_view(text).ends_with(u"\r\n")) text.append(u"\r\n");
}

void ApplyLineRuleInPlace(std::u16string& text) {
    CrLfCheck check;
    check.Add(text);
    ApplyLineRuleInPlace(text, check);
}

const std::u16string_view DefaultHostsText =
    u"# Copyright (c) 1993-2021 Microsoft Corp.\r\n"
    u"#\r\n"
    u"# This is a sample HOSTS file used by Microsoft TCP/IP for Windows.\r\n"
    u"#\r\n"
    u"# This file contains the mappings of IP addresses to host names. Each\r\n"
    u"# entry should be kept on an individual line. The IP address should\r\n"
    u"# be placed in the first column followed by the corresponding host name.\r\n"
    u"# The IP address and the host name should be separated by at least one\r\n"
    u"# space.\r\n"
    u"#\r\n"
    u"# Additionally, comments (such as these) may be inserted on individual\r\n"
    u"# lines or following the machine name denoted by a '#' symbol.\r\n"
    u"#\r\n"
    u"# For example:\r\n"
    u"#\r\n"
    u"#      102.54.94.97     server.example.com      # source server\r\n"
    u"#       38.25.63.10     client.example.com      # x client host\r\n"
    u"\r\n"
    u"# localhost name resolution is handled within DNS itself.\r\n"
    u"#       127.0.0.1       localhost\r\n"
    u"#       ::1             localhost\r\n";

}  // namespace quenlix
