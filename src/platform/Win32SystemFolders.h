#pragma once

#include <string>

namespace quenlix {

// The system directory (System32) and the Windows directory, as the system
// itself reports them: never from an environment variable, which whoever
// started the program could have set to anything.
std::wstring SystemDirectory();
std::wstring WindowsDirectory();
// The folder the running Windows is installed in; on a terminal server, the
// shared one rather than a user's own Windows directory.
std::wstring SystemWindowsDirectory();

}  // namespace quenlix
