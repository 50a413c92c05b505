#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <string>

#include "hosts/HostsHistory.h"
#include "hosts/HostsPaths.h"
#include "hosts/WriteJournal.h"
#include "platform/Win32Handle.h"
#include "support/Win32SystemHosts.h"
#include "ui/Win32FormTestSupport.h"
#include "ui/resources/ResourceIds.h"

// The commands on the real window, through its buttons, against real files.
namespace quenlix::testing {
namespace {

std::string Utf16Le(std::u16string_view text) {
    std::string bytes;
    for (const char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

struct Win32CommandsTest : Win32FormTest {
    void SetText(std::string_view box, std::wstring_view text) {
        SendMessageW(Child(box), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(std::wstring(text).c_str()));
    }
    std::wstring TextOf(std::string_view box) { return WindowTextOf(Child(box)); }

    std::string Hosts() { return ReadBytes(windows.HostsPath()); }
    void WriteHosts(const std::string& bytes) { WriteBytes(windows.HostsPath(), bytes); }

    // The prefix's own hosts file, which a test Windows folder elsewhere leaves alone.
    SystemHostsFile systemHosts;

    // A key pressed on the focused control with Ctrl or Shift (or neither, 0) held.
    void PressKeys(WPARAM key, WPARAM modifier, UINT message = WM_KEYDOWN) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[modifier] = modifier != 0 ? 0x80 : 0;
        SetKeyboardState(keys);
        PostMessageW(GetFocus(), message, key, 1);
        Pump();
        keys[modifier] = 0;
        SetKeyboardState(keys);
    }

    // Runs `open`, which opens a menu or a dialog with a message loop of its
    // own, while a timer runs `steps` in that loop, each until it is done.
    void WhileModal(const std::function<void()>& open, std::deque<std::function<bool()>> steps) {
        modalSteps = &steps;
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
            if (!modalSteps->empty() && modalSteps->front()()) modalSteps->pop_front();
        });
        open();
        Pump();
        KillTimer(nullptr, timer);
        EXPECT_TRUE(steps.empty()) << "the menu or dialog did not come";
    }
    static inline std::deque<std::function<bool()>>* modalSteps = nullptr;

    // A step that reads the menu that is open into `seen` ("-" greyed, "*"
    // checked, submenus in brackets) and then posts `keys` to it.
    static std::function<bool()> InMenu(std::wstring* seen, std::vector<std::pair<UINT, WPARAM>> keys) {
        return [=] {
            HWND menu = FindWindowW(L"#32768", nullptr);
            if (menu == nullptr || !IsWindowVisible(menu)) return false;
            if (seen) *seen = MenuItems(reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0)));
            for (const auto& [message, key] : keys) PostMessageW(menu, message, key, 0);
            return true;
        };
    }
    static std::wstring MenuItems(HMENU menu) {
        std::wstring out;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            wchar_t text[128] = {};
            GetMenuStringW(menu, i, text, 128, MF_BYPOSITION);
            const UINT state = GetMenuState(menu, i, MF_BYPOSITION);
            out += (state & MF_SEPARATOR) ? L"---" : std::wstring(state & MF_GRAYED ? L"-" : L"") +
                                                        (state & MF_CHECKED ? L"*" : L"") + text;
            if (HMENU submenu = GetSubMenu(menu, i)) out += L" [" + MenuItems(submenu) + L"]";
            out += L"; ";
        }
        return out;
    }
    // A step that puts `name` into the new-group dialog and presses `button`
    // there; the note beside the box goes into `note`.
    static std::function<bool()> InGroupDialog(std::wstring name, int button, std::wstring* note) {
        return [=] {
            HWND dialog = FindWindowW(L"#32770", L"新建分组");
            if (dialog == nullptr) return false;
            SetDlgItemTextW(dialog, IDC_GROUP_NAME, name.c_str());
            if (button == IDCANCEL) PostMessageW(GetDlgItem(dialog, IDC_GROUP_NAME), WM_KEYDOWN, VK_ESCAPE, 1);
            if (button == IDOK) SendMessageW(dialog, WM_COMMAND, IDOK, 0);
            *note = WindowTextOf(GetDlgItem(dialog, IDC_GROUP_NAME_NOTE));
            return true;
        };
    }
};

