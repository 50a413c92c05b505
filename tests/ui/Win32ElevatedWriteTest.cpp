#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "commands/ElevatedWrite.h"
#include "hosts/CutOffWrite.h"
#include "hosts/HostsHistory.h"
#include "hosts/HostsPaths.h"
#include "hosts/WriteJournal.h"
#include "platform/QuoteArgument.h"
#include "platform/Win32Handle.h"
#include "platform/Win32Platform.h"
#include "support/Win32DesktopTurn.h"
#include "support/Win32ProgramWindow.h"
#include "support/Win32SystemHosts.h"
#include "support/Win32TempFolder.h"

// Quenlix.exe as a user without administrator rights runs it, and as the
// second instance that makes a refused write with them. Under Wine a program
// started with a restricted token (the Administrators group for denial only)
// runs without rights, and "runas" starts the second instance with the
// caller's token and hands back its exit code. Wine's processes run as root
// here, whom no Unix permission refuses; the hosts file refuses every write
// while it is immutable (chattr +i), and the test lifts that when it lets the
// second instance write.
namespace quenlix {
namespace {

using testing::TestProgramFolder;

using testing::ReadBytes;
using testing::SystemHostsFile;
using testing::WriteBytes;

std::wstring ExePath() {
    wchar_t folder[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, folder);
    const std::string name = QUENLIX_EXE;
    return std::wstring(folder) + L"\\" + std::wstring(name.begin(), name.end());
}

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

// Whether this process may open the file for writing right now.
bool Writable(const wchar_t* path) {
    const UniqueHandle file(
        CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    return file.Valid();
}

// The system hosts file made immutable for the Unix file system, so that it
// refuses every write, root's included, as access denied; writable again when
// this goes.
class RefusingHostsFile {
public:
    RefusingHostsFile() {
        using UnixNameFunction = char*(CDECL*)(LPCWSTR);
        const auto unixName = reinterpret_cast<UnixNameFunction>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
        if (unixName == nullptr) return;
        char* name = unixName(SystemHostsFile::Path);
        if (name == nullptr) return;
        unixPath_.assign(name, name + strlen(name));
        HeapFree(GetProcessHeap(), 0, name);
        Refuse(true);
    }
    ~RefusingHostsFile() { Refuse(false); }
    RefusingHostsFile(const RefusingHostsFile&) = delete;
    RefusingHostsFile& operator=(const RefusingHostsFile&) = delete;

    // Makes the file refuse writes, or take them again; true once it does.
    bool Refuse(bool refuse) {
        if (unixPath_.empty()) return false;
        // Wine starts a Unix program as it starts a Windows one; its exit
        // code does not come back, so the effect is waited for.
        std::wstring line = std::wstring(L"/usr/bin/chattr ") + (refuse ? L"+i" : L"-i") + L" \"" + unixPath_ + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            return false;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        for (int i = 0; i < 100; ++i) {
            if (Writable(SystemHostsFile::Path) != refuse) return true;
            Sleep(50);
        }
        return false;
    }

private:
    std::wstring unixPath_;
};

std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &ignored);
    return text;
}

// Quenlix.exe started by this test, as a user without administrator rights
// or as the second instance, and driven through its windows.
class RunningQuenlix {
public:
    // With a token that holds the Administrators group for denial only, as a
    // standard user's (or an administrator's before elevation) does.
    static RunningQuenlix WithoutRights(const std::wstring& arguments = {}) {
        RunningQuenlix quenlix;
        HANDLE own = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &own)) return quenlix;
        const UniqueHandle token(own);
        SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
        PSID administrators = nullptr;
        AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0,
                                 0, &administrators);
        SID_AND_ATTRIBUTES denyOnly{administrators, 0};
        HANDLE made = nullptr;
        const BOOL restricted = CreateRestrictedToken(token.Get(), 0, 1, &denyOnly, 0, nullptr, 0, nullptr, &made);
        FreeSid(administrators);
        if (!restricted) return quenlix;
        const UniqueHandle restrictedToken(made);
        std::wstring line = QuoteWide(ExePath()) + (arguments.empty() ? L"" : L" " + arguments);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (CreateProcessAsUserW(restrictedToken.Get(), ExePath().c_str(), line.data(), nullptr, nullptr, FALSE, 0,
                                 nullptr, nullptr, &startup, &process))
            quenlix.Took(process);
        return quenlix;
    }

    // With these arguments after its name, as the first instance starts the
    // second.
    static RunningQuenlix WithArguments(const std::wstring& arguments) {
        RunningQuenlix quenlix;
        std::wstring line = QuoteWide(ExePath()) + L" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (CreateProcessW(ExePath().c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &process))
            quenlix.Took(process);
        return quenlix;
    }

    RunningQuenlix(RunningQuenlix&&) = default;
    ~RunningQuenlix() {
        if (process_.Valid() && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) TerminateProcess(process_.Get(), 99);
    }

    bool Started() const { return process_.Valid(); }

    // The exit code once it has ended, within 30 s.
    std::optional<DWORD> ExitCode() const {
        if (WaitForSingleObject(process_.Get(), 30000) != WAIT_OBJECT_0) return std::nullopt;
        DWORD code = 0;
        GetExitCodeProcess(process_.Get(), &code);
        return code;
    }

    // Its visible top-level window of this class, within `waitMs`.
    HWND Window(const wchar_t* className, int waitMs = 30000) const {
        for (int waited = 0;; waited += 100) {
            HWND found = testing::VisibleWindowOf(id_, className);
            if (found != nullptr || waited >= waitMs) return found;
            Sleep(100);
        }
    }

    HWND Form() const { return Window(L"QuenlixForm1"); }
    HWND Control(const wchar_t* className, const wchar_t* caption = nullptr) const {
        return FindWindowExW(Form(), nullptr, className, caption);
    }

    // The single-line text boxes, top to bottom.
    std::vector<HWND> SingleLineBoxes() const {
        std::vector<HWND> boxes;
        for (HWND child = FindWindowExW(Form(), nullptr, L"Edit", nullptr); child != nullptr;
             child = FindWindowExW(Form(), child, L"Edit", nullptr))
            if ((GetWindowLongW(child, GWL_STYLE) & ES_MULTILINE) == 0) boxes.push_back(child);
        std::sort(boxes.begin(), boxes.end(), [](HWND a, HWND b) {
            RECT ra, rb;
            GetWindowRect(a, &ra);
            GetWindowRect(b, &rb);
            return ra.top < rb.top;
        });
        return boxes;
    }

    void Click(const wchar_t* caption) const {
        HWND button = Control(L"Button", caption);
        PostMessageW(Form(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
    }

    // The next message box: its text, and then the button pressed.
    std::wstring Answer(int button, int waitMs = 30000) const {
        HWND box = Window(L"#32770", waitMs);
        if (box == nullptr) return L"<no message box>";
        std::wstring text;
        for (HWND child = GetWindow(box, GW_CHILD); child != nullptr && text.empty(); child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t name[16] = {};
            GetClassNameW(child, name, 16);
            if (_wcsicmp(name, L"Static") == 0) text = TextOf(child);
        }
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        for (int i = 0; i < 100 && IsWindow(box); ++i) Sleep(50);
        return text;
    }

private:
    RunningQuenlix() = default;
    static std::wstring QuoteWide(const std::wstring& text) {
        return Wide(QuoteArgument(std::u16string(text.begin(), text.end())));
    }
    void Took(const PROCESS_INFORMATION& process) {
        process_.Reset(process.hProcess);
        CloseHandle(process.hThread);
        id_ = process.dwProcessId;
    }

    UniqueHandle process_;
    DWORD id_ = 0;
};

constexpr wchar_t Question[] = L"没有写入 Hosts 文件的权限。\n\n是否以管理员身份完成这次修改？（Windows 将请求确认）";

// Waits, up to 30 s, for the hosts file to hold `bytes`.
bool HostsBecomes(const SystemHostsFile& hosts, const std::string& bytes) {
    for (int i = 0; i < 300; ++i) {
        if (hosts.Read() == bytes) return true;
        Sleep(100);
    }
    return false;
}

struct Win32ElevatedWriteTest : ::testing::Test {
    static constexpr char Initial[] = "127.0.0.1 localhost\r\n";

    Win32ElevatedWriteTest() { hosts.Write(Initial); }

    testing::DesktopTurn turn;
    const SystemHostsFile hosts;  // put back after the file takes writes again
};

// A user without rights saves, appends and resets: the file refuses, the
// program asks. No writes nothing, keeps the text and says no more; Yes
// (the test lets the file take writes, as the elevated instance may) has the
// second instance write it, and the window goes on as after its own write.
TEST_F(Win32ElevatedWriteTest, ARefusedSaveAppendAndResetAreAskedAboutAndMadeBySecondInstance) {
    RefusingHostsFile refusing;
    ASSERT_FALSE(Writable(SystemHostsFile::Path))
        << "the hosts file still takes writes: chattr +i needs an ext4, xfs or btrfs file system and "
           "CAP_LINUX_IMMUTABLE";
    RunningQuenlix quenlix = RunningQuenlix::WithoutRights();
    ASSERT_TRUE(quenlix.Started());
    HWND form = quenlix.Form();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(TextOf(form), L"Hosts (未获得管理员权限)");
    HWND text1 = quenlix.Control(L"Edit");
    ASSERT_NE(text1, nullptr);

    const std::vector<HWND> singleLines = quenlix.SingleLineBoxes();  // the address above the host name
    ASSERT_EQ(singleLines.size(), 2u);
    SendMessageW(text1, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"0.0.0.0 saved.example\r\n"));
    SendMessageW(text1, EM_SETMODIFY, TRUE, 0);
    SendMessageW(singleLines[0], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"1.2.3.4"));
    SendMessageW(singleLines[1], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"appended.example"));
    const std::string saved = "0.0.0.0 saved.example\r\n";
    const std::string appended = saved + "1.2.3.4 appended.example\r\n";
    const struct {
        const char* name;
        const wchar_t* button;
        bool confirmsFirst;  // the reset asks its own question before it writes
        std::string before, after;
    } writes[] = {{"save", L"保存到 Hosts", false, Initial, saved},
                  {"append", L"追加Text2+Text3", false, saved, appended},
                  {"reset", L"还原默认 Hosts", true, appended, {}}};
    for (const auto& write : writes) {
        SCOPED_TRACE(write.name);
        for (const int answer : {IDNO, IDYES}) {
            ASSERT_TRUE(refusing.Refuse(true));
            quenlix.Click(write.button);
            if (write.confirmsFirst) {
                EXPECT_EQ(quenlix.Answer(IDOK), L"确定将恢复Hosts文件到系统默认状态！");
            }
            ASSERT_NE(quenlix.Window(L"#32770"), nullptr);
            if (answer == IDYES) {
                ASSERT_TRUE(refusing.Refuse(false));  // the elevated instance may write
            }
            EXPECT_EQ(quenlix.Answer(answer), Question);
            if (answer == IDNO) {
                EXPECT_EQ(quenlix.Window(L"#32770", 1500), nullptr) << "No says no more";
                EXPECT_EQ(hosts.Read(), write.before);
                if (write.before == Initial) {
                    EXPECT_NE(SendMessageW(text1, EM_GETMODIFY, 0, 0), 0) << "the text is still unsaved";
                }
                continue;
            }
            if (!write.after.empty()) {
                EXPECT_TRUE(HostsBecomes(hosts, write.after)) << hosts.Read();
            } else {
                for (int i = 0; i < 300 && hosts.Read().size() != 836u; ++i) Sleep(100);
                EXPECT_EQ(hosts.Read().size(), 836u) << "the stock content";
            }
            EXPECT_EQ(quenlix.Window(L"#32770", 1500), nullptr) << "nothing more once it went through";
            EXPECT_TRUE(IsWindowEnabled(form));
        }
    }
    EXPECT_EQ(TextOf(text1), L"0.0.0.0 saved.example\r\n");
    EXPECT_EQ(SendMessageW(text1, EM_GETMODIFY, 0, 0), 0) << "saved through the second instance";

    // Saved, nothing is asked on closing.
    PostMessageW(form, WM_CLOSE, 0, 0);
    EXPECT_EQ(quenlix.ExitCode(), DWORD(0));
}

