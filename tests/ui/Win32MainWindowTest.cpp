#include "Win32FormTestSupport.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace quenlix {
namespace {

using testing::Win32FormTest;
using testing::WindowTextOf;

struct Expected {
    const char* name;
    const wchar_t* windowClass;
    const wchar_t* caption;
    RECT pixels;  // at 96 DPI: 15 twips a pixel, edges rounded
};

// The design table as a user measures it on a 96-DPI screen.
const Expected Form1AtStart[] = {
    {"Text1", L"Edit", L"Text1", {8, 8, 505, 457}},
    {"Command4", L"Button", L"刷新", {512, 8, 609, 35}},
    {"Command3", L"Button", L"保存到 Hosts", {512, 47, 609, 73}},
    {"Command14", L"Button", L"备份 Host", {512, 88, 609, 115}},
    {"Command15", L"Button", L"Hosts 备份还原", {512, 128, 609, 155}},
    {"Label1", L"Static", L"直接在文本框中修改并保存\r\n", {520, 224, 593, 249}},
    {"Command10", L"Button", L"测试功能 \u2192", {512, 264, 609, 291}},
    {"Command6", L"Button", L"还原默认 Hosts", {512, 312, 609, 339}},
    {"Command11", L"Button", L"打开所在文件夹", {512, 352, 609, 379}},
    {"Command12", L"Button", L"记事本打开Hosts", {512, 392, 609, 419}},
    {"Command13", L"Button", L"获取访问限权", {512, 430, 609, 457}},
    {"Text2", L"Edit", L"Text2", {624, 16, 825, 41}},
    {"Text3", L"Edit", L"Text3", {624, 64, 825, 89}},
    {"Command1", L"Button", L"追加Text2", {624, 96, 737, 129}},
    {"Command2", L"Button", L"追加Text2+Text3", {624, 136, 737, 169}},
    {"Command5", L"Button", L"判断是否重复 追加", {624, 176, 737, 209}},
    {"Text4", L"Edit", L"Text4", {624, 248, 825, 337}},
    {"Command7", L"Button", L"查找=Text2 显示相同", {624, 352, 769, 377}},
    {"Command8", L"Button", L"查找含Text2 显示", {624, 392, 769, 417}},
    {"Command9", L"Button", L"查找含Text2 全部显示", {624, 432, 769, 457}},
};

const std::vector<std::string> TabStops{"Command1", "Text1",     "Text2",     "Command2",  "Command3",
                                        "Command4", "Command5",  "Command6",  "Text3",     "Command7",
                                        "Text4",    "Command8",  "Command9",  "Command10", "Command11",
                                        "Command12", "Command13", "Command14", "Command15"};

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

LONG_PTR StyleOf(HWND window) { return GetWindowLongPtrW(window, GWL_STYLE); }

// --- The controls as created ---

// Form1 created but not yet loaded: every box still shows its own name.
TEST(Win32MainWindowControlsTest, EveryControlHasItsClassCaptionAndRectangleAt96Dpi) {
    testing::TestWindowsFolder windows;
    testing::ScriptedMessagesPlatform platform;
    platform.systemWindowsDirectory = windows.Path();
    Win32MainWindow form(GetModuleHandleW(nullptr), platform);
    if (GetDpiForWindow(form.Handle()) != USER_DEFAULT_SCREEN_DPI) GTEST_SKIP() << "the screen is not at 96 DPI";

    for (const Expected& expected : Form1AtStart) {
        SCOPED_TRACE(expected.name);
        HWND control = form.ControlWindow(expected.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(CompareStringOrdinal(ClassOf(control).c_str(), -1, expected.windowClass, -1, TRUE), CSTR_EQUAL)
            << "class";
        EXPECT_EQ(WindowTextOf(control), expected.caption);
        RECT rect;
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, form.Handle(), reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(rect.left, expected.pixels.left);
        EXPECT_EQ(rect.top, expected.pixels.top);
        EXPECT_EQ(rect.right, expected.pixels.right);
        EXPECT_EQ(rect.bottom, expected.pixels.bottom);
        EXPECT_TRUE(IsWindowVisible(control) || !IsWindowVisible(form.Handle()));
        EXPECT_TRUE(IsWindowEnabled(control));
    }
    EXPECT_EQ(WindowTextOf(form.Handle()), L"Hosts");
    EXPECT_EQ(GetMenu(form.Handle()), nullptr);
}

TEST_F(Win32FormTest, EveryControlUsesTheSystemMessageFont) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                                           GetDpiForWindow(Form())));
    for (const Control& control : Controls()) {
        SCOPED_TRACE(std::string(control.name));
        const auto font = reinterpret_cast<HFONT>(SendMessageW(Child(control.name), WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr);
        LOGFONTW used{};
        ASSERT_NE(GetObjectW(font, sizeof used, &used), 0);
        EXPECT_STREQ(used.lfFaceName, metrics.lfMessageFont.lfFaceName);
        EXPECT_EQ(used.lfHeight, metrics.lfMessageFont.lfHeight);
    }
}