TEST_F(Win32CommandsTest, SaveWritesText1InCodePage936WithALineBreakAtTheEnd) {
    const std::string other = systemHosts.Read();
    SetText("Text1", L"0.0.0.0 ads.example # 广告\r\n127.0.0.1 localhost");
    Click("Command3");
    EXPECT_EQ(Hosts(), "0.0.0.0 ads.example # \xB9\xE3\xB8\xE6\r\n127.0.0.1 localhost\r\n");
    SetText("Text1", L"0.0.0.0 ads.example\r\n");
    Click("Command3");
    EXPECT_EQ(Hosts(), "0.0.0.0 ads.example\r\n");
    EXPECT_EQ(systemHosts.Read(), other) << "the save wrote below the test Windows folder only";
    EXPECT_TRUE(platform.reported.empty());
    EXPECT_TRUE(platform.messages.empty());
}

// A character code page 936 cannot hold is never written as a look-alike or a
// silent "?": the save says how many and offers UTF-8.
TEST_F(Win32CommandsTest, ASaveAsksBeforeCodePage936LosesACharacter) {
    SetText("Text1", L"0.0.0.0 \u0E01\u0E02.example # 广告\r\n");
    platform.answers = {Answer::No};
    Click("Command3");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].prompt,
              u"有 2 个字符无法用 ANSI 编码（代码页 936）保存，将被写成“?”。\n\n是否改用 UTF-8 编码保存？");
    EXPECT_EQ(Hosts(), "0.0.0.0 ??.example # \xB9\xE3\xB8\xE6\r\n");
    platform.answers = {Answer::Yes};
    Click("Command3");
    EXPECT_EQ(Hosts(), "0.0.0.0 \xE0\xB8\x81\xE0\xB8\x82.example # \xE5\xB9\xBF\xE5\x91\x8A\r\n");
    EXPECT_TRUE(platform.reported.empty());
}

// Windows' own Notepad saves UTF-8, other tools UTF-16: the file shows its
// Chinese text, and a save and an append keep its encoding.
TEST_F(Win32CommandsTest, UnicodeFilesShowTheirTextAndKeepTheirEncoding) {
    const struct {
        const char* name;
        std::string file;     // "# 广告" and "0.0.0.0 a", each ending in CR LF
        std::string entry;    // "1.1.1.1 b" and CR LF
    } cases[] = {
        {"UTF-8", "# \xE5\xB9\xBF\xE5\x91\x8A\r\n0.0.0.0 a\r\n", "1.1.1.1 b\r\n"},
        {"UTF-8 with a mark", "\xEF\xBB\xBF# \xE5\xB9\xBF\xE5\x91\x8A\r\n0.0.0.0 a\r\n", "1.1.1.1 b\r\n"},
        {"UTF-16", Utf16Le(u"\uFEFF# 广告\r\n0.0.0.0 a\r\n"), Utf16Le(u"1.1.1.1 b\r\n")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteHosts(c.file);
        Click("Command4");
        EXPECT_EQ(TextOf("Text1"), L"# 广告\r\n0.0.0.0 a\r\n");
        Click("Command3");
        EXPECT_EQ(Hosts(), c.file) << "a load and a save with no edit give back the bytes read";
        SetText("Text2", L"1.1.1.1");
        SetText("Text3", L"b");
        Click("Command2");
        EXPECT_EQ(Hosts(), c.file + c.entry);
    }
    EXPECT_TRUE(platform.reported.empty());
    EXPECT_TRUE(platform.messages.empty());
}

// What reached the file since the load, by the program's own append or by
// another program, is not overwritten without a question.
TEST_F(Win32CommandsTest, ASaveAsksWhenTheFileChangedSinceTheLoad) {
    SetText("Text1", L"edited\r\n");
    SetText("Text2", L"9.9.9.9");
    SetText("Text3", L"appended");
    Click("Command2");
    const std::string appended = Hosts();
    platform.answers = {Answer::No};
    Click("Command3");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].style, Mb::YesNo | Mb::IconWarning | Mb::DefaultButton2);
    EXPECT_EQ(Hosts(), appended);
    EXPECT_EQ(TextOf("Text1"), L"edited\r\n");

    WriteHosts("by another program\r\n");
    platform.answers = {Answer::Yes};
    Click("Command3");
    EXPECT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(Hosts(), "edited\r\n");

    SetText("Text1", L"again\r\n");
    Click("Command3");
    EXPECT_EQ(platform.messages.size(), 2u) << "a save right after a save asks nothing";
    EXPECT_EQ(Hosts(), "again\r\n");
}