// Another program changes the file while the user answers the questions:
// the first instance bases the save on the file as it reads it after the
// question about rights (and asks, as any save does, before it overwrites a
// change made since the load); the second instance then finds other bytes
// there and writes nothing, and the user is told.
TEST_F(Win32ElevatedWriteTest, AFileChangedBetweenTheQuestionAndTheWriteIsLeftAlone) {
    RefusingHostsFile refusing;
    ASSERT_FALSE(Writable(SystemHostsFile::Path)) << "the hosts file still takes writes (chattr +i)";
    RunningQuenlix quenlix = RunningQuenlix::WithoutRights();
    ASSERT_TRUE(quenlix.Started());
    HWND text1 = quenlix.Control(L"Edit");
    ASSERT_NE(text1, nullptr);
    SendMessageW(text1, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"0.0.0.0 mine.example\r\n"));
    SendMessageW(text1, EM_SETMODIFY, TRUE, 0);
    quenlix.Click(L"保存到 Hosts");
    ASSERT_NE(quenlix.Window(L"#32770"), nullptr);
    ASSERT_TRUE(refusing.Refuse(false));
    hosts.Write("10.0.0.1 written.while.asking\r\n");
    EXPECT_EQ(quenlix.Answer(IDYES), Question);
    ASSERT_NE(quenlix.Window(L"#32770"), nullptr) << "the save asks about the change since the load";
    hosts.Write("10.0.0.2 written.again\r\n");
    EXPECT_EQ(quenlix.Answer(IDYES).rfind(L"Hosts 文件在上次读取后已被修改", 0), 0u);
    EXPECT_EQ(quenlix.Answer(IDOK), L"Hosts 文件在这期间被其他程序改动，这次修改没有写入，Hosts 文件保持原样。");
    EXPECT_EQ(hosts.Read(), "10.0.0.2 written.again\r\n");
    EXPECT_NE(SendMessageW(text1, EM_GETMODIFY, 0, 0), 0) << "the text is still unsaved";
}

