// The parts of the real platform that a careful write of the hosts file
// needs besides reading and writing files.
#include <windows.h>

#include <algorithm>

#include "platform/FileAttribute.h"
#include "platform/Win32Failure.h"
#include "platform/Win32Platform.h"
#include "platform/Win32SystemLibraries.h"
#include "platform/Win32Text.h"

namespace quenlix {

static_assert(FileAttribute::ReadOnly == FILE_ATTRIBUTE_READONLY && FileAttribute::Hidden == FILE_ATTRIBUTE_HIDDEN &&
              FileAttribute::System == FILE_ATTRIBUTE_SYSTEM && FileAttribute::Directory == FILE_ATTRIBUTE_DIRECTORY &&
              FileAttribute::Archive == FILE_ATTRIBUTE_ARCHIVE);

void Win32Platform::Pause(std::chrono::milliseconds duration) {
    Sleep(static_cast<DWORD>(std::clamp<std::chrono::milliseconds::rep>(duration.count(), 0, INFINITE - 1)));
}

std::optional<std::uint32_t> Win32Platform::FileAttributesOf(std::u16string_view path) {
    const DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return attributes;
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
    throw Win32Failure(error);
}

void Win32Platform::ChangeFileAttributes(std::u16string_view path, std::uint32_t attributes) {
    // The bits SetFileAttributesW sets; the others (a compressed or encrypted
    // file's, say) are the file system's to keep, and FILE_ATTRIBUTE_NORMAL
    // stands for none at all.
    constexpr DWORD Settable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                               FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                               FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD settable = attributes & Settable;
    if (!SetFileAttributesW(ToWide(path).c_str(), settable == 0 ? FILE_ATTRIBUTE_NORMAL : settable))
        throw LastWin32Failure();
}

void Win32Platform::FlushDnsCache() {
    // What "ipconfig /flushdns" calls. It is not documented, so it is bound
    // by name where it is there at all; the library comes from the system
    // folder only.
    using FlushFunction = BOOL(WINAPI*)();
    try {
        const UniqueModule dnsapi = LoadSystemLibrary(L"dnsapi.dll");
        if (const auto flush = BoundFunction<FlushFunction>(dnsapi.Get(), "DnsFlushResolverCache")) flush();
    } catch (const Failure&) {
    }
}

}  // namespace quenlix
