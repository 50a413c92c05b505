#pragma once

#include <windows.h>

#include "platform/Win32Handle.h"

namespace quenlix {

// The function `name` of a loaded library as the pointer type it has; null
// where this Windows lacks it. Functions newer than Windows 7 are bound so
// rather than imported: an import the loader cannot find stops the program
// from starting at all.
template <typename Function>
Function BoundFunction(HMODULE module, const char* name) {
    if (module == nullptr) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The same for a function the program cannot do without: missing, it fails.
template <typename Function>
Function RequiredFunction(HMODULE module, const char* name);

// What this system's loader offers for keeping a program to the system's own
// libraries. Windows 8 and later, and Windows 7 with KB2533623, have
// SetDefaultDllDirectories and take the LOAD_LIBRARY_SEARCH_* flags; a
// Windows 7 without that update has neither, and the program must start
// there all the same, so the function is never imported.
struct LibraryLoader {
    decltype(&::SetDefaultDllDirectories) setDefaultDllDirectories = nullptr;

    // Bound from the kernel32 that every process has loaded, by its handle.
    static LibraryLoader OfThisSystem();
};

// From here on, a library loaded by a bare name, by the program or by a
// system library on its behalf, comes from the system folder only. Where the
// loader cannot be told that, the current folder at least leaves the search;
// the program's own folder stays in it, ahead of the system's. SearchPathW
// looks in the current folder only after the system's folders either way.
void KeepLibrarySearchInSystemFolder(const LibraryLoader& loader);

// Fails with the last error, as a function that GetProcAddress did not find.
[[noreturn]] void ThrowMissingFunction();

// The library of the system folder with this file name, loaded from there and
// from nowhere else.
UniqueModule LoadSystemLibrary(const wchar_t* name, const LibraryLoader& loader = LibraryLoader::OfThisSystem());

template <typename Function>
Function RequiredFunction(HMODULE module, const char* name) {
    const Function function = BoundFunction<Function>(module, name);
    if (function == nullptr) ThrowMissingFunction();
    return function;
}

}  // namespace quenlix
