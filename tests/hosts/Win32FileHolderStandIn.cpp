// A stand-in for the programs that hold the hosts file for a moment (the DNS
// Client service, a virus scanner), started by the tests of the busy file:
//
//   file_holder_stand_in PATH MILLISECONDS EVENT
//
// It holds the file open for reading with no one else allowed to write it,
// sets the named event once it does, keeps the file for MILLISECONDS and
// ends. (A lock on the file's bytes would be the other way to hold it, but
// Wine checks such locks only against other locks, never against a read or
// a write.)
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) return 87;
    HANDLE file =
        CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
    HANDLE held = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[3]);
    if (held == nullptr) return static_cast<int>(GetLastError());
    SetEvent(held);
    Sleep(static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)));
    CloseHandle(held);
    CloseHandle(file);
    return 0;
}
