#pragma once

#include <cstdint>

namespace quenlix {

// The message box style flags, with the values of the Win32 MB_* flags they
// stand for (Win32Platform checks that they match): a style is passed to the
// system unchanged.
namespace Mb {
inline constexpr std::uint32_t Ok = 0x0;
inline constexpr std::uint32_t OkCancel = 0x1;
inline constexpr std::uint32_t YesNoCancel = 0x3;
inline constexpr std::uint32_t YesNo = 0x4;
inline constexpr std::uint32_t IconError = 0x10;
inline constexpr std::uint32_t IconQuestion = 0x20;
inline constexpr std::uint32_t IconWarning = 0x30;
inline constexpr std::uint32_t IconInformation = 0x40;
inline constexpr std::uint32_t DefaultButton2 = 0x100;
inline constexpr std::uint32_t SystemModal = 0x1000;
inline constexpr std::uint32_t SetForeground = 0x10000;
}  // namespace Mb

// The buttons a message box returns (the Win32 IDOK, IDCANCEL, IDYES, IDNO).
namespace Answer {
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
}  // namespace Answer

// Window show states for started programs (SW_SHOWNORMAL,
// SW_SHOWMINNOACTIVE).
namespace WindowStyle {
inline constexpr int Normal = 1;
// Minimized, and never the active window: a program the window waits for
// must not take the activation from it, as the window could not take it back
// while it is disabled.
inline constexpr int MinimizedInactive = 7;
}  // namespace WindowStyle

}  // namespace quenlix
