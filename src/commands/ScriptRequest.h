#pragma once

#include <string>
#include <variant>
#include <vector>

namespace quenlix {

// What a script asks of Quenlix.exe on its command line: one command, its
// operands, and the options that let it go further than it would by itself.
struct ScriptRequest {
    enum class Command { Add, Remove, Disable, Enable, Check, Resolve, Compress, Help };
    Command command = Command::Help;
    std::vector<std::u16string> operands;
    // Append an entry the entry check refuses.
    bool force = false;
    // Save as UTF-8 where the file's ANSI code page cannot hold a character.
    bool utf8 = false;
    // Hand a write refused for want of rights to an instance with them.
    bool elevate = false;
};

// Why a command line asks nothing the program can do; the text says it in
// Chinese.
struct ScriptUsageError {
    std::u16string message;
};

// Reads the arguments after the program's name. Options begin with '/' or
// '-', in any letter case; everything else is an operand (no host name or
// address can begin with either). Exactly one command, the operands it
// takes, and only options that apply to it.
std::variant<ScriptRequest, ScriptUsageError> ReadScriptRequest(const std::vector<std::u16string>& arguments);

// The usage text of /?: Chinese, then English, with the exit codes.
std::u16string ScriptUsageText();

}  // namespace quenlix
