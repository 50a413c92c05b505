#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace quenlix {

// ASCII between bytes and UTF-16 units a word at a time: a hosts file is
// mostly ASCII, and the program is built for size, which gives a loop over
// single bytes no unrolling. Words are read in the order of memory, which is
// little-endian on every Windows machine.

inline std::uint64_t Word(const void* at) {
    std::uint64_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

// How many of the eight bytes, or four units, at the start of a word are
// ASCII.
inline int AsciiBytesIn(std::uint64_t word) {
    const std::uint64_t high = word & 0x8080808080808080ull;
    return high == 0 ? 8 : std::countr_zero(high) / 8;
}

inline int AsciiUnitsIn(std::uint64_t word) {
    const std::uint64_t high = word & 0xFF80FF80FF80FF80ull;
    return high == 0 ? 4 : std::countr_zero(high) / 16;
}

// Four bytes to four units; of bytes that are not ASCII, the units are no
// use (the caller keeps the ASCII ones before them).
inline void Widen4(const unsigned char* bytes, char16_t* units) {
    std::uint32_t four;
    std::memcpy(&four, bytes, sizeof four);
    std::uint64_t word = four;
    word = (word | word << 16) & 0x0000FFFF0000FFFFull;
    word = (word | word << 8) & 0x00FF00FF00FF00FFull;
    std::memcpy(units, &word, sizeof word);
}

// Sixteen bytes to sixteen units (SSE2 is part of every x86-64 processor);
// returns how many of the bytes are ASCII before the first that is not (16
// when all are). Of bytes that are not ASCII, the units are no use.
inline int WidenAscii16(const unsigned char* bytes, char16_t* units) {
#if defined(__SSE2__) || defined(_M_X64)
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    const __m128i zero = _mm_setzero_si128();
    _mm_storeu_si128(reinterpret_cast<__m128i*>(units), _mm_unpacklo_epi8(b, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(units + 8), _mm_unpackhi_epi8(b, zero));
    const auto high = static_cast<unsigned>(_mm_movemask_epi8(b));
    return high == 0 ? 16 : std::countr_zero(high);
#else
    Widen4(bytes, units);
    Widen4(bytes + 4, units + 4);
    const int ascii = AsciiBytesIn(Word(bytes));
    if (ascii < 8) return ascii;
    Widen4(bytes + 8, units + 8);
    Widen4(bytes + 12, units + 12);
    return 8 + AsciiBytesIn(Word(bytes + 8));
#endif
}

// Four units to four bytes, right for the ASCII units before the first
// that is not.
inline void Narrow4(const char16_t* units, char* bytes) {
    std::uint64_t word = Word(units);
    word = (word | word >> 8) & 0x0000FFFF0000FFFFull;
    word = (word | word >> 16) & 0x00000000FFFFFFFFull;
    const auto four = static_cast<std::uint32_t>(word);
    std::memcpy(bytes, &four, sizeof four);
}

// Copies the run of ASCII units at `units` as bytes to `bytes`, four at a time
// where four units are left (and four bytes of room), else the one; moves
// both on. The unit at `units` is ASCII, so at least one is copied.
inline void CopyAsciiUnits(const char16_t*& units, const char16_t* end, char*& bytes) {
    if (end - units >= 4) {
        Narrow4(units, bytes);
        const int ascii = AsciiUnitsIn(Word(units));
        bytes += ascii;
        units += ascii;
    } else {
        *bytes++ = static_cast<char>(*units++);
    }
}

}  // namespace quenlix
