#include "platform/Win32SystemFolders.h"

#include <windows.h>

#include "platform/Win32Failure.h"
#include "platform/Win32GrowingBuffer.h"

namespace quenlix {

namespace {

std::wstring FolderFrom(UINT (*query)(LPWSTR, UINT)) {
    const auto folder =
        StringFromGrowingBuffer([&](wchar_t* buffer, std::size_t size) { return query(buffer, static_cast<UINT>(size)); });
    if (!folder) throw LastWin32Failure();
    return *folder;
}

}  // namespace

std::wstring SystemDirectory() {
    return FolderFrom([](LPWSTR buffer, UINT size) { return GetSystemDirectoryW(buffer, size); });
}

std::wstring SystemWindowsDirectory() {
    return FolderFrom([](LPWSTR buffer, UINT size) { return GetSystemWindowsDirectoryW(buffer, size); });
}

}  // namespace quenlix
