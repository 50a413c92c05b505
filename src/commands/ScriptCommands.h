#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/ScriptOutput.h"

namespace quenlix {

// The exit codes of the command line for scripts, besides the Win32 error
// number of any other failure.
namespace ScriptExit {
inline constexpr int Done = 0;
// /check found problems, /resolve no entry that answers, /remove, /enable or
// /disable nothing to change.
inline constexpr int NotFound = 1;
inline constexpr int Usage = 2;
// The entry check refused the entry, or characters would be lost.
inline constexpr int Refused = 3;
inline constexpr int AccessDenied = 5;
inline constexpr int ReadBackDiffers = 10;
inline constexpr int Busy = 32;
}  // namespace ScriptExit

// Quenlix.exe started with arguments (other than the second instance's):
// reads them, runs the one command on the running system's hosts file and
// returns the exit code. Every change goes through the one careful write of
// the window's commands (history copy, journal, busy retries, attributes,
// read back, DNS cache); a command that changes nothing writes nothing. It
// writes its results and errors to `output`, and never shows a message box.
int RunScriptCommandLine(Platform& platform, ScriptOutput& output, const std::vector<std::u16string>& arguments);

}  // namespace quenlix
