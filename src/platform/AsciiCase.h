#pragma once

#include <bit>
#include <cstddef>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace quenlix {

// Letter case of the 26 ASCII letters only, the same on every system and in
// every locale: for names the system compares without regard to ASCII case
// (environment variables, file names in tests), and for the ASCII units of
// the hosts text on a system whose own mapping has been found to treat them
// alike (UpperCaseAsciiHere).
constexpr char16_t AsciiUpper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }
constexpr char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

#if defined(__SSE2__) || defined(_M_X64)
// SSE2 is part of every x86-64 processor.
inline constexpr int AsciiUpperStep = 8;

// Upper-cases the ASCII units among the eight at `units` and leaves the
// others; returns how many of the eight are ASCII before the first that is
// not (8 when all are).
inline int AsciiUpperMany(char16_t* units) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units));
    // Signed comparisons: a unit of 0x8000 or more is below 'a' and stays.
    const __m128i lower = _mm_and_si128(_mm_cmpgt_epi16(v, _mm_set1_epi16(u'a' - 1)),
                                        _mm_cmplt_epi16(v, _mm_set1_epi16(u'z' + 1)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(units), _mm_sub_epi16(v, _mm_and_si128(lower, _mm_set1_epi16(0x20))));
    const __m128i ascii = _mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(static_cast<short>(0xFF80))),
                                          _mm_setzero_si128());
    const auto others = static_cast<unsigned>(~_mm_movemask_epi8(ascii)) & 0xFFFFu;
    return others == 0 ? 8 : std::countr_zero(others) / 2;
}
#else
inline constexpr int AsciiUpperStep = 4;

inline int AsciiUpperMany(char16_t* units) {
    int ascii = AsciiUpperStep;
    for (int k = AsciiUpperStep - 1; k >= 0; --k) {
        if (units[k] >= 0x80) ascii = k;
        units[k] = AsciiUpper(units[k]);
    }
    return ascii;
}
#endif

// Upper-cases `text` in place for a system case mapping that maps each ASCII
// unit as AsciiUpper does: the ASCII units here, eight at a time (four
// without SSE2), and each run of other units by `mapOthers(char16_t* run,
// std::size_t length)`. A run ends only at an ASCII unit, so a surrogate
// pair, or anything else the system might map as one, reaches it whole; no
// unit the system has mapped is looked at again.
template <typename MapOthers>
void UpperCaseAsciiHere(char16_t* text, std::size_t size, MapOthers&& mapOthers) {
    char16_t* p = text;
    char16_t* const end = text + size;
    while (p != end) {
        // Mapping eight units at once maps the ASCII among them and leaves
        // the others as they are; the units before the first of the others
        // are done, and the ASCII after them is mapped again later, which
        // changes nothing more.
        if (end - p >= AsciiUpperStep) {
            const int ascii = AsciiUpperMany(p);
            p += ascii;
            if (ascii == AsciiUpperStep) continue;
        } else if (*p < 0x80) {
            *p = AsciiUpper(*p);
            ++p;
            continue;
        }
        char16_t* const run = p;
        while (p != end && *p >= 0x80) ++p;
        mapOthers(run, static_cast<std::size_t>(p - run));
    }
}

}  // namespace quenlix
