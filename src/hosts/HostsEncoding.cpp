#include "hosts/HostsEncoding.h"

#include <algorithm>
#include <cstdint>

#include "hosts/AnsiCodec.h"
#include "hosts/AsciiRuns.h"

namespace quenlix {

namespace {

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view Utf16LeMark = "\xFF\xFE";
constexpr std::string_view Utf16BeMark = "\xFE\xFF";
constexpr char16_t Replacement = u'\uFFFD';

bool IsAscii8(const char* bytes) { return AsciiBytesIn(Word(bytes)) == 8; }

// What a UTF-8 lead byte asks of the bytes after it: how many, and the range
// the first of them must lie in (which rules out overlong forms, surrogates
// and code points above U+10FFFF). Zero continuation bytes for a byte that
// cannot lead.
struct LeadRule {
    int continuation;
    unsigned char low;
    unsigned char high;
};

LeadRule RuleOfLead(unsigned char b) {
    if (b >= 0xC2 && b <= 0xDF) return {1, 0x80, 0xBF};
    if (b >= 0xE0 && b <= 0xEF) return {2, static_cast<unsigned char>(b == 0xE0 ? 0xA0 : 0x80),
                                        static_cast<unsigned char>(b == 0xED ? 0x9F : 0xBF)};
    if (b >= 0xF0 && b <= 0xF4) return {3, static_cast<unsigned char>(b == 0xF0 ? 0x90 : 0x80),
                                        static_cast<unsigned char>(b == 0xF4 ? 0x8F : 0xBF)};
    return {0, 0, 0};
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// An escaped byte on its way to UTF-8, told apart from every code point.
constexpr char32_t RawByte = 0x110000;

// What UTF-8 writes for the character above ASCII at `p`: a code point, an
// escaped byte as RawByte + the byte, or U+FFFD for any other lone surrogate
// (lost); and how many units it spans.
struct Utf8Character {
    char32_t value;
    int units;
    bool lost;
};

Utf8Character CharacterAt(const char16_t* p, const char16_t* end) {
    const char16_t c = *p;
    if (c < 0xD800 || c > 0xDFFF) return {c, 1, false};
    if (IsHighSurrogate(c) && end - p >= 2 && IsLowSurrogate(p[1]))
        return {0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (p[1] - 0xDC00u), 2, false};
    if (IsEscapedByte(c)) return {RawByte + (c & 0xFF), 1, false};
    return {Replacement, 1, true};
}

std::size_t Utf8Length(char32_t c) { return c < 0x80 || c >= RawByte ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4; }

char* PutUtf8(char* out, char32_t c) {
    if (c >= RawByte) {
        *out++ = static_cast<char>(c - RawByte);
    } else if (c < 0x800) {
        *out++ = static_cast<char>(0xC0 | (c >> 6));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (c >> 12));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (c >> 18));
        *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

// Counted first, then written into room of that size: ASCII four units at a
// time, each other character on its own.
std::string EncodeUtf8(std::u16string_view text, std::size_t& lost) {
    const char16_t* const begin = text.data();
    const char16_t* const end = begin + text.size();
    std::size_t length = 0;
    for (const char16_t* p = begin; p < end;) {
        if (*p < 0x80) {
            const int ascii = end - p >= 4 ? AsciiUnitsIn(Word(p)) : 1;
            length += static_cast<std::size_t>(ascii);
            p += ascii;
            continue;
        }
        const Utf8Character c = CharacterAt(p, end);
        length += Utf8Length(c.value);
        lost += c.lost;
        p += c.units;
    }
    std::string bytes;
    bytes.reserve(length + 2);
    bytes.resize(length);
    char* out = bytes.data();
    for (const char16_t* p = begin; p < end;) {
        if (*p < 0x80) {
            // Four or more units left take four bytes or more: room for all four.
            CopyAsciiUnits(p, end, out);
            continue;
        }
        const Utf8Character c = CharacterAt(p, end);
        out = PutUtf8(out, c.value);
        p += c.units;
    }
    return bytes;
}

std::string EncodeUtf16(std::u16string_view text, bool bigEndian) {
    std::string bytes;
    bytes.reserve(text.size() * 2 + 4);
    bytes.resize(text.size() * 2);
    char* out = bytes.data();
    for (const char16_t c : text) {
        const char low = static_cast<char>(c & 0xFF);
        const char high = static_cast<char>(c >> 8);
        *out++ = bigEndian ? high : low;
        *out++ = bigEndian ? low : high;
    }
    return bytes;
}

}  // namespace

std::string_view MarkOf(HostsEncoding encoding) {
    switch (encoding) {
        case HostsEncoding::Utf8WithMark: return Utf8Mark;
        case HostsEncoding::Utf16LeWithMark: return Utf16LeMark;
        case HostsEncoding::Utf16BeWithMark: return Utf16BeMark;
        case HostsEncoding::Ansi:
        case HostsEncoding::Utf8:
        case HostsEncoding::Utf16Le:
        case HostsEncoding::Utf16Be: break;
    }
    return {};
}

bool IsUtf16(HostsEncoding encoding) {
    return encoding == HostsEncoding::Utf16LeWithMark || encoding == HostsEncoding::Utf16BeWithMark ||
           encoding == HostsEncoding::Utf16Le || encoding == HostsEncoding::Utf16Be;
}

HostsEncoding EncodingOfMark(std::string_view bytes) {
    if (bytes.starts_with(Utf8Mark)) return HostsEncoding::Utf8WithMark;
    if (bytes.starts_with(Utf16LeMark)) return HostsEncoding::Utf16LeWithMark;
    if (bytes.starts_with(Utf16BeMark)) return HostsEncoding::Utf16BeWithMark;
    return HostsEncoding::Ansi;
}

void Utf8Check::Add(std::string_view piece) {
    const char* p = piece.data();
    const char* const end = p + piece.size();
    while (p < end && !invalid_) {
        if (needed_ == 0) {
            while (end - p >= 8 && IsAscii8(p)) p += 8;
            if (p == end) break;
            const auto b = static_cast<unsigned char>(*p++);
            if (b < 0x80) continue;
            sawNonAscii_ = true;
            const LeadRule rule = RuleOfLead(b);
            if (rule.continuation == 0) {
                invalid_ = true;
                break;
            }
            needed_ = rule.continuation;
            low_ = rule.low;
            high_ = rule.high;
        } else {
            const auto b = static_cast<unsigned char>(*p++);
            if (b < low_ || b > high_) {
                invalid_ = true;
                break;
            }
            --needed_;
            low_ = 0x80;
            high_ = 0xBF;
        }
    }
}

HostsEncoding Utf16WithoutMark(std::string_view head, std::uint64_t size) {
    const std::size_t units = std::min(head.size(), Utf16HeadBytes) / 2;
    if (size % 2 != 0 || units < 16) return HostsEncoding::Ansi;
    std::size_t little = 0;
    std::size_t big = 0;
    for (std::size_t i = 0; i < units; ++i) {
        const auto first = static_cast<unsigned char>(head[2 * i]);
        const auto second = static_cast<unsigned char>(head[2 * i + 1]);
        little += second == 0 && first != 0 && first < 0x80;
        big += first == 0 && second != 0 && second < 0x80;
    }
    if (2 * little > units) return HostsEncoding::Utf16Le;
    if (2 * big > units) return HostsEncoding::Utf16Be;
    return HostsEncoding::Ansi;
}

HostsEncoding DetectEncoding(std::string_view bytes) {
    const HostsEncoding marked = EncodingOfMark(bytes);
    if (marked != HostsEncoding::Ansi) return marked;
    const HostsEncoding utf16 = Utf16WithoutMark(bytes.substr(0, Utf16HeadBytes), bytes.size());
    if (utf16 != HostsEncoding::Ansi) return utf16;
    Utf8Check utf8;
    utf8.Add(bytes);
    return utf8.SawNonAscii() && utf8.ValidAndComplete() ? HostsEncoding::Utf8 : HostsEncoding::Ansi;
}

void AppendUtf8Decoded(std::u16string& text, std::string_view bytes) {
    // Never more units than bytes: room for all of them first, written in
    // place, then cut to what was written.
    const std::size_t before = text.size();
    text.resize(before + bytes.size());
    char16_t* out = text.data() + before;
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p < end) {
        if (end - p >= 16 && static_cast<unsigned char>(*p) < 0x80) {
            // Sixteen bytes widened at once, as many kept as are ASCII: never
            // more units than bytes, so there is room.
            const int ascii = WidenAscii16(reinterpret_cast<const unsigned char*>(p), out);
            out += ascii;
            p += ascii;
            continue;
        }
        const auto b = static_cast<unsigned char>(*p);
        if (b < 0x80) {
            *out++ = b;
            ++p;
            continue;
        }
        const LeadRule rule = RuleOfLead(b);
        char32_t c = rule.continuation == 1 ? (b & 0x1F) : rule.continuation == 2 ? (b & 0x0F) : (b & 0x07);
        std::ptrdiff_t taken = 1;
        bool whole = rule.continuation > 0;
        for (int k = 0; whole && k < rule.continuation; ++k) {
            const unsigned char low = k == 0 ? rule.low : 0x80;
            const unsigned char high = k == 0 ? rule.high : 0xBF;
            if (end - p <= taken || static_cast<unsigned char>(p[taken]) < low ||
                static_cast<unsigned char>(p[taken]) > high) {
                whole = false;
                break;
            }
            c = (c << 6) | (static_cast<unsigned char>(p[taken]) & 0x3F);
            ++taken;
        }
        // A broken sequence: its first byte is escaped, and what follows is
        // decoded on its own, so that a line end after it stays one.
        if (!whole) {
            *out++ = EscapedByte(b);
            ++p;
            continue;
        }
        // U+2400, the symbol for NUL, is how the window shows a NUL of the
        // text; it gives NUL back for it. A real one would come back as a NUL
        // byte, so its bytes travel as escaped bytes, which the window leaves
        // alone and the encoder writes back as E2 90 80.
        if (c == NulSymbol) {
            for (std::ptrdiff_t k = 0; k < taken; ++k) *out++ = EscapedByte(static_cast<unsigned char>(p[k]));
            p += taken;
            continue;
        }
        if (c < 0x10000) {
            *out++ = static_cast<char16_t>(c);
        } else {
            c -= 0x10000;
            *out++ = static_cast<char16_t>(0xD800 + (c >> 10));
            *out++ = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        }
        p += taken;
    }
    text.resize(static_cast<std::size_t>(out - text.data()));
}

void AppendUtf16Decoded(std::u16string& text, std::string_view bytes, bool bigEndian) {
    const std::size_t units = bytes.size() / 2;
    const std::size_t before = text.size();
    text.resize(before + units);
    for (std::size_t i = 0; i < units; ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        text[before + i] = static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
}

std::string EncodeText(Platform& platform, std::u16string_view text, HostsEncoding encoding, std::size_t* lost) {
    std::size_t none = 0;
    std::size_t& count = lost ? *lost : none;
    count = 0;
    switch (encoding) {
        case HostsEncoding::Utf8:
        case HostsEncoding::Utf8WithMark: return EncodeUtf8(text, count);
        case HostsEncoding::Utf16LeWithMark:
        case HostsEncoding::Utf16Le: return EncodeUtf16(text, false);
        case HostsEncoding::Utf16BeWithMark:
        case HostsEncoding::Utf16Be: return EncodeUtf16(text, true);
        case HostsEncoding::Ansi: break;
    }
    std::string bytes;
    count = AnsiCodec(platform).AppendEncoded(bytes, text, 2);
    return bytes;
}

}  // namespace quenlix
