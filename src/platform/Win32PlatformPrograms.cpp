#include <string>

#include "platform/QuoteArgument.h"
#include "platform/SystemProgramEnvironment.h"
#include "platform/Win32Failure.h"
#include "platform/Win32GrowingBuffer.h"
#include "platform/Win32Handle.h"
#include "platform/Win32Platform.h"
#include "platform/Win32ProcessWait.h"
#include "platform/Win32SystemFolders.h"
#include "platform/Win32Text.h"

// Programs the platform starts, and those it waits for.

namespace quenlix {

std::wstring SystemProgramPath(std::u16string_view commandLine) {
    // The command lines name their program by its bare name. Left to
    // CreateProcessW, that name would be looked up in the program's own
    // folder and the current folder first, where a planted cmd.exe or
    // Notepad.exe would run in its place; only the system's folders count.
    // On a terminal server GetWindowsDirectoryW gives a program that is not
    // marked as aware of it a Windows folder of the user's own, where a
    // planted explorer.exe would wait; the running system's folder is the
    // shared one.
    const std::wstring name = ToWide(commandLine.substr(0, commandLine.find(u' ')));
    const std::wstring folders = SystemDirectory() + L";" + SystemWindowsDirectory();
    const auto found = StringFromGrowingBuffer([&](wchar_t* buffer, std::size_t size) {
        return SearchPathW(folders.c_str(), name.c_str(), L".exe", static_cast<DWORD>(size), buffer, nullptr);
    });
    if (!found) throw Win32Failure(ERROR_FILE_NOT_FOUND);
    return *found;
}

namespace {

// The product's own environment, as one block.
std::u16string OwnEnvironment() {
    const UniqueEnvironmentStrings strings(GetEnvironmentStringsW());
    if (!strings.Valid()) throw Win32Failure(ERROR_NOT_ENOUGH_MEMORY);
    const wchar_t* end = strings.Get();
    while (*end != L'\0') end += std::wcslen(end) + 1;  // the block ends with an empty string
    return FromWide(std::wstring_view(strings.Get(), static_cast<std::size_t>(end - strings.Get())));
}

// Starts `program` (a full path) with `commandLine`; the process, which may
// be waited for.
UniqueHandle StartSystemProcess(const std::wstring& program, std::u16string_view commandLine, int windowStyle) {
    // The program runs in the system folder rather than in ours: started
    // from Explorer, our current folder is the folder Quenlix.exe lies in (a
    // downloads folder, typically), and a program that starts others looks
    // for them in its current folder first. Its environment keeps it from
    // doing so at all where it reads NoDefaultCurrentDirectoryInExePath.
    const std::wstring folder = SystemDirectory();
    std::wstring environment = ToWide(SystemProgramEnvironment(OwnEnvironment(), FromWide(folder)));
    std::wstring line = ToWide(commandLine);  // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(windowStyle);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                        environment.data(), folder.c_str(), &startup, &process))
        throw LastWin32Failure();
    UniqueHandle threadHandle(process.hThread);
    return UniqueHandle(process.hProcess);
}

// Waits for a started program as WaitForProcess does, and gives its exit
// code. One still running when the wait runs out gives none; it is ended when
// `endWait` is given (ending takes effect a moment after the call, which
// `endWait` waits for), and left to run on otherwise.
ProgramExit ExitOf(HANDLE process, std::chrono::milliseconds timeout, std::optional<DWORD> endWait) {
    if (WaitForProcess(process, timeout) == ProcessWait::TimedOut) {
        if (endWait) {
            TerminateProcess(process, ERROR_TIMEOUT);
            WaitForSingleObject(process, *endWait);
        }
        return std::nullopt;
    }
    DWORD code = 0;
    if (!GetExitCodeProcess(process, &code)) throw LastWin32Failure();
    return code;
}

}  // namespace

void Win32Platform::StartProgram(std::u16string_view commandLine, int windowStyle) {
    // Started programs run on by themselves; nothing waits for them.
    StartSystemProcess(SystemProgramPath(commandLine), commandLine, windowStyle);
}

ProgramExit Win32Platform::RunSystemProgram(std::u16string_view program, std::u16string_view arguments,
                                            int windowStyle, std::chrono::milliseconds timeout) {
    const std::wstring path = SystemDirectory() + L"\\" + ToWide(program);
    const UniqueHandle process =
        StartSystemProcess(path, QuoteArgument(FromWide(path)) + u" " + std::u16string(arguments), windowStyle);
    const DisabledWindow disabled(owner_);
    return ExitOf(process.Get(), timeout, 5000);
}

ProgramExit Win32Platform::RunElevatedInstance(std::u16string_view arguments, std::chrono::milliseconds timeout) {
    if (!shell_) shell_.emplace();
    const auto program = StringFromGrowingBuffer([](wchar_t* buffer, std::size_t size) {
        return GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(size));
    });
    if (!program) throw LastWin32Failure();
    // No click reaches the window from the system's question on: the command
    // that asked is still under way.
    const DisabledWindow disabled(owner_);
    // The instance runs in the system folder, not in whatever folder ours
    // happens to be (a downloads folder), where a library planted for it
    // could be looked for.
    const UniqueHandle process = shell_->StartAsAdministrator(owner_, *program, ToWide(arguments), SystemDirectory());
    // Never ended: the instance may be in the middle of writing the hosts
    // file, and a write cut off is the one thing that tears it. The caller
    // says the outcome is not known yet; the journal tells at the next start.
    return ExitOf(process.Get(), timeout, std::nullopt);
}

}  // namespace quenlix
