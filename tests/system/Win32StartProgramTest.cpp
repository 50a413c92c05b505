#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/Win32Handle.h"
#include "platform/QuoteArgument.h"
#include "platform/Win32Platform.h"
#include "support/Win32DesktopTurn.h"
#include "support/Win32SystemHosts.h"
#include "support/Win32TempFolder.h"

namespace quenlix {
namespace {

using testing::TestProgramFolder;

using testing::ReadBytes;
using testing::WriteBytes;

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
    GetSystemWindowsDirectoryW(windows, MAX_PATH);
    return Lower(windows);
}

// For texts of plain ASCII: names of the build, what cmd writes.
std::wstring Widened(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// A path as a batch file line names it: % doubled, in the console's code
// page, which cmd reads batch files in. (The plant does not name itself as
// %~f0: Wine's cmd expands that a second time, and a % in its folder's name
// would send the marker elsewhere.)
std::string BatchText(const std::wstring& path) {
    std::wstring escaped;
    for (const wchar_t c : path) escaped.append(c == L'%' ? 2 : 1, c);
    std::string text(escaped.size() * 2, '\0');
    text.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_OEMCP, 0, escaped.data(), static_cast<int>(escaped.size()),
                                                             text.data(), static_cast<int>(text.size()), nullptr, nullptr)));
    return text;
}

// What the system program stand-in recorded at `program`: its arguments, the
// program's own path first, lower-cased.
std::vector<std::wstring> RecordedArguments(const std::wstring& program) {
    const std::string bytes = ReadBytes(program + L".args");
    std::vector<std::wstring> arguments;
    if (bytes == "<missing>") return arguments;
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find(L'\0', at);
        arguments.push_back(Lower(text.substr(at, end - at)));
        at = end + 1;
    }
    return arguments;
}

// A program of the same name planted beside ours (a downloads folder, say)
// must never run instead of the system's own.
TEST(Win32StartProgramTest, ProgramsAreFoundInTheSystemFoldersOnly) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring here = TestProgramFolder();
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

// The program gets the system folder as its current folder, whatever ours
// is, and an environment that keeps the current folder out of the search
// for the programs it runs.
TEST(Win32StartProgramTest, StartsTheCommandLineWithoutWaitingInTheSystemFolder) {
    testing::Win32TempFolder folder;
    SetCurrentDirectoryW(folder.Path().c_str());
    Win32Platform platform;
    const std::wstring current = folder / L"current.txt";
    const std::wstring environment = folder / L"environment.txt";
    const std::wstring command = L"cmd /c cd > " + current + L" & set > " + environment;
    const DWORD before = GetTickCount();
    platform.StartProgram(std::u16string(command.begin(), command.end()), SW_SHOWMINNOACTIVE);
    EXPECT_LT(GetTickCount() - before, 5000u);
    for (int i = 0; i < 200 && ReadBytes(environment).find("windir=") == std::string::npos; ++i) Sleep(50);

    EXPECT_EQ(Lower(Widened(ReadBytes(current))), SystemFolder() + L"\r\n");
    const std::wstring variables = Lower(L"\r\n" + Widened(ReadBytes(environment)));
    EXPECT_NE(variables.find(L"\r\nnodefaultcurrentdirectoryinexepath=1\r\n"), std::wstring::npos);
    EXPECT_NE(variables.find(L"\r\npath=" + SystemFolder() + L";"), std::wstring::npos);
}

// --- Programs of the system folder, run and waited for ---

// Whether a process of the program at `path` runs.
bool Runs(const std::wstring& path) {
    const std::wstring name = Lower(path.substr(path.find_last_of(L'\\') + 1));
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry))
        if (Lower(entry.szExeFile) == name) return true;
    return false;
}

// The system program stand-in, in the system folder under a name of its own
// for as long as the test runs.
class SystemFolderStandIn {
public:
    SystemFolderStandIn() {
        const std::wstring standIn = TestProgramFolder() + L"\\" + Widened(QUENLIX_SYSTEM_PROGRAM_STAND_IN);
        CopyFileW(standIn.c_str(), Path().c_str(), FALSE);
    }
    ~SystemFolderStandIn() {
        DeleteFileW(Path().c_str());
        DeleteFileW((Path() + L".args").c_str());
    }
    SystemFolderStandIn(const SystemFolderStandIn&) = delete;
    SystemFolderStandIn& operator=(const SystemFolderStandIn&) = delete;

