#include "platform/Win32SystemLibraries.h"

#include <string>

#include "platform/Win32Failure.h"
#include "platform/Win32SystemFolders.h"

namespace quenlix {

LibraryLoader LibraryLoader::OfThisSystem() {
    LibraryLoader loader;
    loader.setDefaultDllDirectories = BoundFunction<decltype(loader.setDefaultDllDirectories)>(
        GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    return loader;
}

void ThrowMissingFunction() { throw LastWin32Failure(); }

void KeepLibrarySearchInSystemFolder(const LibraryLoader& loader) {
    SetSearchPathMode(BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE | BASE_SEARCH_PATH_PERMANENT);
    if (loader.setDefaultDllDirectories != nullptr &&
        loader.setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return;
    SetDllDirectoryW(L"");
}

UniqueModule LoadSystemLibrary(const wchar_t* name, const LibraryLoader& loader) {
    if (loader.setDefaultDllDirectories != nullptr) {
        if (HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return UniqueModule(module);
        if (GetLastError() != ERROR_INVALID_PARAMETER) throw LastWin32Failure();
    }
    // A loader without the search flags refuses them. The full path names the
    // one file, and makes the loader look beside it, in the system folder,
    // for the libraries it imports in turn rather than beside the program.
    const std::wstring path = SystemDirectory() + L"\\" + name;
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module == nullptr) throw LastWin32Failure();
    return UniqueModule(module);
}

}  // namespace quenlix