// A Windows folder elsewhere: the create branch and the reset work on the
// file below it, and the file below C:\windows stays as it was.
TEST_F(Win32CommandsTest, CreatingAndResettingWorkBelowTheSystemsWindowsFolder) {
    const std::string other = systemHosts.Read();
    DeleteFileW(windows.HostsPath().c_str());
    platform.answers = {Answer::Ok, Answer::Ok};
    Click("Command4");
    EXPECT_EQ(Hosts().size(), 836u);
    EXPECT_EQ(TextOf("Text1").size(), 836u);
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[1].prompt, u"已生成Hosts文件,并获得访问权限") << "the system's cacls succeeded";

    WriteHosts("changed\r\n");
    platform.answers = {Answer::Ok};
    Click("Command6");
    EXPECT_EQ(Hosts().size(), 836u);
    EXPECT_EQ(systemHosts.Read(), other);
    EXPECT_TRUE(platform.reported.empty());
}

TEST_F(Win32CommandsTest, TheDuplicateTestNamesAnExistingEntryAndAppendsANewOne) {
    WriteHosts("# 127.0.0.1 myhost\r\n127.0.0.1 MyHost\r\n");
    SetText("Text2", L"127.0.0.1");
    SetText("Text3", L"myhost");
    Click("Command5");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].prompt, u"定义有重复\n127.0.0.1 myhost");
    EXPECT_EQ(platform.messages[0].style, Mb::Ok);
    EXPECT_FALSE(platform.messages[0].title);
    EXPECT_EQ(Hosts(), "# 127.0.0.1 myhost\r\n127.0.0.1 MyHost\r\n");

    SetText("Text3", L"other.host");
    Click("Command5");
    EXPECT_EQ(Hosts(), "# 127.0.0.1 myhost\r\n127.0.0.1 MyHost\r\n127.0.0.1 other.host\r\n");
    EXPECT_EQ(platform.messages.size(), 1u);
}

TEST_F(Win32CommandsTest, AppendsGoToTheHostsFileBelowTheSystemsWindowsFolder) {
    SetText("Text2", L"10.0.0.1");
    SetText("Text3", L"nas.lan");
    Click("Command2");
    Click("Command1");
    EXPECT_EQ(ReadBytes(windows.HostsPath()),
              std::string(TestWindowsFolder::InitialHosts) + "10.0.0.1 nas.lan\r\n10.0.0.1\r\n");
    EXPECT_EQ(TextOf("Text1"), L"127.0.0.1 localhost\r\n::1 localhost\r\n") << "appends do not reload";
}

// Each of the three appends puts its entry on a line of its own, also after
// a last line without a line break (in UTF-8 here, as Notepad leaves it).
TEST_F(Win32CommandsTest, EveryAppendStartsALineOfItsOwn) {
    SetText("Text2", L"1.2.3.4");
    SetText("Text3", L"b.example");
    for (const char* button : {"Command1", "Command2", "Command5"}) {
        WriteBytes(windows.HostsPath(), "127.0.0.1 \xE5\xB9\xBF\xE5\x91\x8A.example");
        Click(button);
        const std::string entry = std::string(button) == "Command1" ? "1.2.3.4" : "1.2.3.4 b.example";
        EXPECT_EQ(ReadBytes(windows.HostsPath()), "127.0.0.1 \xE5\xB9\xBF\xE5\x91\x8A.example\r\n" + entry + "\r\n")
            << button;
    }
    EXPECT_TRUE(platform.reported.empty());
    EXPECT_TRUE(platform.messages.empty()) << "a valid entry is appended without a question";
}