// The second instance on its own: it writes the staged content over the
// bytes it is told to expect, and nothing for any other command line, an
// altered staged file or a changed hosts file. It never shows a window: each
// run ends by itself.
TEST_F(Win32ElevatedWriteTest, TheSecondInstanceWritesOnlyWhatItsOneStrictCommandLineNames) {
    testing::Win32TempFolder folder;
    const std::string content = "127.0.0.1 localhost\r\n0.0.0.0 staged.example\r\n";
    const std::wstring staged = folder / L"staged 暂存.hosts";
    WriteBytes(staged, content);
    Win32Platform platform;
    const std::wstring stagedDigest = Wide(HexDigits(platform.Sha256(content)));
    const std::wstring expectedDigest = Wide(HexDigits(platform.Sha256(Initial)));
    const std::wstring quoted = Wide(QuoteArgument(std::u16string(staged.begin(), staged.end())));
    const std::wstring good = L"/write-staged-hosts " + quoted + L" " + stagedDigest + L" " + expectedDigest;

    // (The fast tests go through every way a line can be wrong.)
    // A pipe or a share in place of the staged file is never opened: the
    // pipe's server, listening here, sees no client.
    const UniqueHandle pipe(CreateNamedPipeW(L"\\\\.\\pipe\\quenlix-staged-test", PIPE_ACCESS_DUPLEX,
                                             PIPE_TYPE_BYTE | PIPE_NOWAIT, 1, 0, 0, 0, nullptr));
    ASSERT_TRUE(pipe.Valid());
    const std::wstring digests = L" " + stagedDigest + L" " + expectedDigest;
    const std::wstring wrong[] = {good + L" extra", L"/write-staged-hosts " + quoted + L" " + stagedDigest,
                                  L"/write-staged-hosts \\\\.\\pipe\\quenlix-staged-test" + digests,
                                  L"/write-staged-hosts \\\\localhost\\C$\\staged.hosts" + digests,
                                  L"/write-staged-hosts \\\\?\\UNC\\localhost\\C$\\staged.hosts" + digests};
    for (const std::wstring& arguments : wrong) {
        EXPECT_EQ(RunningQuenlix::WithArguments(arguments).ExitCode(), DWORD(ERROR_INVALID_PARAMETER))
            << std::string(arguments.begin(), arguments.end());
        EXPECT_EQ(hosts.Read(), Initial);
    }
    EXPECT_FALSE(ConnectNamedPipe(pipe.Get(), nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PIPE_LISTENING)) << "a client connected to the pipe";

    WriteBytes(staged, content + "# altered after staging\r\n");
    EXPECT_EQ(RunningQuenlix::WithArguments(good).ExitCode(), DWORD(ERROR_INVALID_DATA));
    EXPECT_EQ(hosts.Read(), Initial);

    WriteBytes(staged, content);
    hosts.Write("10.0.0.1 changed\r\n");
    EXPECT_EQ(RunningQuenlix::WithArguments(good).ExitCode(), DWORD(StagedWriteExit::FileChanged));
    EXPECT_EQ(hosts.Read(), "10.0.0.1 changed\r\n");

    hosts.Write(Initial);
    EXPECT_EQ(RunningQuenlix::WithArguments(good).ExitCode(), DWORD(0));
    EXPECT_EQ(hosts.Read(), content);
}

