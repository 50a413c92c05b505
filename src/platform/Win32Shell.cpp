#include "platform/Win32Shell.h"

#include <objbase.h>

#include "platform/Win32Failure.h"
#include "platform/Win32SystemLibraries.h"

namespace quenlix {

namespace {

// FOLDERID_LocalAppData, {F1B32785-6FBA-4FCF-9D55-7B8E7F157091}: spelled out
// here rather than taken from a library of GUIDs.
constexpr GUID LocalAppData = {0xF1B32785, 0x6FBA, 0x4FCF, {0x9D, 0x55, 0x7B, 0x8E, 0x7F, 0x15, 0x70, 0x91}};

Failure HresultFailure(HRESULT result) {
    if (HRESULT_FACILITY(result) == FACILITY_WIN32) return Win32Failure(HRESULT_CODE(result));
    return Win32Failure(static_cast<std::uint32_t>(result));
}

}  // namespace

Win32Shell::Win32Shell()
    : ole32_(LoadSystemLibrary(L"ole32.dll")),
      shell32_(LoadSystemLibrary(L"shell32.dll")),
      free_(RequiredFunction<CoTaskMemRelease::FreeFunction>(ole32_.Get(), "CoTaskMemFree")),
      initialize_(RequiredFunction<InitializeFunction>(ole32_.Get(), "CoInitializeEx")),
      uninitialize_(RequiredFunction<UninitializeFunction>(ole32_.Get(), "CoUninitialize")),
      knownFolderPath_(RequiredFunction<KnownFolderFunction>(shell32_.Get(), "SHGetKnownFolderPath")),
      shellExecute_(RequiredFunction<ShellExecuteFunction>(shell32_.Get(), "ShellExecuteExW")) {}

std::wstring Win32Shell::LocalAppDataFolder() const {
    PWSTR path = nullptr;
    const HRESULT result = knownFolderPath_(LocalAppData, 0, nullptr, &path);
    const UniqueCoTaskString owned(path, CoTaskMemRelease{free_});  // freed however the call ended
    if (FAILED(result)) throw HresultFailure(result);
    return path;
}

UniqueHandle Win32Shell::StartAsAdministrator(HWND owner, const std::wstring& program, const std::wstring& parameters,
                                              const std::wstring& folder) const {
    // ShellExecuteExW may hand the verb to shell extensions, which want COM
    // on the calling thread; a thread that has it already keeps its own.
    const HRESULT com = initialize_(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    struct ComScope {
        UninitializeFunction uninitialize;
        bool owned;
        ~ComScope() {
            if (owned) uninitialize();
        }
    } scope{uninitialize_, SUCCEEDED(com)};

    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // The process comes back to be waited for, the call returns once it has
    // started, and a failure comes back as an error rather than a box of the
    // shell's own.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpVerb = L"runas";
    info.lpFile = program.c_str();
    info.lpParameters = parameters.c_str();
    info.lpDirectory = folder.c_str();
    info.nShow = SW_HIDE;
    if (!shellExecute_(&info)) throw LastWin32Failure();
    if (info.hProcess == nullptr) throw Win32Failure(ERROR_INVALID_HANDLE);
    return UniqueHandle(info.hProcess);
}

}  // namespace quenlix