// An entry Windows would not use, through each append button: the question
// names the problem, No appends nothing, Yes appends the entry as typed.
TEST_F(Win32CommandsTest, EachAppendAsksBeforeAnEntryWindowsWouldNotUse) {
    const struct {
        std::wstring_view address, names;
        std::u16string_view question;
    } cases[] = {
        {L"1.2.3", L"my.site", u"“1.2.3” 不是有效的 IPv4 或 IPv6 地址，Windows 不会使用这一行。\n\n是否仍然追加？"},
        {L"1.2.3.4", L"my!site", u"主机名“my!site”无效（只能包含字母、数字、“-”和“_”）。\n\n是否仍然追加？"},
        {L"::1", L"a b c d e f g h i j", u"一行中有 10 个主机名，Windows 只使用前 9 个。\n\n是否仍然追加？"},
    };
    for (const char* button : {"Command1", "Command2", "Command5"}) {
        for (const auto& c : cases) {
            for (const int answer : {Answer::No, Answer::Yes}) {
                SCOPED_TRACE(std::string(button) + (answer == Answer::Yes ? ", yes" : ", no"));
                WriteHosts(TestWindowsFolder::InitialHosts);
                platform.messages.clear();
                const std::wstring line = std::wstring(c.address) + L" " + std::wstring(c.names);
                SetText("Text2", std::string(button) == "Command1" ? line : c.address);
                SetText("Text3", c.names);
                platform.answers = {answer};
                Click(button);
                ASSERT_EQ(platform.messages.size(), 1u);
                EXPECT_EQ(platform.messages[0].prompt, c.question);
                EXPECT_EQ(platform.messages[0].style, Mb::YesNo | Mb::IconWarning | Mb::DefaultButton2);
                EXPECT_EQ(platform.messages[0].title, u"提示");
                EXPECT_EQ(Hosts(), std::string(TestWindowsFolder::InitialHosts) +
                                       (answer == Answer::Yes ? std::string(line.begin(), line.end()) + "\r\n" : ""));
            }
        }
    }
    EXPECT_TRUE(platform.reported.empty());
}

TEST_F(Win32CommandsTest, AppendingText2SaysNothingWhenTheFileIsHeldByAnotherProgram) {
    HANDLE held = CreateFileW(windows.HostsPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Click("Command1");
    EXPECT_TRUE(platform.reported.empty());
    Click("Command2");
    EXPECT_EQ(platform.reported.size(), 1u) << "the entry append reports what the plain one ignores";
    CloseHandle(held);
    EXPECT_EQ(ReadBytes(windows.HostsPath()), TestWindowsFolder::InitialHosts);
}

// Another process holds the hosts file open with writes shut out. For half a
// second, the save waits and goes through; for five, the user is told that
// another program uses the file, and it keeps its bytes.
TEST_F(Win32CommandsTest, ASaveWaitsOutAFileHeldForAMomentAndReportsOneHeldOn) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring holder = self;
    holder.resize(holder.find_last_of(L'\\') + 1);
    const std::string name = QUENLIX_FILE_HOLDER_STAND_IN;
    holder += std::wstring(name.begin(), name.end());
    for (const int heldFor : {500, 5000}) {
        SCOPED_TRACE(heldFor);
        platform.reported.clear();
        WriteHosts(TestWindowsFolder::InitialHosts);
        Click("Command4");
        SetText("Text1", L"0.0.0.0 saved.example\r\n");
        const std::wstring event = L"Local\\QuenlixHeld-" + std::to_wstring(GetCurrentProcessId());
        const UniqueHandle held(CreateEventW(nullptr, TRUE, FALSE, event.c_str()));
        std::wstring line =
            L"\"" + holder + L"\" \"" + windows.HostsPath() + L"\" " + std::to_wstring(heldFor) + L" " + event;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(CreateProcessW(holder.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   &startup, &process));
        const UniqueHandle holding(process.hProcess), thread(process.hThread);
        ASSERT_EQ(WaitForSingleObject(held.Get(), 10000), WAIT_OBJECT_0) << "the holder did not take the file";

        const ULONGLONG before = GetTickCount64();
        Click("Command3");
        const ULONGLONG took = GetTickCount64() - before;
        if (heldFor == 500) {
            EXPECT_EQ(Hosts(), "0.0.0.0 saved.example\r\n");
            EXPECT_TRUE(platform.reported.empty());
        } else {
            EXPECT_EQ(Hosts(), TestWindowsFolder::InitialHosts);
            ASSERT_EQ(platform.reported.size(), 1u);
            EXPECT_EQ(platform.reported[0].Number(), 32u);
            EXPECT_EQ(platform.reported[0].Description().find(u"另一个程序正在使用 Hosts 文件"), 0u);
            EXPECT_GE(took, 1900u);
            EXPECT_LT(took, 4500u) << "the waits stop at two seconds";
        }
        EXPECT_EQ(WaitForSingleObject(holding.Get(), 10000), WAIT_OBJECT_0);
        DWORD code = 1;
        GetExitCodeProcess(holding.Get(), &code);
        EXPECT_EQ(code, 0u) << "the holder failed to hold the file";
    }
}

