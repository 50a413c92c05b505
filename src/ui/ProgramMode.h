#pragma once

#include <string>
#include <vector>

namespace quenlix {

// What Quenlix.exe is started to do, told by its command line.
enum class ProgramMode {
    // No arguments: the window.
    Window,
    // "/write-staged-hosts" and its arguments: the second instance of a write
    // that the window could not make for want of rights. No window.
    StagedWrite,
    // Anything else: the command line for scripts, one command and an exit
    // code; a command line it cannot read exits with its usage code. No
    // window.
    Script,
};

// The mode the arguments after the program's name ask for.
ProgramMode ModeOf(const std::vector<std::u16string>& arguments);

}  // namespace quenlix