    std::u16string Name() const { return std::u16string(name_.begin(), name_.end()); }
    std::wstring Path() const { return SystemFolder() + L"\\" + name_; }

private:
    std::wstring name_ = L"quenlix-stand-in-" + std::to_wstring(GetCurrentProcessId()) + L".exe";
};

// The program is the system folder's, and each argument reaches it whole:
// a path and a group's name as cacls gets them, with the characters cmd
// would have read as commands.
TEST(Win32RunSystemProgramTest, RunsTheSystemFoldersProgramWithItsArgumentsWholeAndGivesItsExitCode) {
    SystemFolderStandIn standIn;
    Win32Platform platform;
    const std::u16string hosts = u"D:\\下载 & 100% ^_^\\a\" & echo INJECTED2>C:\\inj2.txt & \"b\\hosts";
    const std::u16string arguments = QuoteArgument(hosts) + u" /e /t /p " + QuoteArgument(u"Tout le monde:F");
    const ProgramExit exit =
        platform.RunSystemProgram(standIn.Name(), arguments, SW_SHOWMINNOACTIVE, std::chrono::seconds(30));
    EXPECT_EQ(exit, ProgramExit(5u));
    const std::vector<std::wstring> expected{Lower(standIn.Path()), Lower(std::wstring(hosts.begin(), hosts.end())),
                                             L"/e", L"/t", L"/p", L"tout le monde:f"};
    EXPECT_EQ(RecordedArguments(standIn.Path()), expected);
    EXPECT_EQ(GetFileAttributesW(L"C:\\inj2.txt"), INVALID_FILE_ATTRIBUTES);
}

// The owner takes no click while the program runs, yet its messages are
// handled (it repaints); a program that outlives the wait is ended, and a
// WM_QUIT that came meanwhile is still there for the message loop.
TEST(Win32RunSystemProgramTest, WaitsBoundedWithTheOwnerDisabledButHandlingItsMessages) {
    SystemFolderStandIn standIn;
    struct Seen {
        bool handled = false;
        bool enabled = true;
    } seen;
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    SetWindowLongPtrW(owner, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&seen));
    const auto staticProcedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(owner, GWLP_WNDPROC));
    static WNDPROC forward = staticProcedure;
    SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == WM_APP) {
            auto* s = reinterpret_cast<Seen*>(GetWindowLongPtrW(w, GWLP_USERDATA));
            s->handled = true;
            s->enabled = IsWindowEnabled(w) != FALSE;
            return 0;
        }
        return CallWindowProcW(forward, w, m, wp, lp);
    }));
    Win32Platform platform;
    platform.SetOwner(owner);
    PostMessageW(owner, WM_APP, 0, 0);
    PostQuitMessage(3);

    const DWORD before = GetTickCount();
    EXPECT_EQ(platform.RunSystemProgram(standIn.Name(), u"hang", SW_SHOWMINNOACTIVE, std::chrono::milliseconds(700)),
              std::nullopt);
    const DWORD waited = GetTickCount() - before;
    EXPECT_GE(waited, 650u);
    EXPECT_LT(waited, 10000u);
    EXPECT_TRUE(seen.handled) << "no message was handled while it waited";
    EXPECT_FALSE(seen.enabled) << "the owner took input while it waited";
    EXPECT_TRUE(IsWindowEnabled(owner));
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 3u);
    EXPECT_FALSE(Runs(standIn.Path())) << "the program outlived the wait";
    platform.SetOwner(nullptr);
    DestroyWindow(owner);
}

// --- Planted programs ---

