#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include <chrono>
#include <limits>
#include <set>
#include <string>

#include "Win32FormTestSupport.h"
#include "platform/Win32Handle.h"
#include "platform/Win32ProcessWait.h"
#include "ui/Win32CommonControls.h"

namespace quenlix {
namespace {

using testing::Win32FormTest;
using testing::ReadBytes;
using testing::WriteBytes;
using testing::TestWindowsFolder;

// --- What the load sequence and the commands see ---

TEST_F(Win32FormTest, OpeningLoadsTheHostsFileAndLeavesTheOtherBoxesAtTheirNames) {
    EXPECT_EQ(form->Text(TextBox::HostsText), u"127.0.0.1 localhost\r\n::1 localhost\r\n");
    EXPECT_EQ(form->Text(TextBox::Address), u"Text2");
    EXPECT_EQ(form->Text(TextBox::HostName), u"Text3");
    EXPECT_EQ(form->Text(TextBox::Results), u"Text4");
    const std::wstring title = testing::WindowTextOf(Form());
    EXPECT_TRUE(title == L"Hosts (已获得管理员权限)" || title == L"Hosts (未获得管理员权限)") << "one suffix";
    EXPECT_TRUE(IsWindowVisible(Form()));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(Win32FormTest, TextsOfAnyLengthComeBackWhole) {
    std::u16string text;
    while (text.size() < 120000) text += u"10.0.0.1 主机名.example # 注释\r\n";
    for (const TextBox box : {TextBox::HostsText, TextBox::Address, TextBox::Results}) {
        form->SetText(box, text);
        EXPECT_EQ(form->Text(box), text);
    }
    form->SetText(TextBox::HostName, u"");
    EXPECT_EQ(form->Text(TextBox::HostName), u"");
    form->SetTitle(u"Hosts (未获得管理员权限)");
    EXPECT_EQ(testing::WindowTextOf(Form()), L"Hosts (未获得管理员权限)");
}

// The edit control packs the selection into 16 bits of its return value;
// a caret further down a large file must still be counted right.
TEST_F(Win32FormTest, CaretPositionIsTheSelectionStartEvenBeyond65535) {
    form->SetText(TextBox::HostsText, std::u16string(100000, u'a'));
    SendMessageW(Child("Text1"), EM_SETSEL, 70000, 70010);
    EXPECT_EQ(form->CaretPosition(), 70000u);
    SendMessageW(Child("Text1"), EM_SETSEL, 12, 12);
    EXPECT_EQ(form->CaretPosition(), 12u);
}

// --- The click in Text1 ---

TEST_F(Win32FormTest, AClickOnALineOfText1FillsText2AndText3WithoutWidening) {
    form->SetText(TextBox::HostsText, u"127.0.0.1 localhost\r\n10.0.0.2 router.lan\r\n");
    HWND text1 = Child("Text1");
    // The middle of "router" on the second line.
    const LRESULT corner = SendMessageW(text1, EM_POSFROMCHAR, 21 + 11, 0);
    ClickAt(text1, {GET_X_LPARAM(corner) + 2, GET_Y_LPARAM(corner) + 4});
    EXPECT_EQ(form->Text(TextBox::Address), u"10.0.0.2");
    EXPECT_EQ(form->Text(TextBox::HostName), u"router.lan");
    EXPECT_EQ(form->Width(), FormWidth::Narrow);
    EXPECT_TRUE(platform.messages.empty());
}

// Counts the paints that reach a box, ahead of the program's own handling
// of its messages: of the frame, and of something inside it. Notes when
// the first frame paint came.
struct BoxPaints {
    int frames = 0;
    int texts = 0;
    std::chrono::steady_clock::time_point firstFrame;
};

LRESULT CALLBACK CountBoxPaints(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR paints) {
    auto& seen = *reinterpret_cast<BoxPaints*>(paints);
    if (message == WM_NCPAINT && seen.frames++ == 0) seen.firstFrame = std::chrono::steady_clock::now();
    RECT inside{};
    if (message == WM_PAINT && GetUpdateRect(box, &inside, FALSE) && !IsRectEmpty(&inside)) ++seen.texts;
    return BoundCommonControls().defSubclassProc(box, message, wParam, lParam);
}

// Dark pixels in the top left of a box, where its first line is drawn.
int InkOnFirstLine(HWND box) {
    HDC dc = GetDC(box);
    int ink = 0;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 120; ++x) {
            const COLORREF pixel = GetPixel(dc, x, y);
            if (pixel != CLR_INVALID && GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel) < 384) ++ink;
        }
    ReleaseDC(box, dc);
    return ink;
}

// Under Wine every redraw of Text1 walks its lines from the first, once for
// each line in view: near the end of a large file the redraw that taking the
// focus asks for made the first click wait. It is dropped when it would show
// nothing new, and kept for a selection that must now be shown. The frame,
// which shows the focus, is drawn again a moment after the click that
// brought the focus has ended, however long the click took, and the text it
// encloses stays on screen.
TEST_F(Win32FormTest, Text1TakesTheFocusWithoutRedrawingWhatItAlreadyShows) {
    HWND text1 = Child("Text1");
    form->SetText(TextBox::HostsText, u"127.0.0.1 localhost\r\n::1 localhost\r\n");
    BoxPaints paints;
    ASSERT_TRUE(BoundCommonControls().setWindowSubclass(text1, CountBoxPaints, 1, reinterpret_cast<DWORD_PTR>(&paints)));
    for (const bool selected : {false, true}) {
        SCOPED_TRACE(selected);
        SetFocus(Child("Command1"));
        Pump();
        SendMessageW(text1, EM_SETSEL, 0, selected ? 9 : 0);
        UpdateWindow(text1);
        ASSERT_FALSE(GetUpdateRect(text1, nullptr, FALSE));
        ASSERT_NE(GetFocus(), text1);
        ASSERT_GT(InkOnFirstLine(text1), 0);
        paints = {};
        SendMessageW(text1, WM_SETFOCUS, reinterpret_cast<WPARAM>(Child("Command1")), 0);
        EXPECT_EQ(GetUpdateRect(text1, nullptr, FALSE) != FALSE, selected);
        if (!selected) {
            EXPECT_EQ(paints.frames, 0) << "not while the click goes on";
            Sleep(40);  // a slow click, as on a large file
            SendMessageW(text1, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
            const auto clickEnded = std::chrono::steady_clock::now();
            for (const DWORD start = GetTickCount(); paints.frames == 0 && GetTickCount() - start < 2000;) {
                Pump();
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            }
            Pump();
            ASSERT_EQ(paints.frames, 1) << "the frame, soon after";
            EXPECT_GE(paints.firstFrame - clickEnded, std::chrono::milliseconds(5)) << "after the click, not before";
            EXPECT_EQ(paints.texts, 0);
            EXPECT_GT(InkOnFirstLine(text1), 0) << "the text is still shown";
        }
        SendMessageW(text1, WM_KILLFOCUS, 0, 0);
    }
    BoundCommonControls().removeWindowSubclass(text1, CountBoxPaints, 1);
}

// --- Failures and the end ---

// A refused append is reported, and the window with the unsaved text stays.
TEST_F(Win32FormTest, AFailedCommandIsReportedAndTheWindowKeepsItsText) {
    DeleteFileW(windows.HostsPath().c_str());
    ASSERT_TRUE(RemoveDirectoryW(windows.EtcPath().c_str()));
    form->SetText(TextBox::HostsText, u"1.2.3.4 unsaved\r\n");
    Click("Command2");  // appends to the hosts file of the test Windows folder, whose folder is gone
    ASSERT_EQ(platform.reported.size(), 1u);
    EXPECT_TRUE(IsWindow(Form()));
    EXPECT_EQ(form->Text(TextBox::HostsText), u"1.2.3.4 unsaved\r\n");
    EXPECT_FALSE(quit);
}

TEST_F(Win32FormTest, ClosingWithTypedEditsAsksAndEachAnswerDoesWhatItSays) {
    SetFocus(Child("Text1"));
    Type(Child("Text1"), L"1.2.3.4 unsaved");
    platform.answers = {Answer::Cancel};
    PostMessageW(Form(), WM_CLOSE, 0, 0);
    Pump();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].prompt, u"Text1 中的修改尚未保存到 Hosts 文件。\n\n是否在关闭前保存？");
    EXPECT_TRUE(IsWindow(Form())) << "Cancel keeps the window";
    EXPECT_FALSE(quit);

