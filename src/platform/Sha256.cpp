#include "platform/Sha256.h"

#include "platform/Digits.h"

namespace quenlix {

namespace {

int DigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
}

}  // namespace

std::u16string HexDigits(const Sha256Digest& digest) {
    std::u16string text;
    text.reserve(2 * digest.size());
    for (const std::uint8_t byte : digest) text += HexText(byte, 2);
    return text;
}

std::optional<Sha256Digest> DigestFromHexDigits(std::u16string_view text) {
    Sha256Digest digest{};
    if (text.size() != 2 * digest.size()) return std::nullopt;
    for (std::size_t i = 0; i < digest.size(); ++i) {
        const int high = DigitValue(text[2 * i]);
        const int low = DigitValue(text[2 * i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        digest[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return digest;
}

}  // namespace quenlix