// A script's change refused for want of rights, without /elevate: exit code
// 5, nothing written, no window and no question.
TEST_F(Win32ElevatedWriteTest, AScriptsRefusedChangeExitsWithFiveAndWritesNothing) {
    RefusingHostsFile refusing;
    ASSERT_FALSE(Writable(SystemHostsFile::Path)) << "the hosts file still takes writes (chattr +i)";
    RunningQuenlix quenlix = RunningQuenlix::WithoutRights(L"/add 1.2.3.4 refused.example");
    ASSERT_TRUE(quenlix.Started());
    EXPECT_EQ(quenlix.ExitCode(), DWORD(5));
    EXPECT_EQ(hosts.Read(), Initial);
}

// A journal and its history copy, as a write leaves them before its first
// byte; the copy is removed when this goes.
class PlantedJournal {
public:
    PlantedJournal(const std::string& before, const std::string& after) {
        Win32Platform platform;
        copy_ = Wide(HistoryFolder(platform)) + L"\\hosts_2001-02-03_04-05-06.txt";
        journal_ = Wide(WriteJournalPath(platform));
        CreateDirectoryW(Wide(platform.LocalAppDataDirectory() + u"\\Quenlix").c_str(), nullptr);
        CreateDirectoryW(Wide(HistoryFolder(platform)).c_str(), nullptr);
        WriteBytes(copy_, before);
        WriteBytes(journal_, WriteJournalText({u"hosts_2001-02-03_04-05-06.txt", SnapshotBuilder::Of(before),
                                               SnapshotBuilder::Of(after), PieceHashes(after, {})}));
    }
    ~PlantedJournal() {
        DeleteFileW(copy_.c_str());
        DeleteFileW(journal_.c_str());
    }
    PlantedJournal(const PlantedJournal&) = delete;
    PlantedJournal& operator=(const PlantedJournal&) = delete;

