#include <gtest/gtest.h>
#include <windows.h>

#include "platform/Win32Platform.h"
#include "support/Win32TempFolder.h"

namespace quenlix {
namespace {

std::wstring Lower(std::wstring s) {
    CharLowerBuffW(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

std::wstring SystemFolder() {
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    return Lower(system);
}

std::wstring WindowsFolder() {
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    return Lower(windows);
}

// A program of the same name planted beside ours (a downloads folder, say)
// must never run instead of the system's own.
TEST(Win32StartProgramTest, ProgramsAreFoundInTheSystemFoldersOnly) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring here(self);
    here.resize(here.find_last_of(L'\\'));
    const std::wstring planted = here + L"\\Notepad.exe";
    CopyFileW(self, planted.c_str(), FALSE);
    SetCurrentDirectoryW(here.c_str());

    for (auto line : {u"Notepad.exe C:\\windows\\system32\\drivers\\etc\\hosts", u"cmd /c cacls.exe x",
                      u"explorer /select,C:\\x"}) {
        const std::wstring found = Lower(SystemProgramPath(line));
        EXPECT_TRUE(found.rfind(SystemFolder() + L"\\", 0) == 0 || found.rfind(WindowsFolder() + L"\\", 0) == 0)
            << std::string(found.begin(), found.end());
        EXPECT_NE(found, Lower(planted));
    }
    DeleteFileW(planted.c_str());
}

TEST(Win32StartProgramTest, AnUnknownProgramIsAFailure) {
    Win32Platform platform;
    try {
        platform.StartProgram(u"no-such-program-here /x", 1);
        ADD_FAILURE() << "started a program that does not exist";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.Number(), static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
    }
}

TEST(Win32StartProgramTest, StartsTheCommandLineWithoutWaiting) {
    testing::Win32TempFolder folder;
    Win32Platform platform;
    const std::wstring marker = folder / L"started.txt";
    const std::wstring command = L"cmd /c echo ok> " + marker;
    const DWORD before = GetTickCount();
    platform.StartProgram(std::u16string(command.begin(), command.end()), 2);
    for (int i = 0; i < 100 && GetFileAttributesW(marker.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(50);
    EXPECT_NE(GetFileAttributesW(marker.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_LT(GetTickCount() - before, 5000u);
}

}  // namespace
}  // namespace quenlix
