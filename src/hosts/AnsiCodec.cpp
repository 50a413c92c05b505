#include "hosts/AnsiCodec.h"

#include <algorithm>
#include <new>

#include "hosts/AsciiRuns.h"
#include "hosts/HostsEncoding.h"
#include "platform/Platform.h"

namespace quenlix {

namespace {

// What a character of one or two bytes decodes to when it is no character of
// the text: bytes the code page does not define, a defined character that
// encodes to other bytes, and one the system has not been asked about yet.
// Lone surrogates, which no character that is given back decodes to, so that
// one test tells them all apart from a character.
constexpr char16_t Undefined = 0xDC00;
constexpr char16_t NotGivenBack = 0xDC01;
constexpr char16_t NotAsked = 0xDC02;

bool IsSurrogate(char16_t c) { return static_cast<char16_t>(c - 0xD800) < 0x800; }
bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// What a unit encodes to, kept as its bytes (the first in the low byte),
// their number, and whether they are the default character. A number of 3
// marks a unit that takes more than two bytes: asked each time.
constexpr std::uint32_t LengthShift = 16;
constexpr std::uint32_t LostBit = 1u << 18;
constexpr std::uint32_t TooLong = 3;

template <typename Answer>
Answer* ZeroedTable(std::size_t count) {
    auto* table = static_cast<Answer*>(std::calloc(count, sizeof(Answer)));
    if (table == nullptr) throw std::bad_alloc();
    return table;
}

// How many of `units` are above ASCII, four at a time where none is.
std::size_t CountAboveAscii(std::u16string_view units) {
    std::size_t above = 0;
    std::size_t i = 0;
    for (; i + 4 <= units.size(); i += 4) {
        if (AsciiUnitsIn(Word(units.data() + i)) == 4) continue;
        for (std::size_t k = i; k < i + 4; ++k) above += units[k] >= 0x80;
    }
    for (; i < units.size(); ++i) above += units[i] >= 0x80;
    return above;
}

}  // namespace

void AnsiCodec::LearnLeads() {
    bool anyLead = false;
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
        lead_[b - 0x80] = platform_.IsAnsiLeadByte(static_cast<unsigned char>(b));
        anyLead = anyLead || lead_[b - 0x80];
    }
    single_.fill(NotAsked);
    if (anyLead) {
        pairs_.reset(ZeroedTable<char16_t>(128 * 256));
        std::fill_n(pairs_.get(), 128 * 256, NotAsked);
    }
    leadsKnown_ = true;
}

char16_t AnsiCodec::Character(std::string_view bytes) {
    std::u16string unit;
    if (!platform_.AppendFromAnsi(unit, bytes)) return Undefined;
    // One unit, as every character of a single- or double-byte code page is;
    // anything else goes the safe way, as escaped bytes.
    if (unit.size() != 1 || unit[0] == 0 || IsSurrogate(unit[0])) return NotGivenBack;
    std::string back;
    if (!platform_.AppendToAnsi(back, unit) || back != bytes) return NotGivenBack;
    return unit[0];
}

char16_t AnsiCodec::AskSingle(unsigned char byte) {
    const char b = static_cast<char>(byte);
    return single_[byte - 0x80] = Character(std::string_view(&b, 1));
}

char16_t AnsiCodec::AskPair(unsigned char lead, unsigned char trail) {
    const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    return pairs_[(lead - 0x80u) << 8 | trail] = Character(std::string_view(pair, 2));
}

void AnsiCodec::AppendDecoded(std::u16string& text, std::string_view bytes) {
    if (!leadsKnown_) LearnLeads();
    const std::size_t before = text.size();
    text.resize(before + bytes.size());
    char16_t* out = text.data() + before;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    const bool* const lead = lead_.data();
    const char16_t* const pairs = pairs_.get();
    // A character above ASCII at `p`, with the end of the bytes where it is.
    const auto other = [&](const unsigned char* last) {
        const unsigned char b = *p;
        if (!lead[b - 0x80]) {
            char16_t c = single_[b - 0x80];
            if (IsSurrogate(c)) {
                if (c == NotAsked) c = AskSingle(b);
                if (IsSurrogate(c)) c = EscapedByte(b);
            }
            *out++ = c;
            ++p;
            return;
        }
        char16_t c = p < last ? pairs[(b - 0x80u) << 8 | p[1]] : Undefined;
        if (IsSurrogate(c)) {
            if (c == NotAsked) c = AskPair(b, p[1]);
            if (IsSurrogate(c)) {
                // The lead byte is escaped. A trail byte that is none (a line
                // end, often) is decoded on its own; the trail of a character
                // that is not given back belongs to it, and is escaped too
                // unless it is ASCII.
                *out++ = EscapedByte(b);
                ++p;
                if (c == NotGivenBack && *p >= 0x80) *out++ = EscapedByte(*p++);
                return;
            }
        }
        *out++ = c;
        p += 2;
    };
    // While sixteen bytes are left: ASCII sixteen bytes at a time, widened at
    // once and as many kept as are ASCII (there is room: no byte makes more
    // than one unit), and a double-byte character with no test for its end.
    while (end - p >= 16) {
        if (*p < 0x80) {
            const int ascii = WidenAscii16(p, out);
            out += ascii;
            p += ascii;
        } else if (lead[*p - 0x80]) {
            const char16_t c = pairs[(*p - 0x80u) << 8 | p[1]];
            if (IsSurrogate(c)) {
                other(end - 1);
            } else {
                *out++ = c;
                p += 2;
            }
        } else {
            other(end - 1);
        }
    }
    while (p < end) {
        if (*p < 0x80) {
            *out++ = *p++;
        } else {
            other(end - 1);
        }
    }
    text.resize(static_cast<std::size_t>(out - text.data()));
}

