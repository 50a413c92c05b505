#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/AsciiCase.h"

namespace quenlix::testing {

// Each line followed by CR LF, the last too: the hosts text form.
inline std::u16string CrLfLines(std::initializer_list<std::u16string_view> lines) {
    std::u16string text;
    for (const std::u16string_view line : lines) {
        text.append(line);
        text.append(u"\r\n");
    }
    return text;
}

}  // namespace quenlix::testing

namespace quenlix::testing {

// Stands in for the platform's case mapping in tests: ASCII letters only.
inline std::u16string AsciiUpper(std::u16string_view text) {
    std::u16string upper(text);
    for (char16_t& c : upper) c = quenlix::AsciiUpper(c);
    return upper;
}

}  // namespace quenlix::testing
