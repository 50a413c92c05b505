#include <windows.h>

#include <algorithm>

#include "platform/Win32Platform.h"
#include "platform/Win32Sha256.h"
#include "platform/Win32SystemLibraries.h"

// What the platform asks of the system besides files and programs: time,
// name resolution, hashing.

namespace quenlix {

void Win32Platform::Pause(std::chrono::milliseconds duration) {
    Sleep(static_cast<DWORD>(std::clamp<std::chrono::milliseconds::rep>(duration.count(), 0, INFINITE - 1)));
}

LocalTime Win32Platform::LocalTimeNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

std::uint64_t Win32Platform::FileTimeNow() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
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

Sha256Digest Win32Platform::Sha256(std::string_view bytes) { return Win32Sha256(bytes); }

}  // namespace quenlix
