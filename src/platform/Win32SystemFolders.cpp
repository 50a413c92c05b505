#include "platform/Win32SystemFolders.h"

#include <windows.h>

#include "platform/Win32Failure.h"

namespace quenlix {

namespace {

std::wstring FolderFrom(UINT (*query)(LPWSTR, UINT)) {
    std::wstring folder(MAX_PATH, L'\0');
    for (;;) {
        const UINT length = query(folder.data(), static_cast<UINT>(folder.size()));
        if (length == 0) throw LastWin32Failure();
        if (length < folder.size()) {
            folder.resize(length);
            return folder;
        }
        folder.resize(length);  // the size needed, terminator included
    }
}

}  // namespace

std::wstring SystemDirectory() {
    return FolderFrom([](LPWSTR buffer, UINT size) { return GetSystemDirectoryW(buffer, size); });
}

std::wstring SystemWindowsDirectory() {
    return FolderFrom([](LPWSTR buffer, UINT size) { return GetSystemWindowsDirectoryW(buffer, size); });
}

}  // namespace quenlix
