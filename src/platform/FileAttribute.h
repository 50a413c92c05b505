#pragma once

#include <cstdint>

namespace quenlix {

// File attribute bits, with the values of the Win32 FILE_ATTRIBUTE_* flags
// they stand for (Win32Platform checks that they match).
namespace FileAttribute {
inline constexpr std::uint32_t ReadOnly = 0x1;
inline constexpr std::uint32_t Hidden = 0x2;
inline constexpr std::uint32_t System = 0x4;
inline constexpr std::uint32_t Directory = 0x10;
inline constexpr std::uint32_t Archive = 0x20;
}  // namespace FileAttribute

}  // namespace quenlix