// A hosts file made read-only, hidden and system (as security tools guard it)
// is saved, appended to and reset, and has those attributes afterwards.
TEST_F(Win32CommandsTest, AReadOnlyHiddenSystemHostsFileIsWrittenAndKeepsItsAttributes) {
    constexpr DWORD Guarded = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    const auto attributes = [&] { return GetFileAttributesW(windows.HostsPath().c_str()) & 0x7; };
    ASSERT_TRUE(SetFileAttributesW(windows.HostsPath().c_str(), Guarded));
    ASSERT_EQ(attributes(), Guarded);

    SetText("Text1", L"0.0.0.0 saved.example\r\n");
    Click("Command3");
    EXPECT_EQ(Hosts(), "0.0.0.0 saved.example\r\n");
    EXPECT_EQ(attributes(), Guarded);

    SetText("Text2", L"1.2.3.4");
    SetText("Text3", L"appended.example");
    Click("Command2");
    EXPECT_EQ(Hosts(), "0.0.0.0 saved.example\r\n1.2.3.4 appended.example\r\n");
    EXPECT_EQ(attributes(), Guarded);

    platform.answers = {Answer::Ok};
    Click("Command6");
    EXPECT_EQ(Hosts().size(), 836u);
    EXPECT_EQ(attributes(), Guarded);
    EXPECT_TRUE(platform.reported.empty());
    ASSERT_EQ(platform.messages.size(), 1u) << "the reset's question, and nothing about attributes";
    SetFileAttributesW(windows.HostsPath().c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Win32CommandsTest, EachSearchFillsText4) {
    SetText("Text2", L"localhost");
    Click("Command9");
    EXPECT_EQ(TextOf("Text4"), L"127.0.0.1 localhost\r\n::1 localhost\r\n");
    SetText("Text2", L"localhost,::1,absent");
    Click("Command8");
    EXPECT_EQ(TextOf("Text4"), L"localhost::1");
    SetText("Text2", L"::1 localhost");
    Click("Command7");
    EXPECT_EQ(TextOf("Text4"), L"::1 localhost\r\n");
}

TEST_F(Win32CommandsTest, BackupAndRestoreBesideAProgramInAFolderWithSpacesAndChinese) {
    Win32TempFolder programFolder;
    const std::wstring program = programFolder / L"我的 工具";
    CreateDirectoryW(program.c_str(), nullptr);
    platform.programDirectory = std::u16string(program.begin(), program.end());
    const std::wstring backup = program + L"\\备份hosts";

    platform.answers = {Answer::No};
    Click("Command14");
    EXPECT_EQ(ReadBytes(backup), TestWindowsFolder::InitialHosts);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].prompt,
              u"备份成功\n" + *platform.programDirectory + u"\\\n\n是否打开备份Hosts文件位置");

    WriteBytes(windows.HostsPath(), "second\r\n");
    platform.answers = {Answer::No};
    Click("Command14");
    EXPECT_EQ(ReadBytes(backup), "second\r\n") << "a second backup replaces the first without a question";

    WriteBytes(windows.HostsPath(), "changed\r\n");
    Click("Command15");
    EXPECT_EQ(ReadBytes(windows.HostsPath()), "second\r\n");
    EXPECT_EQ(ReadBytes(backup), "second\r\n");
    EXPECT_EQ(platform.messages.back().prompt, u"备份Hosts文件还原到系统Hosts成功");
    EXPECT_TRUE(platform.reported.empty());
}