    platform.answers = {Answer::Yes};
    PostMessageW(Form(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(form->Handle(), nullptr) << "Yes saves and closes";
    EXPECT_TRUE(quit);
    EXPECT_EQ(platform.messages.size(), 2u);
    const std::string saved = ReadBytes(windows.HostsPath());
    EXPECT_NE(saved.find("1.2.3.4 unsaved"), std::string::npos) << saved;
}

TEST_F(Win32FormTest, ClosingWithNothingTypedEndsAtOnceWithoutAQuestion) {
    form->SetText(TextBox::HostsText, u"set by the program, not typed\r\n");
    PostMessageW(Form(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(form->Handle(), nullptr);
    EXPECT_TRUE(quit);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(ReadBytes(windows.HostsPath()), TestWindowsFolder::InitialHosts);
}

// Logoff or shutdown with unsaved edits asks what closing asks; without
// edits the session ends without a question.
TEST_F(Win32FormTest, TheEndOfTheSessionAsksAboutUnsavedEditsLikeClosing) {
    EXPECT_EQ(SendMessageW(Form(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    EXPECT_TRUE(platform.messages.empty());

    SetFocus(Child("Text1"));
    Type(Child("Text1"), L"1.2.3.4 unsaved");
    platform.answers = {Answer::Cancel};
    EXPECT_EQ(SendMessageW(Form(), WM_QUERYENDSESSION, 0, 0), FALSE) << "Cancel holds the session up";
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].prompt, u"Text1 中的修改尚未保存到 Hosts 文件。\n\n是否在关闭前保存？");
    EXPECT_EQ(ReadBytes(windows.HostsPath()), TestWindowsFolder::InitialHosts);

    platform.answers = {Answer::Yes};
    EXPECT_EQ(SendMessageW(Form(), WM_QUERYENDSESSION, 0, 0), TRUE) << "Yes saves, then lets it end";
    EXPECT_NE(ReadBytes(windows.HostsPath()).find("1.2.3.4 unsaved"), std::string::npos);
    EXPECT_TRUE(IsWindow(Form()));
}

// The save reads the file through the handle that then writes it: while its
// question is open, no other program can change what it is about to replace.
TEST_F(Win32FormTest, NoOtherProgramWritesTheFileWhileTheSaveAsks) {
    WriteBytes(windows.HostsPath(), "127.0.0.1 changed outside\r\n");
    form->SetText(TextBox::HostsText, u"0.0.0.0 mine\r\n");
    DWORD otherWrite = ERROR_SUCCESS;
    platform.whileAsking = [&] {
        const HANDLE other = CreateFileW(windows.HostsPath().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                         nullptr, OPEN_EXISTING, 0, nullptr);
        otherWrite = other == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
        if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
    };
    platform.answers = {Answer::Yes};
    Click("Command3");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(otherWrite, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(ReadBytes(windows.HostsPath()), "0.0.0.0 mine\r\n") << "a load and a save add no empty line";
}

// One command at a time. While the save's question is open, other programs
// click 刷新, close the window and end the session: nothing starts in the
// middle of the save (a refresh there would have it write a half-filled
// box), the save goes on as answered, the session is refused and the close
// comes once the save is over.
TEST_F(Win32FormTest, WhileTheSaveAsksNoClickCloseOrEndOfSessionStartsAnything) {
    WriteBytes(windows.HostsPath(), "127.0.0.1 changed outside\r\n");
    form->SetText(TextBox::HostsText, u"0.0.0.0 mine\r\n");
    LRESULT endSession = TRUE;
    platform.whileAsking = [&] {
        platform.whileAsking = nullptr;
        SendMessageW(Child("Command4"), BM_CLICK, 0, 0);
        SendMessageW(Form(), WM_CLOSE, 0, 0);
        endSession = SendMessageW(Form(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
        SendMessageW(Form(), WM_CLOSE, 0, 0);
    };
    platform.answers = {Answer::Yes};
    Click("Command3");
    ASSERT_EQ(platform.messages.size(), 1u) << "only the save's own question";
    EXPECT_EQ(endSession, FALSE);
    EXPECT_EQ(ReadBytes(windows.HostsPath()), "0.0.0.0 mine\r\n");
    EXPECT_EQ(form->Handle(), nullptr) << "the close came after the save";
    EXPECT_TRUE(quit);
}

// The wait for the second instance handles the window's messages: clicks
// posted meanwhile (on 还原默认, 刷新 and 保存) start nothing.
TEST_F(Win32FormTest, NoClickStartsACommandWhileTheAdministratorWaitRuns) {
    platform.administrator = false;
    platform.hostsRefused = true;
    form->SetText(TextBox::HostsText, u"0.0.0.0 mine\r\n");
    int waits = 0;
    platform.elevatedInstanceStandIn = [&](std::u16string_view) -> ProgramExit {
        ++waits;
        for (const char* name : {"Command6", "Command4", "Command3"})
            PostMessageW(Form(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Child(name)), BN_CLICKED),
                         reinterpret_cast<LPARAM>(Child(name)));
        const UniqueHandle never(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        WaitForProcess(never.Get(), std::chrono::milliseconds(500));
        // The user declined the system's question.
        throw Failure(FailureNumber::Cancelled, u"操作已被用户取消。");
    };
    platform.answers = {Answer::Yes};
    Click("Command3");
    EXPECT_EQ(waits, 1);
    ASSERT_EQ(platform.messages.size(), 1u) << "only the question about rights";
    EXPECT_TRUE(platform.reported.empty());
    EXPECT_EQ(ReadBytes(windows.HostsPath()), TestWindowsFolder::InitialHosts);
    EXPECT_EQ(form->Text(TextBox::HostsText), u"0.0.0.0 mine\r\n") << "no refresh ran";
}

// --- Before the window is shown ---

TEST(Win32FormStartupTest, MessagesOfTheLoadSequenceHaveNoOwnerAndTheWindowIsShownAfterThem) {
    testing::DesktopTurn turn;
    testing::TestWindowsFolder windows;
    DeleteFileW(windows.HostsPath().c_str());

    struct RecordingPlatform : testing::ScriptedMessagesPlatform {
        HWND form = nullptr;
        bool shownDuringMessage = false;
        int ShowMessage(std::u16string_view prompt, std::uint32_t style,
                        std::optional<std::u16string_view> title) override {
            if (form != nullptr && IsWindowVisible(form)) shownDuringMessage = true;
            return ScriptedMessagesPlatform::ShowMessage(prompt, style, title);
        }
    } platform;
    platform.systemWindowsDirectory = windows.Path();
    platform.answers = {Answer::Cancel};

    Win32MainWindow form(GetModuleHandleW(nullptr), platform);
    platform.form = form.Handle();
    // With rights the file is offered for creation, and the program ends on
    // Cancel without ever showing its window; without rights a warning comes
    // before the window shows.
    const StartupOutcome outcome = form.Open(SW_SHOWNORMAL);
    ASSERT_NE(outcome, StartupOutcome::Failed);
    ASSERT_FALSE(platform.messages.empty());
    EXPECT_FALSE(platform.shownDuringMessage);
    EXPECT_EQ(IsWindowVisible(form.Handle()) != FALSE, outcome == StartupOutcome::ShowWindow);
}

// --- A long hosts file, filled in pieces after the window is shown ---

// Everything a user or a command can tell of Form1 once the load has ended.
struct Form1State {
    std::u16string text;
    DWORD selectionStart = 0, selectionEnd = 0;
    LRESULT firstLine = 0, lineCount = 0, canUndo = 0, limit = 0;
    SCROLLINFO vertical{}, horizontal{};
    std::wstring title;
    bool modified = false, progressBar = false;
    std::optional<FileSnapshot> snapshot;
    HostsEncoding encoding = HostsEncoding::Ansi;
    LONG_PTR text1Style = 0;
    std::set<std::string> disabled;
    std::string focus;
};

SCROLLINFO ScrollOf(HWND box, int bar) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(box, bar, &info);
    return info;
}

std::set<std::string> DisabledControls(const Win32MainWindow& form) {
    std::set<std::string> names;
    for (const Control& control : Controls())
        if (!IsWindowEnabled(form.ControlWindow(control.name))) names.insert(std::string(control.name));
    return names;
}

Form1State StateOf(Win32MainWindow& form) {
    HWND text1 = form.ControlWindow("Text1");
    Form1State state;
    state.text = form.Text(TextBox::HostsText);
    SendMessageW(text1, EM_GETSEL, reinterpret_cast<WPARAM>(&state.selectionStart),
                 reinterpret_cast<LPARAM>(&state.selectionEnd));
    state.firstLine = SendMessageW(text1, EM_GETFIRSTVISIBLELINE, 0, 0);
    state.lineCount = SendMessageW(text1, EM_GETLINECOUNT, 0, 0);
    state.canUndo = SendMessageW(text1, EM_CANUNDO, 0, 0);
    state.limit = SendMessageW(text1, EM_GETLIMITTEXT, 0, 0);
    state.vertical = ScrollOf(text1, SB_VERT);
    state.horizontal = ScrollOf(text1, SB_HORZ);
    state.title = testing::WindowTextOf(form.Handle());
    state.modified = form.HostsTextModified();
    state.progressBar = FindWindowExW(form.Handle(), nullptr, PROGRESS_CLASSW, nullptr) != nullptr;
    state.snapshot = form.HostsSnapshot();
    state.encoding = form.HostsFileEncoding();
    state.text1Style = GetWindowLongPtrW(text1, GWL_STYLE);
    state.disabled = DisabledControls(form);
    for (const Control& control : Controls())
        if (form.ControlWindow(control.name) == GetFocus()) state.focus = std::string(control.name);
    return state;
}

// Entry lines, comments, a NUL and a line without its line break at the end.
std::string LongHosts(int lines) {
    std::string text;
    for (int i = 0; i < lines; ++i)
        text += i % 7 == 0 ? "# block " + std::to_string(i) + "\r\n"
                            : "0.0.0.0 ads" + std::to_string(i) + ".example\r\n";
    text.insert(text.size() / 2, std::string("\0", 1));
    return text + "0.0.0.0 last.example";
}

void ExpectSameState(const Form1State& pieces, const Form1State& single) {
    EXPECT_TRUE(pieces.text == single.text) << "the text differs";
    EXPECT_GT(pieces.text.size(), 100000u);
    EXPECT_EQ(pieces.selectionStart, single.selectionStart);
    EXPECT_EQ(pieces.selectionEnd, single.selectionEnd);
    EXPECT_EQ(pieces.firstLine, single.firstLine);
    EXPECT_EQ(pieces.lineCount, single.lineCount);
    EXPECT_EQ(pieces.canUndo, 0);
    EXPECT_EQ(single.canUndo, 0);
    EXPECT_EQ(pieces.limit, single.limit);
    for (const auto& [a, b] : {std::pair{pieces.vertical, single.vertical}, {pieces.horizontal, single.horizontal}}) {
        EXPECT_EQ(a.nMin, b.nMin);
        EXPECT_EQ(a.nMax, b.nMax);
        EXPECT_EQ(a.nPage, b.nPage);
        EXPECT_EQ(a.nPos, b.nPos);
    }
    EXPECT_EQ(pieces.title, single.title);
    EXPECT_FALSE(pieces.modified);
    EXPECT_FALSE(single.modified);
    EXPECT_FALSE(pieces.progressBar);
    EXPECT_EQ(pieces.snapshot, single.snapshot);
    EXPECT_TRUE(pieces.snapshot.has_value());
    EXPECT_EQ(pieces.encoding, single.encoding);
    EXPECT_EQ(pieces.text1Style, single.text1Style);
    EXPECT_EQ(pieces.disabled, single.disabled);
    EXPECT_TRUE(pieces.disabled.empty());
    EXPECT_EQ(pieces.focus, single.focus);
}

// At the start and after a refresh (刷新, from its button, which has the
// focus), whether the text went in in pieces or in one.
TEST(Win32PiecewiseFillTest, EndsInTheStateTheFillInOnePieceLeavesFieldByField) {
    testing::DesktopTurn turn;
    TestWindowsFolder windows;
    const std::set<std::string> heldDuringFill{"Command1", "Command2", "Command3", "Command4", "Command5",
                                               "Command6", "Command7", "Command8", "Command9", "Command13",
                                               "Command14", "Command15"};

    const auto fill = [&](Win32MainWindow& form, bool inPieces, const auto& start) {
        start();
        EXPECT_EQ(form.Filling(), inPieces);
        if (form.Filling()) {
            EXPECT_TRUE(IsWindowVisible(form.Handle()));
            EXPECT_EQ(DisabledControls(form), heldDuringFill);
            EXPECT_TRUE(GetWindowLongPtrW(form.ControlWindow("Text1"), GWL_STYLE) & ES_READONLY);
            EXPECT_FALSE(IsWindowVisible(form.ControlWindow("Text1"))) << "a shown box lays out its pieces slower";
            EXPECT_NE(testing::WindowTextOf(form.Handle()).find(L" \u2014 正在读取 "), std::wstring::npos);
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        int turns = 0;
        MSG message;
        const auto turnUntil = [&](const auto& done) {
            while (!done() && std::chrono::steady_clock::now() < deadline) {
                if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                    WaitMessage();
                    continue;
                }
                ++turns;
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        };
        const auto bar = [&] { return FindWindowExW(form.Handle(), nullptr, PROGRESS_CLASSW, nullptr); };
        turnUntil([&] { return !form.Filling(); });
        EXPECT_FALSE(form.Filling());
        if (inPieces) {
            EXPECT_GT(turns, 3) << "the message loop ran between the pieces";
            // The box is back and usable while the full bar is still seen.
            EXPECT_TRUE(IsWindowVisible(form.ControlWindow("Text1")));
            EXPECT_NE(bar(), nullptr);
            if (bar() != nullptr) EXPECT_EQ(SendMessageW(bar(), PBM_GETPOS, 0, 0), 100);
        }
        turnUntil([&] { return bar() == nullptr; });
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        return StateOf(form);
    };
    const auto loadAndRefresh = [&](std::size_t piecewiseFrom) {
        const bool inPieces = piecewiseFrom != std::numeric_limits<std::size_t>::max();
        WriteBytes(windows.HostsPath(), LongHosts(8000));
        testing::ScriptedMessagesPlatform platform;
        platform.systemWindowsDirectory = windows.Path();
        Win32MainWindow form(GetModuleHandleW(nullptr), platform, DpiFunctions::OfUser32(), piecewiseFrom);
        const Form1State loaded =
            fill(form, inPieces, [&] { EXPECT_EQ(form.Open(SW_SHOWNORMAL), StartupOutcome::ShowWindow); });

        WriteBytes(windows.HostsPath(), LongHosts(9000));
        HWND refresh = form.ControlWindow("Command4");
        SetFocus(refresh);
        const Form1State refreshed = fill(form, inPieces, [&] {
            SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(refresh), BN_CLICKED),
                         reinterpret_cast<LPARAM>(refresh));
        });
        EXPECT_TRUE(platform.reported.empty());
        EXPECT_EQ(refreshed.focus, "Command4");
        return std::pair{loaded, refreshed};
    };
    const auto [single, singleRefreshed] = loadAndRefresh(std::numeric_limits<std::size_t>::max());
    const auto [pieces, piecesRefreshed] = loadAndRefresh(1000);
    ExpectSameState(pieces, single);
    ExpectSameState(piecesRefreshed, singleRefreshed);
    EXPECT_NE(piecesRefreshed.text, pieces.text);
}

}  // namespace
}  // namespace quenlix
