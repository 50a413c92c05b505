#include <windows.h>

#include "platform/Win32SystemLibraries.h"
#include "ui/Win32Program.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // Libraries loaded by name come from System32 only, never from the
    // program's own folder, where a planted copy could wait.
    quenlix::KeepLibrarySearchInSystemFolder(quenlix::LibraryLoader::OfThisSystem());
    return quenlix::RunMainWindow(instance, showCommand);
}
