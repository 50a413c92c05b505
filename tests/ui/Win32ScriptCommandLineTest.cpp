#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <set>
#include <string>

#include "platform/Win32Handle.h"
#include "support/Win32SystemHosts.h"
#include "support/Win32TempFolder.h"

// Quenlix.exe started by a script, with its output redirected to files: the
// system's hosts file of this Wine prefix, the exit code, UTF-8 output, and
// the history copies in the user's own folder.
namespace quenlix {
namespace {

using testing::ReadBytes;
using testing::SystemHostsFile;

std::wstring BesideTests(const std::string& name) {
    return testing::TestProgramFolder() + L"\\" + std::wstring(name.begin(), name.end());
}

// The names of the history copies kept now. Names, not a count: once the
// history is full, each new copy takes the place of the oldest.
std::set<std::wstring> HistoryCopies() {
    PWSTR folder = nullptr;
    if (FAILED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &folder))) return {};
    const std::wstring pattern = std::wstring(folder) + L"\\Quenlix\\history\\hosts_*.txt";
    CoTaskMemFree(folder);
    std::set<std::wstring> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return {};
    do names.insert(found.cFileName);
    while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

std::size_t NewCopies(const std::set<std::wstring>& before) {
    const std::set<std::wstring> now = HistoryCopies();
    return static_cast<std::size_t>(
        std::count_if(now.begin(), now.end(), [&](const std::wstring& name) { return !before.contains(name); }));
}

// The tests run in Quenlix.exe's folder.
std::wstring ExePath() {
    wchar_t folder[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, folder);
    const std::string name = QUENLIX_EXE;
    return std::wstring(folder) + L"\\" + std::wstring(name.begin(), name.end());
}

struct Ran {
    DWORD exit = 0xFFFFFFFF;
    std::string out, err;  // as written: UTF-8
};

Ran RunQuenlix(const std::wstring& arguments) {
    const testing::Win32TempFolder folder;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const auto create = [&](const wchar_t* name) {
        return UniqueHandle(CreateFileW((folder / name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                        CREATE_ALWAYS, 0, nullptr));
    };
    Ran ran;
    {
        const UniqueHandle out = create(L"out.txt"), err = create(L"err.txt");
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = out.Get();
        startup.hStdError = err.Get();
        std::wstring line = L"\"" + ExePath() + L"\" " + arguments;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
            return ran;
        const UniqueHandle running(process.hProcess), thread(process.hThread);
        if (WaitForSingleObject(running.Get(), 60000) == WAIT_OBJECT_0) GetExitCodeProcess(running.Get(), &ran.exit);
    }
    ran.out = ReadBytes(folder / L"out.txt");
    ran.err = ReadBytes(folder / L"err.txt");
    return ran;
}

// Another program holds the file, with writes shut out, for `ms`.
UniqueHandle HoldFile(const wchar_t* path, int ms) {
    const std::wstring event = L"Local\\QuenlixScriptHeld-" + std::to_wstring(GetCurrentProcessId());
    const UniqueHandle held(CreateEventW(nullptr, TRUE, FALSE, event.c_str()));
    const std::wstring holder = BesideTests(QUENLIX_FILE_HOLDER_STAND_IN);
    std::wstring line = L"\"" + holder + L"\" \"" + path + L"\" " + std::to_wstring(ms) + L" " + event;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(holder.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return {};
    CloseHandle(process.hThread);
    WaitForSingleObject(held.Get(), 10000);
    return UniqueHandle(process.hProcess);
}

const std::string Utf16Hosts("\xFF\xFE" "1\0" "2\0" "7\0" ".\0" "0\0" ".\0" "0\0" ".\0" "1\0" " \0" "a\0" "\r\0" "\n\0", 28);

TEST(Win32ScriptCommandLineTest, EachCommandGivesItsExitCodeUtf8OutputAndBytes) {
    const SystemHostsFile hosts;
    const struct {
        const char* name;
        std::string before;
        const wchar_t* arguments;
        DWORD exit;
        std::string after;  // "=": unchanged
        std::string says;   // in UTF-8, on standard output or standard error
        int holdMs = 0;
    } cases[] = {
        {"add, UTF-16", Utf16Hosts, L"/add 1.2.3.4 b.example", 0,
         Utf16Hosts + std::string("1\0.\0" "2\0.\0" "3\0.\0" "4\0 \0b\0.\0e\0x\0a\0m\0p\0l\0e\0\r\0\n\0", 38),
         "\xe5\xb7\xb2\xe8\xbf\xbd\xe5\x8a\xa0"},  // 已追加
        {"add, no final line end", "127.0.0.1 a", L"-ADD 1.2.3.4 b.example", 0,
         "127.0.0.1 a\r\n1.2.3.4 b.example\r\n", ""},
        {"add again", "1.2.3.4 b.example\r\n", L"/add 1.2.3.4 B.EXAMPLE", 0, "=",
         "\xe6\xb2\xa1\xe6\x9c\x89\xe6\x94\xb9\xe5\x8a\xa8"},  // 没有改动
        {"add, busy", "127.0.0.1 a\r\n", L"/add 1.2.3.4 b.example", 0, "127.0.0.1 a\r\n1.2.3.4 b.example\r\n", "",
         500},
        {"check", "127.0.0.1 a\r\n1.2.3 b\r\n", L"/check", 1, "=", "\xe7\xac\xac 2 \xe8\xa1\x8c"},  // 第 2 行
        {"resolve", "127.0.0.1 a\r\n", L"/resolve A.", 0, "=", "127.0.0.1"},
        {"disable", "127.0.0.2 a\r\n", L"/disable a", 0, "# 127.0.0.2 a\r\n", ""},
        {"usage", "127.0.0.1 a\r\n", L"/frobnicate", 2, "=", "/frobnicate"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        hosts.Write(c.before);
        const std::set<std::wstring> copies = HistoryCopies();
        UniqueHandle holder;
        if (c.holdMs > 0) holder = HoldFile(SystemHostsFile::Path, c.holdMs);
        const Ran ran = RunQuenlix(c.arguments);
        EXPECT_EQ(ran.exit, c.exit) << ran.err;
        const std::string expected = c.after == "=" ? c.before : c.after;
        EXPECT_EQ(hosts.Read(), expected);
        EXPECT_NE((ran.out + ran.err).find(c.says), std::string::npos) << ran.out << ran.err;
        EXPECT_EQ(ran.out.find("\xEF\xBB\xBF"), std::string::npos) << "UTF-8 without a mark";
        EXPECT_EQ(NewCopies(copies), c.after == "=" ? 0u : 1u) << "a copy of each change, none of a no-op";
        if (holder.Valid()) WaitForSingleObject(holder.Get(), 10000);
    }
}

}  // namespace
}  // namespace quenlix
