#include "hosts/AnsiCodec.h"

#include <algorithm>
#include <cstring>

#include "hosts/HostsEncoding.h"
#include "platform/Platform.h"

namespace quenlix {

namespace {

// What a character of one or two bytes decodes to when it is no character of
// the text: bytes the code page does not define, and a defined character
// that encodes to other bytes. Lone surrogates, which no character that is
// given back decodes to; 0 stands for "not asked yet".
constexpr char16_t Undefined = 0xDC00;
constexpr char16_t NotGivenBack = 0xDC01;

bool IsCharacter(char16_t c) { return c != 0 && c != Undefined && c != NotGivenBack; }

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

bool IsAscii8(const unsigned char* bytes) {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    return (word & 0x8080808080808080ull) == 0;
}

bool IsAscii4(const char16_t* units) {
    std::uint64_t word;
    std::memcpy(&word, units, sizeof word);
    return (word & 0xFF80FF80FF80FF80ull) == 0;
}

// What a unit encodes to, kept as its bytes (the first in the low byte),
// their number, and whether they are the default character. A number of 3
// marks a unit that takes more than two bytes: asked each time.
constexpr std::uint32_t LengthShift = 16;
constexpr std::uint32_t LostBit = 1u << 18;
constexpr std::uint32_t TooLong = 3;

}  // namespace

template <typename Answer>
Answer& AnsiCodec::Kept(Blocks<Answer>& blocks, std::size_t index) {
    if (blocks.empty()) blocks.resize(256);
    auto& block = blocks[index >> 8];
    if (!block) block = std::make_unique<std::array<Answer, 256>>();  // value-initialized: "not asked"
    return (*block)[index & 0xFF];
}

bool AnsiCodec::IsLead(unsigned char byte) {
    std::uint8_t& known = lead_[byte - 0x80];
    if (known == 0) known = platform_.IsAnsiLeadByte(byte) ? 2 : 1;
    return known == 2;
}

char16_t AnsiCodec::Character(std::string_view bytes) {
    std::u16string unit;
    if (!platform_.AppendFromAnsi(unit, bytes)) return Undefined;
    // One unit, as every character of a single- or double-byte code page is;
    // anything else goes the safe way, as escaped bytes.
    if (unit.size() != 1 || unit[0] == 0 || IsLowSurrogate(unit[0]) || IsHighSurrogate(unit[0])) return NotGivenBack;
    std::string back;
    if (!platform_.AppendToAnsi(back, unit) || back != bytes) return NotGivenBack;
    return unit[0];
}

char16_t AnsiCodec::Single(unsigned char byte) {
    char16_t& known = single_[byte - 0x80];
    if (known == 0) {
        const char b = static_cast<char>(byte);
        known = Character(std::string_view(&b, 1));
    }
    return known;
}

char16_t AnsiCodec::Pair(unsigned char lead, unsigned char trail) {
    char16_t& known = Kept(pairs_, static_cast<std::size_t>(lead - 0x80u) << 8 | trail);
    if (known == 0) {
        const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        known = Character(std::string_view(pair, 2));
    }
    return known;
}

void AnsiCodec::AppendDecoded(std::u16string& text, std::string_view bytes) {
    const std::size_t before = text.size();
    text.resize(before + bytes.size());
    char16_t* out = text.data() + before;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p < end) {
        if (end - p >= 8 && IsAscii8(p)) {
            for (int k = 0; k < 8; ++k) out[k] = p[k];
            out += 8;
            p += 8;
            continue;
        }
        const unsigned char b = *p;
        if (b < 0x80) {
            *out++ = b;
            ++p;
            continue;
        }
        if (!IsLead(b)) {
            const char16_t c = Single(b);
            *out++ = IsCharacter(c) ? c : EscapedByte(b);
            ++p;
            continue;
        }
        const char16_t c = end - p >= 2 ? Pair(b, p[1]) : Undefined;
        if (IsCharacter(c)) {
            *out++ = c;
            p += 2;
            continue;
        }
        // The lead byte is escaped. A trail byte that is none (a line end,
        // often) is decoded on its own; the trail of a character that is not
        // given back belongs to it, and is escaped too unless it is ASCII.
        *out++ = EscapedByte(b);
        ++p;
        if (c == NotGivenBack && *p >= 0x80) *out++ = EscapedByte(*p++);
    }
    text.resize(static_cast<std::size_t>(out - text.data()));
}

std::uint32_t AnsiCodec::Encoded(char16_t unit) {
    std::uint32_t& known = Kept(units_, unit);
    if (known == 0) {
        std::string bytes;
        const bool held = platform_.AppendToAnsi(bytes, std::u16string_view(&unit, 1));
        if (bytes.empty() || bytes.size() > 2) {
            known = TooLong << LengthShift;
        } else {
            known = static_cast<unsigned char>(bytes[0]) | static_cast<std::uint32_t>(bytes.size()) << LengthShift |
                    (held ? 0 : LostBit);
            if (bytes.size() == 2) known |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[1])) << 8;
        }
    }
    return known;
}

std::size_t AnsiCodec::AppendEncoded(std::string& bytes, std::u16string_view text, std::size_t spare) {
    // Room for what a double-byte code page needs at most: a byte for each
    // unit, two for each above ASCII. A character that needs more grows it.
    std::size_t above = 0;
    for (const char16_t c : text) above += c >= 0x80;
    const std::size_t before = bytes.size();
    bytes.reserve(before + text.size() + above + spare);
    bytes.resize(before + text.size() + above);
    char* out = bytes.data() + before;
    std::size_t lost = 0;
    std::string asked;
    const auto put = [&](std::size_t units) {
        if (asked.size() > 2 * units) {
            const std::size_t at = static_cast<std::size_t>(out - bytes.data());
            bytes.resize(bytes.size() + asked.size());
            out = bytes.data() + at;
        }
        out = std::copy(asked.begin(), asked.end(), out);
    };

    const char16_t* p = text.data();
    const char16_t* const end = p + text.size();
    while (p < end) {
        if (end - p >= 4 && IsAscii4(p)) {
            for (int k = 0; k < 4; ++k) out[k] = static_cast<char>(p[k]);
            out += 4;
            p += 4;
            continue;
        }
        const char16_t c = *p;
        if (c < 0x80) {
            *out++ = static_cast<char>(c);
            ++p;
            continue;
        }
        if (IsHighSurrogate(c) && end - p >= 2 && IsLowSurrogate(p[1])) {
            asked.clear();
            lost += !platform_.AppendToAnsi(asked, std::u16string_view(p, 2));
            put(2);
            p += 2;
            continue;
        }
        if (IsEscapedByte(c)) {
            *out++ = static_cast<char>(c & 0xFF);
            ++p;
            continue;
        }
        const std::uint32_t known = Encoded(c);
        const std::uint32_t length = known >> LengthShift & 3;
        if (length == TooLong) {
            asked.clear();
            lost += !platform_.AppendToAnsi(asked, std::u16string_view(p, 1));
            put(1);
        } else {
            *out++ = static_cast<char>(known & 0xFF);
            if (length == 2) *out++ = static_cast<char>(known >> 8 & 0xFF);
            lost += (known & LostBit) != 0;
        }
        ++p;
    }
    bytes.resize(static_cast<std::size_t>(out - bytes.data()));
    return lost;
}

std::u16string DecodeAnsi(Platform& platform, std::string_view bytes) {
    std::u16string text;
    AnsiCodec(platform).AppendDecoded(text, bytes);
    return text;
}

}  // namespace quenlix
