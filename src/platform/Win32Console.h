#pragma once

#include <windows.h>

#include "platform/ScriptOutput.h"
#include "platform/Win32Handle.h"

namespace quenlix {

// Standard output and standard error of a program built for the window
// subsystem, started from a script. Redirected to a file or a pipe, each
// takes UTF-8 without a mark, which PowerShell 7, findstr and CI logs read.
// Not redirected, the program writes to the console of the process that
// started it (AttachConsole), in UTF-16 through WriteConsoleW, so that
// Chinese shows whatever the console's code page. Started with neither
// (from Explorer), the lines go nowhere.
class Win32Console final : public ScriptOutput {
public:
    Win32Console();
    void Result(std::u16string_view line) override { Write(out_, line); }
    void Error(std::u16string_view line) override { Write(err_, line); }

private:
    struct Stream {
        HANDLE handle = nullptr;
        bool console = false;
    };
    static Stream StreamOf(HANDLE handle);
    static void Write(const Stream& stream, std::u16string_view line);

    UniqueHandle consoleOutput_;  // opened after attaching, when one was needed
    Stream out_;
    Stream err_;
};

}  // namespace quenlix