// A program started from a downloads folder: a copy of Quenlix.exe in a
// folder whose name has Chinese, a space and what cmd reads as commands (&,
// %, ^) in it, with a cacls of each kind planted beside it, and the same
// plants in another folder that can serve as the current one. Each plant
// leaves "<its path>.ran" behind when it runs.
class Win32PlantedCaclsTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::wstring standIn = TestProgramFolder() + L"\\" + Widened(QUENLIX_PLANTED_STAND_IN);
        for (const std::wstring& folder : {programFolder, otherFolder}) {
            ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
            for (const wchar_t* name : {L"cacls.exe", L"cacls.com"})
                ASSERT_TRUE(CopyFileW(standIn.c_str(), (folder + L"\\" + name).c_str(), FALSE)) << "no stand-in";
            WriteBytes(folder + L"\\cacls.bat", "@echo planted> \"" + BatchText(folder + L"\\cacls.bat.ran") + "\"\r\n");
        }
        const std::wstring quenlix = TestProgramFolder() + L"\\..\\" + Widened(QUENLIX_EXE);
        ASSERT_TRUE(CopyFileW(quenlix.c_str(), (programFolder + L"\\Quenlix.exe").c_str(), FALSE));
    }

    // The plants that ran, by folder and name.
    std::vector<std::wstring> Ran() const {
        std::vector<std::wstring> ran;
        for (const std::wstring& folder : {programFolder, otherFolder})
            for (const wchar_t* name : Plants)
                if (GetFileAttributesW((folder + L"\\" + name + L".ran").c_str()) != INVALID_FILE_ATTRIBUTES)
                    ran.push_back((folder == programFolder ? L"program folder: " : L"other folder: ") +
                                  std::wstring(name));
        return ran;
    }

    static constexpr const wchar_t* Plants[] = {L"cacls.exe", L"cacls.com", L"cacls.bat"};
    testing::Win32TempFolder root;
    const std::wstring programFolder = root / L"下载 文件夹 & 100% ^_^";
    const std::wstring otherFolder = root / L"另一个 目录";
};

// Waits for a process to end; one still running after 30 s is ended, and
// the test fails.
void RunToEnd(HANDLE process) {
    if (WaitForSingleObject(process, 30000) != WAIT_OBJECT_0) {
        TerminateProcess(process, 99);
        ADD_FAILURE() << "a program still ran after 30 s";
    }
}

// The plants are live: cmd started the way the program started it before,
// in the plant's folder, runs each of them. Without this the test below
// could pass with plants that run nowhere.
TEST_F(Win32PlantedCaclsTest, EachPlantRunsWhenCmdIsStartedInItsFolder) {
    const std::wstring cmd = SystemFolder() + L"\\cmd.exe";
    for (const std::wstring& folder : {programFolder, otherFolder}) {
        for (const wchar_t* name : Plants) {
            std::wstring line = L"cmd /c " + std::wstring(name);
            STARTUPINFOW startup{};
            startup.cb = sizeof startup;
            PROCESS_INFORMATION process{};
            ASSERT_TRUE(CreateProcessW(cmd.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                                       folder.c_str(), &startup, &process));
            UniqueHandle thread(process.hThread);
            UniqueHandle running(process.hProcess);
            RunToEnd(running.Get());
        }
    }
    const std::vector<std::wstring> ran = Ran();
    std::string names;
    for (const std::wstring& plant : ran) names += std::string(plant.begin(), plant.end()) + "; ";
    EXPECT_EQ(ran.size(), 6u) << names;
}

