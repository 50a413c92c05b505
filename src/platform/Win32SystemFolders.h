#pragma once

#include <string>

namespace quenlix {

// The system directory (System32) and the folder the running Windows is
// installed in, as the system itself reports them: never from an environment
// variable, which whoever started the program could have set to anything. On
// a terminal server the Windows folder is the shared one, never a user's own
// (GetWindowsDirectoryW's answer to a program not marked as aware of it).
std::wstring SystemDirectory();
std::wstring SystemWindowsDirectory();

}  // namespace quenlix