TEST_F(Win32FormTest, AllBoxesAreEditableLeftAlignedAndSunken) {
    for (const char* name : {"Text1", "Text2", "Text3", "Text4"}) {
        SCOPED_TRACE(name);
        const LONG_PTR style = StyleOf(Child(name));
        EXPECT_FALSE(style & ES_READONLY);
        EXPECT_FALSE(style & (ES_CENTER | ES_RIGHT));
        EXPECT_TRUE(style & WS_TABSTOP);
        EXPECT_TRUE(GetWindowLongPtrW(Child(name), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    }
    EXPECT_FALSE(StyleOf(Child("Text2")) & ES_MULTILINE);
    EXPECT_FALSE(StyleOf(Child("Text3")) & ES_MULTILINE);
}

TEST_F(Win32FormTest, Text1KeepsALongLineOnOneRowWithBothScrollBars) {
    HWND text1 = Child("Text1");
    SetWindowTextW(text1, std::wstring(2000, L'x').c_str());
    EXPECT_EQ(SendMessageW(text1, EM_GETLINECOUNT, 0, 0), 1);
    const LONG_PTR style = StyleOf(text1);
    EXPECT_TRUE(style & WS_HSCROLL);
    EXPECT_TRUE(style & WS_VSCROLL);
}

TEST_F(Win32FormTest, Text4WrapsALongLineAndHasNoScrollBar) {
    HWND text4 = Child("Text4");
    SetWindowTextW(text4, std::wstring(400, L'x').c_str());
    EXPECT_GT(SendMessageW(text4, EM_GETLINECOUNT, 0, 0), 1);
    const LONG_PTR style = StyleOf(text4);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_FALSE(style & (WS_HSCROLL | WS_VSCROLL));
}

// Edit boxes stop taking typed text at their limit, 30,000 characters or so
// unless it is lifted.
TEST_F(Win32FormTest, EveryBoxTakesTextTypedBeyond32767Characters) {
    for (const char* name : {"Text1", "Text2", "Text3", "Text4"}) {
        SCOPED_TRACE(name);
        HWND box = Child(name);
        SetWindowTextW(box, L"");
        SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(std::wstring(40000, L'a').c_str()));
        Type(box, L"bcd");
        const std::wstring text = WindowTextOf(box);
        EXPECT_EQ(text.size(), 40003u);
        EXPECT_EQ(text.substr(39998), L"aabcd");
    }
}

TEST_F(Win32FormTest, LabelIsAWrappingStaticWithoutBorderOrTabStop) {
    HWND label = Child("Label1");
    const LONG_PTR style = StyleOf(label);
    EXPECT_EQ(style & SS_TYPEMASK, SS_LEFT);
    EXPECT_FALSE(style & (WS_TABSTOP | WS_BORDER | SS_SUNKEN));
    EXPECT_FALSE(GetWindowLongPtrW(label, GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
}

TEST_F(Win32FormTest, Command13ShowsTheRightsTooltip) {
    struct Search {
        HWND owner;
        std::vector<HWND> tooltips;
    } search{Form(), {}};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto* found = reinterpret_cast<Search*>(data);
            if (ClassOf(window) == TOOLTIPS_CLASSW && GetWindow(window, GW_OWNER) == found->owner)
                found->tooltips.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    ASSERT_EQ(search.tooltips.size(), 1u);
    HWND tooltip = search.tooltips.front();
    ASSERT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);

    wchar_t text[80] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.lpszText = text;
    ASSERT_TRUE(SendMessageW(tooltip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_EQ(reinterpret_cast<HWND>(tool.uId), Child("Command13"));
    EXPECT_TRUE(tool.uFlags & TTF_IDISHWND);
    EXPECT_STREQ(text, L"需管理员权限运行");
}

// --- Keyboard ---

TEST_F(Win32FormTest, FocusStartsOnCommand1BeyondTheRightEdge) { EXPECT_EQ(FocusName(), "Command1"); }

TEST_F(Win32FormTest, TabWalksEveryTabStopInOrderAndComesRoundAgain) {
    std::vector<std::string> walked{FocusName()};
    for (std::size_t i = 0; i < TabStops.size(); ++i) {
        PressKey(VK_TAB);
        walked.push_back(FocusName());
    }
    std::vector<std::string> expected = TabStops;
    expected.push_back("Command1");
    EXPECT_EQ(walked, expected);
}

TEST_F(Win32FormTest, ShiftTabWalksBackwards) {
    std::vector<std::string> walked{FocusName()};
    for (std::size_t i = 0; i < TabStops.size(); ++i) {
        PressKey(VK_TAB, true);
        walked.push_back(FocusName());
    }
    std::vector<std::string> expected{"Command1"};
    expected.insert(expected.end(), TabStops.rbegin(), TabStops.rend() - 1);
    expected.push_back("Command1");
    EXPECT_EQ(walked, expected);
}

TEST_F(Win32FormTest, SpaceOnTheFocusedCommand1AppendsText2) {
    ASSERT_EQ(FocusName(), "Command1");
    PressKey(VK_SPACE);
    EXPECT_EQ(testing::ReadBytes(windows.HostsPath()), std::string(testing::TestWindowsFolder::InitialHosts) + "Text2\r\n");
    EXPECT_EQ(FocusName(), "Command1");
}

TEST_F(Win32FormTest, EnterOnAFocusedButtonPressesIt) {
    ASSERT_EQ(FocusName(), "Command1");
    PressKey(VK_RETURN);
    EXPECT_EQ(testing::ReadBytes(windows.HostsPath()), std::string(testing::TestWindowsFolder::InitialHosts) + "Text2\r\n");
}

// A hidden box takes what is typed, and Tab reaches a hidden button that the
// keyboard then presses: Text2 → Command2 appends "Text2 Text3".
TEST_F(Win32FormTest, TheHiddenGroupWorksFromTheKeyboardInTheNarrowWindow) {
    PressKey(VK_TAB);  // Text1
    PressKey(VK_TAB);  // Text2
    ASSERT_EQ(FocusName(), "Text2");
    Type(Child("Text2"), L"10.0.0.9");
    PressKey(VK_TAB);
    ASSERT_EQ(FocusName(), "Command2");
    PressKey(VK_SPACE);
    EXPECT_EQ(form->Text(TextBox::Address), u"10.0.0.9");
    EXPECT_EQ(testing::ReadBytes(windows.HostsPath()),
              std::string(testing::TestWindowsFolder::InitialHosts) + "10.0.0.9 Text3\r\n");
    EXPECT_EQ(form->Width(), FormWidth::Narrow);
}

TEST_F(Win32FormTest, EnterInText1BreaksTheLine) {
    HWND text1 = Child("Text1");
    SetFocus(text1);
    SetWindowTextW(text1, L"ab");
    SendMessageW(text1, EM_SETSEL, 2, 2);
    PressKey(VK_RETURN);
    EXPECT_EQ(WindowTextOf(text1), L"ab\r\n");
    EXPECT_EQ(FocusName(), "Text1");
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(Win32FormTest, EnterInASingleLineBoxRunsNoCommand) {
    SetFocus(Child("Text2"));
    PressKey(VK_RETURN);
    SetFocus(Child("Text3"));
    PressKey(VK_RETURN);
    EXPECT_EQ(testing::ReadBytes(windows.HostsPath()), testing::TestWindowsFolder::InitialHosts);
    EXPECT_TRUE(platform.messages.empty());
}

// A box of several lines asks its parent to close on Esc: here it must not.
TEST_F(Win32FormTest, EscDoesNothingAnywhere) {
    for (const char* name : {"Text1", "Text4", "Text2", "Command1"}) {
        SCOPED_TRACE(name);
        SetFocus(Child(name));
        PressKey(VK_ESCAPE);
        ASSERT_TRUE(IsWindow(Form()));
        EXPECT_FALSE(quit);
        EXPECT_EQ(FocusName(), name);
    }
    EXPECT_EQ(testing::ReadBytes(windows.HostsPath()), testing::TestWindowsFolder::InitialHosts);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(Win32FormTest, FocusComesBackToTheSameControlAfterTheWindowWasInactive) {
    SetFocus(Child("Text3"));
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
    SetActiveWindow(other);
    Pump();
    SetActiveWindow(Form());
    Pump();
    EXPECT_EQ(FocusName(), "Text3");
    DestroyWindow(other);
}

}  // namespace
}  // namespace quenlix
