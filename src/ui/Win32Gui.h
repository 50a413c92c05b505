#pragma once

#include <windows.h>

#include "platform/Win32Handle.h"

namespace quenlix {

using UniqueFont = UniqueWin32Handle<HFONT, &DeleteObject>;
using UniqueIcon = UniqueWin32Handle<HICON, &DestroyIcon>;
using UniqueRegion = UniqueWin32Handle<HRGN, &DeleteObject>;
using UniqueWindow = UniqueWin32Handle<HWND, &DestroyWindow>;
using UniqueMenu = UniqueWin32Handle<HMENU, &DestroyMenu>;
using UniqueAccelerators = UniqueWin32Handle<HACCEL, &DestroyAcceleratorTable>;

}  // namespace quenlix
