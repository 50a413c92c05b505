// A stand-in for a program of the system folder, put there by the tests of
// the programs Quenlix runs and waits for (in place of cacls.exe, or under a
// name of its own). It writes the arguments it was given, as
// CommandLineToArgvW reads them, to "<its own path>.args" (UTF-16, each one
// ended by a NUL) and exits with code 5, what cacls gives when it is refused
// access. Given "hang" as its first argument, it then never ends.
#include <windows.h>
#include <shellapi.h>

#include <string>

int wmain() {
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 1;
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr) return 1;
    std::wstring record;
    for (int i = 0; i < count; ++i) record.append(arguments[i]).push_back(L'\0');
    const bool hang = count > 1 && std::wstring(arguments[1]) == L"hang";
    LocalFree(arguments);

    const std::wstring path = std::wstring(self, length) + L".args";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, record.data(), static_cast<DWORD>(record.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
    if (hang) Sleep(INFINITE);
    return 5;
}