    const std::wstring& Path() const { return journal_; }

private:
    std::wstring copy_;
    std::wstring journal_;
};

// Quenlix.exe started with no arguments: the window comes with no question
// before it, and closes.
void StartsWithoutAQuestion(const SystemHostsFile& hosts, const std::string& bytes) {
    RunningQuenlix quenlix = RunningQuenlix::WithArguments(L"");
    ASSERT_TRUE(quenlix.Started());
    HWND form = quenlix.Form();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(quenlix.Window(L"#32770", 1000), nullptr) << "a question at the start";
    EXPECT_EQ(hosts.Read(), bytes);
    PostMessageW(form, WM_CLOSE, 0, 0);
    EXPECT_EQ(quenlix.ExitCode(), DWORD(0));
}

// A write cut off in the middle left a torn file and its journal: the next
// start asks before the window shows, naming the copy, and Yes puts the
// bytes from before the write back.
TEST_F(Win32ElevatedWriteTest, AJournalBesideATornFileIsOfferedBackAtTheStart) {
    const std::string newBytes = std::string(Initial) + "0.0.0.0 cut.off.example\r\n";
    const std::string torn = std::string(Initial) + "0.0.0.0 cut.o" + std::string(12, '\0');
    const PlantedJournal journal(Initial, newBytes);
    hosts.Write(torn);

    RunningQuenlix quenlix = RunningQuenlix::WithArguments(L"");
    ASSERT_TRUE(quenlix.Started());
    EXPECT_EQ(quenlix.Answer(IDYES), L"上次修改 Hosts 文件时程序意外中止，文件可能不完整。\n\n"
                                     L"修改前的内容保存在 2001-02-03 04:05:06 的历史副本中，共 21 字节。"
                                     L"是否恢复为修改前的内容？");
    HWND form = quenlix.Form();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(hosts.Read(), Initial);
    EXPECT_EQ(TextOf(quenlix.Control(L"Edit")), L"127.0.0.1 localhost\r\n") << "then the load goes on";
    EXPECT_EQ(ReadBytes(journal.Path()), "<missing>");
    PostMessageW(form, WM_CLOSE, 0, 0);
    EXPECT_EQ(quenlix.ExitCode(), DWORD(0));
}

