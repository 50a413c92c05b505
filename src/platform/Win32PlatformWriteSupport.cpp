// The parts of the real platform that a careful write of the hosts file
// needs besides reading and writing files.
#include <windows.h>

#include <algorithm>

#include "platform/FileAttribute.h"
#include "platform/Win32Failure.h"
#include "platform/Win32Platform.h"
#include "platform/Win32ProcessWait.h"
#include "platform/Win32Sha256.h"
#include "platform/Win32SystemFolders.h"
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

namespace {

// The full path of this program's own file, as the system reports it.
std::wstring ProgramFilePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) throw LastWin32Failure();
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);  // a long path: try again with room
    }
}

}  // namespace

Sha256Digest Win32Platform::Sha256(std::string_view bytes) { return Win32Sha256(bytes); }

std::u16string Win32Platform::LocalAppDataDirectory() {
    if (!shell_) shell_.emplace();
    return FromWide(shell_->LocalAppDataFolder());
}

void Win32Platform::MakeDirectory(std::u16string_view path) {
    const std::wstring folder = ToWide(path);
    if (CreateDirectoryW(folder.c_str(), nullptr)) return;
    const DWORD error = GetLastError();
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (error == ERROR_ALREADY_EXISTS && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return;
    throw Win32Failure(error);
}

ProgramExit Win32Platform::RunElevatedInstance(std::u16string_view arguments, std::chrono::milliseconds timeout) {
    if (!shell_) shell_.emplace();
    // No click reaches the window from the system's question on: the command
    // that asked is still under way.
    const DisabledWindow disabled(owner_);
    // The instance runs in the system folder, not in whatever folder ours
    // happens to be (a downloads folder), where a library planted for it
    // could be looked for.
    const UniqueHandle process =
        shell_->StartAsAdministrator(owner_, ProgramFilePath(), ToWide(arguments), SystemDirectory());
    if (WaitForProcess(process.Get(), timeout) == ProcessWait::TimedOut) {
        // A process with rights this one lacks may refuse to be ended; the
        // caller says that the outcome is not known either way.
        TerminateProcess(process.Get(), ERROR_TIMEOUT);
        return std::nullopt;
    }
    DWORD code = 0;
    if (!GetExitCodeProcess(process.Get(), &code)) throw LastWin32Failure();
    return code;
}

std::u16string Win32Platform::ErrorDescription(std::uint32_t number) { return Win32Failure(number).Description(); }

}  // namespace quenlix
