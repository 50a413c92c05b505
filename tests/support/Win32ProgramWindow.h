#pragma once

#include <windows.h>

#include <cwchar>

namespace quenlix::testing {

// A visible top-level window of the process `processId` with this class
// (its form, "#32770" for a message box); null when there is none now.
inline HWND VisibleWindowOf(DWORD processId, const wchar_t* className) {
    struct Search {
        DWORD processId;
        const wchar_t* className;
        HWND found;
    } search{processId, className, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t name[32] = {};
            GetClassNameW(window, name, 32);
            if (owner != s->processId || wcscmp(name, s->className) != 0 || !IsWindowVisible(window)) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace quenlix::testing