// A journal with a copy planted to be "restored" (or a real one followed by
// another program's change) beside a file that no cut-off write of it
// leaves: removed without a word.
TEST_F(Win32ElevatedWriteTest, APlantedJournalBesideAnUntornFileIsRemovedWithoutAQuestion) {
    const PlantedJournal journal("6.6.6.6 www.bank.example\r\n", std::string(Initial) + "0.0.0.0 new.example\r\n");
    StartsWithoutAQuestion(hosts, Initial);
    EXPECT_EQ(ReadBytes(journal.Path()), "<missing>");
}

// A second start while another instance's write is in progress (its journal
// held open, as through the whole wait for the elevated instance) leaves
// that journal alone, and asks nothing.
TEST_F(Win32ElevatedWriteTest, ASecondStartDuringAPendingWriteKeepsItsJournal) {
    const std::string newBytes = std::string(Initial) + "0.0.0.0 pending.example\r\n";
    const PlantedJournal journal(Initial, newBytes);
    const std::string text = ReadBytes(journal.Path());
    const UniqueHandle held(CreateFileW(journal.Path().c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held.Valid());
    hosts.Write(std::string(Initial) + "0.0.0.0 pend" + std::string(13, '\0'));  // as the write goes on
    StartsWithoutAQuestion(hosts, std::string(Initial) + "0.0.0.0 pend" + std::string(13, '\0'));
    EXPECT_EQ(ReadBytes(journal.Path()), text);
}

// Runs `line` in `folder`, as Explorer starts a program in its own folder,
// closing its window if it shows one; its exit code.
std::optional<DWORD> RunClosingItsWindow(std::wstring line, const std::wstring& folder) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &process))
        return std::nullopt;
    const UniqueHandle handle(process.hProcess);
    CloseHandle(process.hThread);
    for (int i = 0; i < 300 && WaitForSingleObject(handle.Get(), 100) == WAIT_TIMEOUT; ++i)
        if (HWND form = testing::VisibleWindowOf(process.dwProcessId, L"QuenlixForm1")) PostMessageW(form, WM_CLOSE, 0, 0);
    DWORD code = 0;
    return GetExitCodeProcess(handle.Get(), &code) && code != STILL_ACTIVE ? std::optional<DWORD>(code) : std::nullopt;
}

