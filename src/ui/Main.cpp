#include <windows.h>

#include "platform/CommandLine.h"
#include "platform/Win32SystemLibraries.h"
#include "platform/Win32Text.h"
#include "ui/ProgramMode.h"
#include "ui/Win32Program.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // Before anything else is loaded: libraries loaded by name come from
    // System32 only, never from the program's own folder (a downloads
    // folder, typically), where a planted copy could wait. The program
    // imports only libraries the system keeps in memory for every process;
    // the others (the common controls among them) are bound by name later.
    quenlix::KeepLibrarySearchInSystemFolder(quenlix::LibraryLoader::OfThisSystem());

    const std::vector<std::u16string> arguments =
        quenlix::ArgumentsAfterProgram(quenlix::FromWide(GetCommandLineW()));
    switch (quenlix::ModeOf(arguments)) {
        case quenlix::ProgramMode::Window: return quenlix::RunMainWindow(instance, showCommand);
        case quenlix::ProgramMode::StagedWrite: return quenlix::RunStagedWriteProgram(arguments);
        case quenlix::ProgramMode::Script: return quenlix::RunScriptProgram(arguments);
    }
    return ERROR_INVALID_PARAMETER;
}
