#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quenlix {

// A SHA-256 digest. The platform computes it (Windows' own BCrypt); this
// file only writes and reads it as text for a command line.
using Sha256Digest = std::array<std::uint8_t, 32>;

// The digest as 64 lower-case hexadecimal digits.
std::u16string HexDigits(const Sha256Digest& digest);

// The digest that HexDigits wrote: exactly 64 lower-case hexadecimal digits,
// nothing else.
std::optional<Sha256Digest> DigestFromHexDigits(std::u16string_view text);

}  // namespace quenlix
