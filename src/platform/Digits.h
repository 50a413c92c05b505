#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quenlix {

// A number in decimal digits, at least `width` of them (zeros in front).
inline std::u16string DecimalText(std::uint64_t number, std::size_t width = 1) {
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + number % 10));
        number /= 10;
    } while (number != 0 || digits.size() < width);
    return digits;
}

// `value` in `count` hexadecimal digits, lower case.
inline std::u16string HexText(std::uint64_t value, int count) {
    std::u16string text;
    for (int shift = 4 * (count - 1); shift >= 0; shift -= 4) text.push_back(u"0123456789abcdef"[(value >> shift) & 0xF]);
    return text;
}

}  // namespace quenlix