std::uint32_t AnsiCodec::AskUnit(char16_t unit) {
    std::string bytes;
    const bool held = platform_.AppendToAnsi(bytes, std::u16string_view(&unit, 1));
    std::uint32_t known = TooLong << LengthShift;
    if (!bytes.empty() && bytes.size() <= 2) {
        known = static_cast<unsigned char>(bytes[0]) | static_cast<std::uint32_t>(bytes.size()) << LengthShift |
                (held ? 0 : LostBit);
        if (bytes.size() == 2) known |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[1])) << 8;
    }
    // A surrogate's bytes depend on its neighbour: never kept.
    if (!IsSurrogate(unit)) units_[unit] = known;
    return known;
}

std::size_t AnsiCodec::AppendEncoded(std::string& bytes, std::u16string_view text, std::size_t spare) {
    // Room for what a double-byte code page needs at most: a byte for each
    // unit, two for each above ASCII. A character that needs more grows it.
    const std::size_t above = CountAboveAscii(text);
    if (above > 0 && !units_) units_.reset(ZeroedTable<std::uint32_t>(0x10000));
    const std::size_t before = bytes.size();
    bytes.reserve(before + text.size() + above + spare);
    bytes.resize(before + text.size() + above);
    char* out = bytes.data() + before;
    std::size_t lost = 0;
    // A character the system is asked about each time: a surrogate pair, or
    // one of more than two bytes.
    const auto ask = [&](std::u16string_view character) {
        std::string asked;
        lost += !platform_.AppendToAnsi(asked, character);
        if (asked.size() > 2 * character.size()) {
            const std::size_t at = static_cast<std::size_t>(out - bytes.data());
            bytes.resize(bytes.size() + asked.size());
            out = bytes.data() + at;
        }
        out = std::copy(asked.begin(), asked.end(), out);
    };

    const char16_t* p = text.data();
    const char16_t* const end = p + text.size();
    // Everything but a kept character of one or two bytes that is no loss.
    const auto rare = [&](const char16_t* at) {
        const char16_t c = *at;
        if (IsHighSurrogate(c) && end - at >= 2 && IsLowSurrogate(at[1])) {
            ask(std::u16string_view(at, 2));
            return at + 2;
        }
        if (IsEscapedByte(c)) {
            *out++ = static_cast<char>(c & 0xFF);
            return at + 1;
        }
        std::uint32_t known = units_[c];
        if (known == 0 || IsSurrogate(c)) known = AskUnit(c);
        if ((known >> LengthShift & 3) == TooLong) {
            ask(std::u16string_view(at, 1));
        } else {
            out[0] = static_cast<char>(known & 0xFF);
            out[1] = static_cast<char>(known >> 8 & 0xFF);
            out += known >> LengthShift & 3;
            lost += (known & LostBit) != 0;
        }
        return at + 1;
    };

    const std::uint32_t* const units = units_.get();
    while (p < end) {
        const char16_t c = *p;
        if (c < 0x80) {
            // The room for four bytes is there.
            CopyAsciiUnits(p, end, out);
            continue;
        }
        // One or two bytes, no loss: the number is 1 or 2 and no flag is set
        // (a unit not asked about yet is 0).
        const std::uint32_t known = units[c];
        const std::uint32_t length = known >> LengthShift;
        if (length - 1 < 2) {
            out[0] = static_cast<char>(known & 0xFF);
            out[1] = static_cast<char>(known >> 8 & 0xFF);  // room for it is there; kept only for two bytes
            out += length;
            ++p;
        } else {
            p = rare(p);
        }
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