// A copy of Quenlix.exe started by another program, with a current folder
// of that program's choosing, and driven through its windows.
class RunningProgram {
public:
    // With "windir" set to `windir`, as any program of the user can set it.
    RunningProgram(const std::wstring& program, const std::wstring& currentFolder, const std::wstring& windir) {
        std::wstring line = L"\"" + program + L"\"";
        std::wstring environment;
        for (const wchar_t* entry = GetEnvironmentStringsW(); *entry != L'\0'; entry += wcslen(entry) + 1)
            if (_wcsnicmp(entry, L"windir=", 7) != 0) environment.append(entry).push_back(L'\0');
        environment.append(L"windir=" + windir).push_back(L'\0');
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                            environment.data(), currentFolder.c_str(), &startup, &process))
            return;
        process_.Reset(process.hProcess);
        UniqueHandle thread(process.hThread);
        id_ = process.dwProcessId;
    }
    ~RunningProgram() {
        if (process_.Valid() && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) TerminateProcess(process_.Get(), 99);
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // Presses OK on the next message box and gives its text.
    std::wstring AnswerOk() {
        HWND box = WaitForWindow(L"#32770");
        if (box == nullptr) return L"<no message box within 30 s>";
        std::wstring text;
        for (HWND child = GetWindow(box, GW_CHILD); child && text.empty(); child = GetWindow(child, GW_HWNDNEXT))
            if (ClassOf(child) == L"static") text = TextOf(child);
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
        for (int i = 0; i < 200 && IsWindow(box); ++i) Sleep(50);
        return text;
    }

    void Click(const wchar_t* caption) {
        HWND form = WaitForWindow(L"QuenlixForm1");
        HWND button = FindWindowExW(form, nullptr, L"Button", caption);
        PostMessageW(form, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
    }

    // Waits for the programs it started: what they run, they run before
    // they end.
    void WaitForItsPrograms() const {
        UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
            UniqueHandle child(entry.th32ParentProcessID == id_ ? OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID)
                                                                 : nullptr);
            if (child.Valid()) RunToEnd(child.Get());
        }
    }

    bool Close() {
        PostMessageW(WaitForWindow(L"QuenlixForm1"), WM_CLOSE, 0, 0);
        return process_.Valid() && WaitForSingleObject(process_.Get(), 10000) == WAIT_OBJECT_0;
    }

private:
    static std::wstring ClassOf(HWND window) {
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        return Lower(name);
    }

    static std::wstring TextOf(HWND window) {
        wchar_t text[256] = {};
        SendMessageTimeoutW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
        return text;
    }

    // The program's first visible top-level window of this class.
    HWND WaitForWindow(const std::wstring& className) const {
        struct Search {
            DWORD id;
            std::wstring className;
            HWND found;
        } search{id_, Lower(className), nullptr};
        for (int i = 0; i < 300 && id_ != 0; ++i) {
            EnumWindows(
                [](HWND window, LPARAM data) -> BOOL {
                    auto* s = reinterpret_cast<Search*>(data);
                    DWORD owner = 0;
                    GetWindowThreadProcessId(window, &owner);
                    if (owner != s->id || !IsWindowVisible(window) || ClassOf(window) != s->className) return TRUE;
                    s->found = window;
                    return FALSE;
                },
                reinterpret_cast<LPARAM>(&search));
            if (search.found != nullptr) break;
            Sleep(100);
        }
        return search.found;
    }

    UniqueHandle process_;
    DWORD id_ = 0;
};

// Two values of "windir" that ran their echo when the grant went through
// cmd with the path from "windir": one breaks out of a path left unquoted,
// one out of quotes.
const std::wstring Injections[] = {L"C:\\w&echo.INJECTED1>C:\\inj1.txt&rem",
                                   L"C:\\a\" & echo INJECTED2>C:\\inj2.txt & \"b"};

bool NoInjectionRan() {
    return GetFileAttributesW(L"C:\\inj1.txt") == INVALID_FILE_ATTRIBUTES &&
           GetFileAttributesW(L"C:\\inj2.txt") == INVALID_FILE_ATTRIBUTES;
}

