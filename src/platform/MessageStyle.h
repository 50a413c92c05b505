#pragma once

#include <cstdint>

namespace quenlix {

// Message box style values are sums of the Win32 MB_* flags and are passed to
// the system unchanged; these are the sums the commands use.
namespace MessageStyle {
inline constexpr std::uint32_t Ok = 0;
inline constexpr std::uint32_t OkCancelQuestion = 33;
inline constexpr std::uint32_t OkWarning = 48;
inline constexpr std::uint32_t OkCancelWarning = 49;
inline constexpr std::uint32_t OkInformation = 64;
inline constexpr std::uint32_t OkWarningSystemModal = 69680;
inline constexpr std::uint32_t OkInformationSystemModal = 69696;
inline constexpr std::uint32_t YesNoInformationSystemModal = 69700;
}  // namespace MessageStyle

// The buttons a message box returns (the Win32 IDOK, IDCANCEL, IDYES, IDNO).
namespace Answer {
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
}  // namespace Answer

// Window show states for started programs (SW_SHOWNORMAL, SW_SHOWMINIMIZED).
namespace WindowStyle {
inline constexpr int Normal = 1;
inline constexpr int Minimized = 2;
}  // namespace WindowStyle

}  // namespace quenlix