// Before a save, an append and a restore the file's bytes go to the history
// folder in the user's local application data; the system menu shows it.
TEST_F(Win32CommandsTest, EachChangeLeavesACopyThatTheSystemMenuShows) {
    Win32TempFolder programFolder;
    platform.programDirectory = std::u16string(programFolder.Path().begin(), programFolder.Path().end());
    const std::wstring history = Wide(HistoryFolder(platform));
    SetText("Text1", L"saved\r\n");
    Click("Command3");
    SetText("Text2", L"1.2.3.4");
    SetText("Text3", L"appended");
    Click("Command2");
    platform.answers = {Answer::No};
    Click("Command14");
    WriteHosts("changed by hand\r\n");
    Click("Command15");
    EXPECT_EQ(Hosts(), "saved\r\n1.2.3.4 appended\r\n");

    std::vector<std::string> copies;
    std::vector<FolderEntry> files = platform.FilesInFolder(HistoryFolder(platform));
    // In the order they were written; within one tick of the clock, by name
    // ("_2" before "_10"). The names alone do not tell it when the copies
    // span a second: "…-05" comes before "…-04_2".
    std::sort(files.begin(), files.end(), [](const FolderEntry& a, const FolderEntry& b) {
        if (a.writeTime != b.writeTime) return a.writeTime < b.writeTime;
        return a.name.size() != b.name.size() ? a.name.size() < b.name.size() : a.name < b.name;
    });
    std::vector<std::u16string> names;
    for (const FolderEntry& file : files) names.push_back(file.name);
    for (const auto& name : names) copies.push_back(ReadBytes(history + L"\\" + Wide(name)));
    EXPECT_EQ(copies, (std::vector<std::string>{TestWindowsFolder::InitialHosts, "saved\r\n", "changed by hand\r\n"}));
    EXPECT_EQ(ReadBytes(Wide(WriteJournalPath(platform))), "<missing>") << "the journal goes after each write";
    EXPECT_TRUE(platform.reported.empty());

    // The last item of the system menu, below a separator.
    HMENU menu = GetSystemMenu(Form(), FALSE);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    EXPECT_EQ(GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));
    const UINT id = GetMenuItemID(menu, count - 1);
    wchar_t caption[64] = {};
    GetMenuStringW(menu, count - 1, caption, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(caption), L"打开历史版本文件夹(&H)");

    // A folder removed since is made again, and Explorer shows it.
    for (const auto& name : names) DeleteFileW((history + L"\\" + Wide(name)).c_str());
    ASSERT_TRUE(RemoveDirectoryW(history.c_str()));
    SendMessageW(Form(), WM_SYSCOMMAND, id, 0);
    Pump();
    EXPECT_NE(GetFileAttributesW(history.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(platform.reported.empty());
    // Explorer's window is titled with the folder it shows.
    HWND explorer = nullptr;
    for (int i = 0; i < 300 && explorer == nullptr; ++i) {
        EnumWindows(
            [](HWND window, LPARAM found) -> BOOL {
                if (!IsWindowVisible(window) || WindowTextOf(window).find(L"history") == std::wstring::npos) return TRUE;
                *reinterpret_cast<HWND*>(found) = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&explorer));
        if (explorer == nullptr) Sleep(50);
    }
    ASSERT_NE(explorer, nullptr) << "no window shows the history folder";
    PostMessageW(explorer, WM_CLOSE, 0, 0);
}

TEST_F(Win32CommandsTest, WithoutHostsFileOrBackupTheTwoErrorsShowAndNothingChanges) {
    Win32TempFolder programFolder;
    platform.programDirectory = std::u16string(programFolder.Path().begin(), programFolder.Path().end());
    Click("Command15");
    EXPECT_EQ(platform.messages.back().prompt, u"未在程序目录下发现Hosts备份文件");
    EXPECT_EQ(ReadBytes(windows.HostsPath()), TestWindowsFolder::InitialHosts);

    DeleteFileW(windows.HostsPath().c_str());
    Click("Command14");
    EXPECT_EQ(platform.messages.back().prompt, u"未在计算机系统默认位置发现Hosts文件");
    EXPECT_EQ(platform.messages.back().style, Mb::Ok | Mb::IconWarning | Mb::SystemModal | Mb::SetForeground);
    EXPECT_EQ(ReadBytes(programFolder / L"备份hosts"), "<missing>");
}

TEST_F(Win32CommandsTest, NotepadOpensOnTheHostsFile) {
    Click("Command12");
    EXPECT_TRUE(platform.reported.empty());
    HWND notepad = nullptr;
    for (int i = 0; i < 200 && notepad == nullptr; ++i) {
        notepad = FindWindowW(L"Notepad", nullptr);
        if (notepad == nullptr) Sleep(50);
    }
    ASSERT_NE(notepad, nullptr) << "Notepad's window did not appear";
    PostMessageW(notepad, WM_CLOSE, 0, 0);
}

// A text box stops at a NUL; a hosts file with NUL bytes must still come back
// whole after a load and a save.
TEST_F(Win32CommandsTest, AFileWithNulBytesLoadsAndSavesBackWhole) {
    platform.systemWindowsDirectory.clear();  // the prefix's own hosts file
    using namespace std::string_literals;
    const std::string bytes = "0.0.0.0 a\0b\r\n\0\r\nlast # \xB9\xE3\r\n"s;
    systemHosts.Write(bytes);
    Click("Command4");
    EXPECT_NE(TextOf("Text1").find(L'\x2400'), std::wstring::npos) << "a NUL shows as a visible symbol";
    SetText("Text2", L"last");
    Click("Command9");
    EXPECT_EQ(TextOf("Text4"), L"last # 广\r\n");
    Click("Command3");
    EXPECT_EQ(systemHosts.Read(), bytes);
    EXPECT_TRUE(platform.reported.empty());
}

// Text1's menu by right click and by Shift+F10 (at the caret), greyed as the
// box's own: nothing to undo or paste, nothing selected, then all selected.
TEST_F(Win32CommandsTest, Text1sMenuOpensByRightClickAndShiftF10GreyedAsTheBoxsOwn) {
    WriteHosts("#==== Dev\r\n1.1.1.1 a\r\n#====\r\n# Ads Start\r\n# Ads End\r\n");
    Click("Command4");
    OpenClipboard(Form());
    EmptyClipboard();
    CloseClipboard();
    std::wstring seen;
    const auto rightClick = [&] {
        PostMessageW(Child("Text1"), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
        PostMessageW(Child("Text1"), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    };
    WhileModal(rightClick, {InMenu(&seen, {{WM_KEYDOWN, VK_ESCAPE}})});
    const std::wstring commands = L"---; 注释/取消注释(&M)\tCtrl+/; 分组(&G) [*Dev; Ads; ---; 将选中行设为分组(&N)…; ]; "
                                  L"---; 检查 Hosts 文件(&K)\tF8; 解析测试(&R); 压缩条目(&Z); ";
    EXPECT_EQ(seen, L"-撤销(&U)\tCtrl+Z; -剪切(&T)\tCtrl+X; -复制(&C)\tCtrl+C; -粘贴(&P)\tCtrl+V; -删除(&D)\tDel; "
                    L"全选(&A)\tCtrl+A; " + commands);
    SendMessageW(Child("Text1"), EM_SETSEL, 0, -1);
    SendMessageW(Child("Text1"), WM_COPY, 0, 0);
    WhileModal([&] { PressKeys(VK_F10, VK_SHIFT, WM_SYSKEYDOWN); }, {InMenu(&seen, {{WM_KEYDOWN, VK_ESCAPE}})});
    EXPECT_EQ(seen, L"-撤销(&U)\tCtrl+Z; 剪切(&T)\tCtrl+X; 复制(&C)\tCtrl+C; 粘贴(&P)\tCtrl+V; 删除(&D)\tDel; "
                    L"-全选(&A)\tCtrl+A; " + commands);
}

// Ctrl+/ on a selection switches its entries alone, Ctrl+Z takes that back
// in one step, Ctrl+S writes exactly that change; F5 loads, Ctrl+F goes to
// Text2, and Ctrl+/ outside Text1 does nothing.
TEST_F(Win32CommandsTest, CtrlSlashSwitchesTheSelectedEntriesAndCtrlSSavesThatChangeAlone) {
    const std::string bytes = "# \xB1\xBE\xBB\xFA\r\n127.0.0.1 a\tb # x\r\n\r\n# see 1.2.3.4 d\r\n  10.0.0.1 c\r\n0.0.0.0 z\r\n";
    WriteHosts(bytes);
    SetFocus(Child("Text1"));
    PressKeys(VK_F5, 0);
    const std::u16string loaded = form->Text(TextBox::HostsText);
    ASSERT_EQ(loaded.substr(0, 4), u"# 本机");
    const WPARAM line2 = 6, line5 = loaded.find(u"10.0.0.1") + 2;
    SendMessageW(Child("Text1"), EM_SETSEL, line2, line5);
    PressKeys(VK_OEM_2, VK_CONTROL);
    const std::u16string switched = u"# 本机\r\n# 127.0.0.1 a\tb # x\r\n\r\n# see 1.2.3.4 d\r\n  # 10.0.0.1 c\r\n0.0.0.0 z\r\n";
    EXPECT_EQ(form->Text(TextBox::HostsText), switched);
    EXPECT_TRUE(form->HostsTextModified());
    PressKeys('Z', VK_CONTROL);
    EXPECT_EQ(form->Text(TextBox::HostsText), loaded);
    SendMessageW(Child("Text1"), EM_SETSEL, line2, line5);
    PressKeys(VK_OEM_2, VK_CONTROL);
    PressKeys('S', VK_CONTROL);
    EXPECT_EQ(Hosts(), "# \xB1\xBE\xBB\xFA\r\n# 127.0.0.1 a\tb # x\r\n\r\n# see 1.2.3.4 d\r\n  # 10.0.0.1 c\r\n0.0.0.0 z\r\n");
    EXPECT_FALSE(form->HostsTextModified());
    SetText("Text2", L"abc");
    PressKeys('F', VK_CONTROL);
    EXPECT_EQ(FocusName(), "Text2");
    EXPECT_EQ(SendMessageW(Child("Text2"), EM_GETSEL, 0, 0), MAKELRESULT(0, 3));
    PressKeys(VK_OEM_2, VK_CONTROL);
    EXPECT_EQ(form->Text(TextBox::HostsText), switched);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(platform.reported.empty());
}

// A group switched from the 分组 submenu; a new group from the dialog, whose
// Esc cancels and which refuses an empty name with a note; 撤销 takes the new
// group back in one step.
TEST_F(Win32CommandsTest, GroupsSwitchFromTheMenuAndANewGroupComesFromTheDialog) {
    WriteHosts("#==== Dev\r\n1.1.1.1 a\r\n#====\r\n# Ads Start\r\n# 0.0.0.0 x\r\n# Ads End\r\n3.3.3.3 c\r\n");
    Click("Command4");
    const auto menu = [&] { PostMessageW(Child("Text1"), WM_CONTEXTMENU, 0, MAKELPARAM(-1, -1)); };
    WhileModal(menu, {InMenu(nullptr, {{WM_CHAR, 'g'}, {WM_KEYDOWN, VK_DOWN}, {WM_KEYDOWN, VK_RETURN}})});
    const std::u16string adsOn = u"#==== Dev\r\n1.1.1.1 a\r\n#====\r\n# Ads Start\r\n0.0.0.0 x\r\n# Ads End\r\n3.3.3.3 c\r\n";
    EXPECT_EQ(form->Text(TextBox::HostsText), adsOn);
    SendMessageW(Child("Text1"), EM_SETSEL, adsOn.size() - 3, adsOn.size() - 3);
    std::wstring cancelled, refused, accepted;
    WhileModal(menu, {InMenu(nullptr, {{WM_CHAR, 'g'}, {WM_CHAR, 'n'}}), InGroupDialog(L"x", IDCANCEL, &cancelled)});
    EXPECT_EQ(form->Text(TextBox::HostsText), adsOn);
    WhileModal(menu, {InMenu(nullptr, {{WM_CHAR, 'g'}, {WM_CHAR, 'n'}}), InGroupDialog(L" ", IDOK, &refused),
                      InGroupDialog(L"Home", IDOK, &accepted)});
    EXPECT_EQ(refused, L"请输入名称");
    EXPECT_EQ(form->Text(TextBox::HostsText), adsOn.substr(0, adsOn.size() - 11) + u"#==== Home\r\n3.3.3.3 c\r\n#====\r\n");
    WhileModal(menu, {InMenu(nullptr, {{WM_CHAR, 'u'}})});
    EXPECT_EQ(form->Text(TextBox::HostsText), adsOn);
    EXPECT_TRUE(platform.reported.empty());
}

}  // namespace
}  // namespace quenlix::testing
