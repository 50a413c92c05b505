#pragma once

namespace quenlix {

// Letter case of the 26 ASCII letters only, the same on every system and in
// every locale: for names the system compares without regard to ASCII case
// (environment variables, file names in tests), not for the platform's own
// case mapping of the hosts text.
constexpr char16_t AsciiUpper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }
constexpr char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

}  // namespace quenlix
