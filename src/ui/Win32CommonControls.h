#pragma once

#include <windows.h>
#include <commctrl.h>

namespace quenlix {

// The functions of the common controls library that the window uses, bound
// by name rather than imported. comctl32 is not among the libraries the
// system keeps loaded for every process: imported, the loader would look for
// it, and its version 6 for the libraries it imports in turn, in the
// program's own folder first, before the program's first line runs. Bound
// after the library search is kept to System32 (KeepLibrarySearchInSystemFolder),
// it comes from the system; the program's manifest still picks version 6
// from the side-by-side store. A mode of the program that shows no window
// never loads it.
struct CommonControls {
    decltype(&::InitCommonControlsEx) initCommonControlsEx = nullptr;
    decltype(&::SetWindowSubclass) setWindowSubclass = nullptr;
    decltype(&::DefSubclassProc) defSubclassProc = nullptr;
    decltype(&::RemoveWindowSubclass) removeWindowSubclass = nullptr;
};

// Loaded at the first call and kept for the life of the process. Fails when
// the library or one of the functions cannot be bound.
const CommonControls& BoundCommonControls();

}  // namespace quenlix
