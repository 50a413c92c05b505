#pragma once

#include <string>
#include <string_view>

namespace quenlix {

// The environment block for a program of the system that the product starts
// (Explorer, Notepad, cacls): a copy of `own`, the product's own block, with
// NoDefaultCurrentDirectoryInExePath set and `systemFolder` put first on
// PATH. A program that it starts in turn by a bare name is then looked for
// in the system folder before any other, and not in the current folder at
// all, so a file of that name in a downloads folder or in a folder on PATH
// never runs in its place, with whatever rights the product has.
//
// A block is NAME=value strings, each ended by a NUL, the last followed by a
// second NUL. The result is sorted by name, as CreateProcessW wants it.
std::u16string SystemProgramEnvironment(std::u16string_view own, std::u16string_view systemFolder);

}  // namespace quenlix
