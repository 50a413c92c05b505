// The parts of the real platform that a careful write of the hosts file
// needs besides reading and writing files.
#include <windows.h>

#include <algorithm>

#include "platform/Win32Platform.h"

namespace quenlix {

void Win32Platform::Pause(std::chrono::milliseconds duration) {
    Sleep(static_cast<DWORD>(std::clamp<std::chrono::milliseconds::rep>(duration.count(), 0, INFINITE - 1)));
}

}  // namespace quenlix
