// Quenlix.exe as it would be if it filled the hosts text box in one go
// whatever the file's length: the reference the benchmark holds the fill in
// pieces against. Built for the benchmark only; never shipped.
#include <windows.h>

#include <limits>

#include "platform/Win32SystemLibraries.h"
#include "ui/Win32Program.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    quenlix::KeepLibrarySearchInSystemFolder(quenlix::LibraryLoader::OfThisSystem());
    return quenlix::RunMainWindow(instance, showCommand, std::numeric_limits<std::size_t>::max());
}
