#include "ui/Win32CommonControls.h"

#include "platform/Win32SystemLibraries.h"

namespace quenlix {

namespace {

// By name, or by the ordinal that both version 5.8 and version 6 give it:
// a Windows 7 without the loader update that keeps the search to System32
// loads the library by its full path there, which is version 5.8, where the
// subclass functions may have no name.
template <typename Function>
Function ByNameOrOrdinal(HMODULE module, const char* name, WORD ordinal) {
    if (const Function function = BoundFunction<Function>(module, name)) return function;
    return RequiredFunction<Function>(module, MAKEINTRESOURCEA(ordinal));
}

CommonControls Bind() {
    // Never freed: window procedures of the library's classes run until the
    // process ends.
    const HMODULE library = LoadSystemLibrary(L"comctl32.dll").Release();
    CommonControls bound;
    bound.initCommonControlsEx =
        RequiredFunction<decltype(bound.initCommonControlsEx)>(library, "InitCommonControlsEx");
    bound.setWindowSubclass = ByNameOrOrdinal<decltype(bound.setWindowSubclass)>(library, "SetWindowSubclass", 410);
    bound.removeWindowSubclass =
        ByNameOrOrdinal<decltype(bound.removeWindowSubclass)>(library, "RemoveWindowSubclass", 412);
    bound.defSubclassProc = ByNameOrOrdinal<decltype(bound.defSubclassProc)>(library, "DefSubclassProc", 413);
    return bound;
}

}  // namespace

const CommonControls& BoundCommonControls() {
    static const CommonControls bound = Bind();
    return bound;
}

}  // namespace quenlix