// Started from its own folder (as Explorer starts it) or from another, with
// "windir" set to run a command, the program runs no plant and no injected
// command, neither for Command13 nor when it creates a missing hosts file:
// it creates the system's own file, and both grants say the system's cacls
// succeeded.
TEST_F(Win32PlantedCaclsTest, NoPlantOrInjectedCommandRunsOnCommand13NorWhenAMissingHostsFileIsCreated) {
    testing::DesktopTurn turn;
    const testing::SystemHostsFile hosts;  // deleted below, put back at the end
    for (const auto& [current, windir] : {std::pair{programFolder, Injections[0]}, {otherFolder, Injections[1]}}) {
        SCOPED_TRACE(current == programFolder ? "started in its own folder" : "started in another folder");
        DeleteFileW(testing::SystemHostsFile::Path);
        RunningProgram quenlix(programFolder + L"\\Quenlix.exe", current, windir);
        EXPECT_EQ(quenlix.AnswerOk(), L"未发现Hosts文件，确定要创建Hosts文件吗？");
        EXPECT_EQ(quenlix.AnswerOk(), L"已生成Hosts文件,并获得访问权限");
        EXPECT_EQ(hosts.Read().size(), 836u);
        quenlix.Click(L"获取访问限权");
        EXPECT_EQ(quenlix.AnswerOk(), L"完成");
        quenlix.WaitForItsPrograms();
        EXPECT_TRUE(quenlix.Close());
    }
    EXPECT_EQ(Ran(), std::vector<std::wstring>{});
    EXPECT_TRUE(NoInjectionRan());
}

// The prefix's cacls.exe replaced by the system program stand-in for as long
// as this lives. Wine's programs in the system folder are placeholders that
// load its built-in copy whatever the file holds; its DllOverrides key makes
// it run the file. Every test that runs cacls holds SystemHostsFile, so the
// one that holds this must too.
class CaclsStandIn {
public:
    CaclsStandIn() {
        MoveFileExW(Cacls().c_str(), Saved().c_str(), MOVEFILE_REPLACE_EXISTING);
        const std::wstring standIn = TestProgramFolder() + L"\\" + Widened(QUENLIX_SYSTEM_PROGRAM_STAND_IN);
        CopyFileW(standIn.c_str(), Cacls().c_str(), FALSE);
        RegSetKeyValueW(HKEY_CURRENT_USER, Overrides, L"cacls.exe", REG_SZ, L"native", sizeof L"native");
    }
    ~CaclsStandIn() {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, Overrides, L"cacls.exe");
        DeleteFileW((Cacls() + L".args").c_str());
        MoveFileExW(Saved().c_str(), Cacls().c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    CaclsStandIn(const CaclsStandIn&) = delete;
    CaclsStandIn& operator=(const CaclsStandIn&) = delete;

    static std::wstring Cacls() { return SystemFolder() + L"\\cacls.exe"; }

private:
    static constexpr wchar_t Overrides[] = L"Software\\Wine\\DllOverrides";
    static std::wstring Saved() { return Cacls() + L".quenlix-saved"; }
};

// A cacls that fails: neither grant says it succeeded, each gives cacls'
// exit code, and the file is created and shown all the same. cacls got the
// hosts path and the group's name as one argument each.
TEST_F(Win32PlantedCaclsTest, AFailingCaclsIsReportedWithItsExitCodeByBothGrants) {
    testing::DesktopTurn turn;
    const testing::SystemHostsFile hosts;
    const CaclsStandIn cacls;
    DeleteFileW(testing::SystemHostsFile::Path);
    RunningProgram quenlix(programFolder + L"\\Quenlix.exe", programFolder, Injections[1]);
    EXPECT_EQ(quenlix.AnswerOk(), L"未发现Hosts文件，确定要创建Hosts文件吗？");
    EXPECT_EQ(quenlix.AnswerOk(), L"已生成Hosts文件，但未能更改它的访问权限（cacls 退出代码 5）。");
    EXPECT_EQ(hosts.Read().size(), 836u);
    const std::vector<std::wstring> expected{Lower(CaclsStandIn::Cacls()), Lower(testing::SystemHostsFile::Path),
                                             L"/e", L"/t", L"/p", L"everyone:f"};
    EXPECT_EQ(RecordedArguments(CaclsStandIn::Cacls()), expected);
    DeleteFileW((CaclsStandIn::Cacls() + L".args").c_str());
    quenlix.Click(L"获取访问限权");
    EXPECT_EQ(quenlix.AnswerOk(), L"未能更改 Hosts 文件的访问权限（cacls 退出代码 5）。");
    EXPECT_EQ(RecordedArguments(CaclsStandIn::Cacls()), expected);
    EXPECT_TRUE(quenlix.Close());
    EXPECT_TRUE(NoInjectionRan());
}

}  // namespace
}  // namespace quenlix
