#pragma once

#include <cstddef>
#include <string_view>

namespace quenlix {

// Where bytes of an ANSI code page may be cut so that the two sides, decoded
// one after the other, give what the whole decodes to: the end of the
// longest prefix that ends in two bytes below 0x80, or 0 when there is none.
//
// Every ANSI code page reads a byte below 0x80 as a character of its own
// (single-byte code pages, the double-byte ones of East Asia, UTF-8), and
// only a byte of 0x80 or more starts a character of several bytes. The byte
// before the cut is below 0x80, so it ends a character unless the byte before
// it started one and took it along; that byte is below 0x80 too and starts
// nothing. So the cut falls between two characters, whatever the decoder does
// with broken sequences before it.
inline bool IsSafeCut(std::string_view bytes, std::size_t cut) {
    return cut >= 2 && static_cast<unsigned char>(bytes[cut - 1]) < 0x80 &&
           static_cast<unsigned char>(bytes[cut - 2]) < 0x80;
}

inline std::size_t LastSafeCut(std::string_view bytes) {
    for (std::size_t cut = bytes.size(); cut >= 2; --cut)
        if (IsSafeCut(bytes, cut)) return cut;
    return 0;
}

// The first such place, or 0 when there is none.
inline std::size_t FirstSafeCut(std::string_view bytes) {
    for (std::size_t cut = 2; cut <= bytes.size(); ++cut)
        if (IsSafeCut(bytes, cut)) return cut;
    return 0;
}

// How many bytes a UTF-8 sequence that begins with `lead` has, by the lead
// alone: 1 for a byte below 0x80 (or one that cannot lead), up to 4.
constexpr std::size_t Utf8SequenceLength(unsigned char lead) {
    return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

}  // namespace quenlix