// Wine prefers its own copy of a library to one beside the program unless
// told otherwise for the program: for as long as this lives, Quenlix.exe
// takes these libraries from a file first ("native,builtin"), as Windows
// would take a planted one. (WINEDLLOVERRIDES in the environment of a
// program started from here does not reach Wine's loader.)
struct PreferredLibraryFiles {
    explicit PreferredLibraryFiles(const std::vector<std::wstring>& libraries) {
        for (const std::wstring& library : libraries)
            RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\Quenlix.exe\\DllOverrides", library.c_str(),
                            REG_SZ, L"native,builtin", sizeof L"native,builtin");
    }
    ~PreferredLibraryFiles() { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\Quenlix.exe"); }
};

// Libraries planted beside a downloaded Quenlix.exe under the names of those
// it, or the common controls on its behalf, load by name and that the
// system does not keep as known DLLs never load: not at a start with the
// window, not in the second instance. (Under Wine its own libraries load
// version.dll from beside the program before the program's first line, which
// no program can change and Windows does not do: it is not planted.)
TEST_F(Win32ElevatedWriteTest, LibrariesPlantedBesideTheProgramNeverLoad) {
    testing::Win32TempFolder downloads;
    const std::wstring exe = downloads / L"Quenlix.exe";
    ASSERT_TRUE(CopyFileW(ExePath().c_str(), exe.c_str(), FALSE));
    const std::string standInName = QUENLIX_PLANTED_LIBRARY_STAND_IN;
    const std::wstring standIn = TestProgramFolder() + L"\\" + std::wstring(standInName.begin(), standInName.end());
    const std::vector<std::wstring> libraries = {L"comctl32", L"uxtheme", L"bcrypt", L"dnsapi", L"dwmapi"};
    for (const std::wstring& library : libraries)
        ASSERT_TRUE(CopyFileW(standIn.c_str(), (downloads / (library + L".dll")).c_str(), FALSE));
    const PreferredLibraryFiles preferred(libraries);

    // The stand-in marks a load.
    ASSERT_TRUE(CopyFileW(standIn.c_str(), (downloads / L"marks.dll").c_str(), FALSE));
    const HMODULE loaded = LoadLibraryW((downloads / L"marks.dll").c_str());
    ASSERT_NE(loaded, nullptr);
    FreeLibrary(loaded);
    ASSERT_NE(ReadBytes(downloads / L"marks.dll.loaded"), "<missing>") << "the stand-in marks nothing";

    EXPECT_EQ(RunClosingItsWindow(L"\"" + exe + L"\"", downloads.Path()), DWORD(0));
    Win32Platform platform;
    const std::string content = std::string(Initial) + "0.0.0.0 handed.over.example\r\n";
    const std::wstring staged = downloads / L"staged.hosts";
    WriteBytes(staged, content);
    const std::wstring handOff = L"\"" + exe + L"\" /write-staged-hosts \"" + staged + L"\" " +
                                 Wide(HexDigits(platform.Sha256(content))) + L" " +
                                 Wide(HexDigits(platform.Sha256(Initial)));
    EXPECT_EQ(RunClosingItsWindow(handOff, downloads.Path()), DWORD(0));
    EXPECT_EQ(hosts.Read(), content);
    for (const std::wstring& library : libraries)
        EXPECT_EQ(ReadBytes(downloads / (library + L".dll.loaded")), "<missing>")
            << std::string(library.begin(), library.end()) << ".dll planted beside the program was loaded";
}

}  // namespace
}  // namespace quenlix
