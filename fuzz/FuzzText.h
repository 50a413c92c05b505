#pragma once

// Turns a fuzzer's bytes into a few UTF-16 strings in which the characters
// that steer the code under test (CR, LF, space, '#', ',', tab, U+3000) are
// common, so that random inputs hit line breaks, comments and matches rather
// than drowning them in noise. Printable ASCII stands for itself, so the seed
// files can be written as plain text.
//
//   0x00..0x1F, 0x7F..0xFC  one token of the table below (byte mod 16);
//                           CR (0x0D), LF (0x0A) and tab (0x09) are themselves
//   0x20..0x7E              that ASCII character
//   0xFD b                  the Latin-1 character b
//   0xFE hi lo              any code unit, lone surrogates included
//   0xFF                    ends the current string

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quenlix::fuzz {

class FuzzText {
public:
    FuzzText(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    // One byte for the fuzzer's own choices (a mode, a count); 0 at the end.
    std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

    // The next string, up to 0xFF or the end of the input.
    std::u16string Next() {
        static constexpr std::u16string_view tokens[16] = {
            u"\r\n", u"\u3000", u"\u4e2d", u"\u00e9", u"#", u",", u" ", u"a",
            u"b",    u"\t",     u"\n",     u"A",      u"B", u"\r", u"  ", u"\ufeff",
        };
        std::u16string s;
        while (pos_ < size_) {
            const std::uint8_t b = data_[pos_++];
            if (b == 0xFF) break;
            if (b == 0xFD) {
                s.push_back(static_cast<char16_t>(Byte()));
            } else if (b == 0xFE) {
                const std::uint8_t hi = Byte();
                s.push_back(static_cast<char16_t>(hi << 8 | Byte()));
            } else if (b >= 0x20 && b <= 0x7E) {
                s.push_back(static_cast<char16_t>(b));
            } else {
                s.append(tokens[b % 16]);
            }
        }
        return s;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// A string in a heap block of exactly its length, with no terminator or spare
// capacity behind it, so that AddressSanitizer stops a read one unit past the
// end of a view instead of letting it land on a std::u16string's terminator.
class ExactText {
public:
    explicit ExactText(std::u16string_view s) : size_(s.size()), data_(new char16_t[s.size()]) {
        std::copy(s.begin(), s.end(), data_.get());
    }
    operator std::u16string_view() const { return {data_.get(), size_}; }

private:
    std::size_t size_;
    std::unique_ptr<char16_t[]> data_;
};

// Code units as text, the unprintable ones as \uXXXX, for a failure report.
inline std::string Show(std::u16string_view s) {
    std::string out = "\"";
    char buffer[8];
    for (const char16_t c : s) {
        if (c >= 0x20 && c < 0x7F && c != u'\\' && c != u'"') {
            out.push_back(static_cast<char>(c));
        } else {
            std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(c));
            out += buffer;
        }
    }
    return out + "\"";
}

inline std::string Show(const std::u16string& s) { return Show(std::u16string_view(s)); }

inline std::string Show(const std::optional<std::u16string_view>& s) {
    return s ? Show(*s) : std::string("(none)");
}

inline std::string Show(const std::optional<std::u16string>& s) {
    return s ? Show(std::u16string_view(*s)) : std::string("(none)");
}

// File bytes, the unprintable ones as \xXX.
inline std::string ShowBytes(std::string_view bytes) {
    std::string out = "\"";
    char buffer[8];
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if (u >= 0x20 && u < 0x7F && b != '\\' && b != '"') {
            out.push_back(b);
        } else {
            std::snprintf(buffer, sizeof buffer, "\\x%02X", u);
            out += buffer;
        }
    }
    return out + "\"";
}

inline std::string Show(const std::string& bytes) { return ShowBytes(bytes); }
inline std::string Show(const std::optional<std::string>& bytes) {
    return bytes ? ShowBytes(*bytes) : std::string("(missing)");
}

inline std::string Show(std::size_t n) { return std::to_string(n); }

// A mismatch ends the run with the two results side by side; abort() makes
// libFuzzer keep the input as a crash file.
template <typename A, typename B>
void ExpectEqual(const A& fast, const B& slow, const char* what) {
    if (fast == slow) return;
    std::fprintf(stderr, "MISMATCH in %s\n  fast: %s\n  slow: %s\n", what, Show(fast).c_str(),
                 Show(slow).c_str());
    std::abort();
}

inline void Expect(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "PROPERTY FAILED: %s\n", what);
    std::abort();
}

}  // namespace quenlix::fuzz
