#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "platform/Win32Handle.h"

namespace quenlix {

// What the program asks of the shell: the user's local application data
// folder and a program started with administrator rights. shell32 and ole32
// are loaded from the system folder and bound by name when this is made, as
// advapi32 is (Win32Administrators): the program imports none of their
// functions, and a process that never needs them never loads them.
class Win32Shell {
public:
    // Fails when a library or one of its functions cannot be bound.
    Win32Shell();

    // FOLDERID_LocalAppData, as the shell reports it for this user.
    std::wstring LocalAppDataFolder() const;

    // Starts `program` with `parameters` through the "runas" verb: Windows
    // asks the user to confirm, on `owner`'s behalf, and starts it with
    // administrator rights in `folder`, showing no window of its own. The
    // process, to wait for. Fails as ShellExecuteExW fails: ERROR_CANCELLED
    // when the user declined.
    UniqueHandle StartAsAdministrator(HWND owner, const std::wstring& program, const std::wstring& parameters,
                                      const std::wstring& folder) const;

private:
    using KnownFolderFunction = HRESULT(WINAPI*)(const GUID&, DWORD, HANDLE, PWSTR*);
    using ShellExecuteFunction = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
    using InitializeFunction = HRESULT(WINAPI*)(LPVOID, DWORD);
    using UninitializeFunction = void(WINAPI*)();

    UniqueModule ole32_;
    UniqueModule shell32_;
    CoTaskMemRelease::FreeFunction free_;
    InitializeFunction initialize_;
    UninitializeFunction uninitialize_;
    KnownFolderFunction knownFolderPath_;
    ShellExecuteFunction shellExecute_;
};

}  // namespace quenlix
