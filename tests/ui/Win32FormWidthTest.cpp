#include <cstdlib>
#include <string>

#include "Win32FormTestSupport.h"
#include "ui/Win32Dpi.h"
#include "ui/Win32Frame.h"

namespace quenlix {
namespace {

using testing::Win32FormTest;
using testing::WindowTextOf;

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool Disjoint(const RECT& a, const RECT& b) {
    RECT common;
    return !IntersectRect(&common, &a, &b);
}

bool InRightGroup(const Control& control) { return control.bounds.left >= 9360; }

class Win32FormWidthTest : public Win32FormTest {
protected:
    void SetUp() override {
        Win32FormTest::SetUp();
        if (GetDpiForWindow(Form()) != USER_DEFAULT_SCREEN_DPI) GTEST_SKIP() << "the screen is not at 96 DPI";
    }

    // Every control of the left group whole in the client area, and at most
    // the right-hand group's absence or presence as asked.
    void ExpectVisibleGroups(bool rightGroupShown) {
        const RECT client = ClientRect();
        for (const Control& control : Controls()) {
            SCOPED_TRACE(std::string(control.name));
            const RECT rect = RectOf(control.name);
            if (!InRightGroup(control) || rightGroupShown)
                EXPECT_TRUE(Inside(rect, client));
            else
                EXPECT_TRUE(Disjoint(rect, client));
        }
    }
};

TEST_F(Win32FormWidthTest, OpensAt9300TwipsShowingTheLeftGroupWholeAndNothingOfTheRight) {
    EXPECT_EQ(form->Width(), FormWidth::Narrow);
    EXPECT_EQ(ClientRect().right, 614);  // 9210 twips
    EXPECT_EQ(ClientRect().bottom, 462);  // 6930 twips
    ExpectVisibleGroups(false);
}

// The fixed frame of this system matches the nominal 45 twips, so the
// window is 9300 twips wide outside as well as by its own count.
TEST_F(Win32FormWidthTest, TheFrameOfTheSystemIsTheNominalOne) {
    RECT frame{0, 0, 614, 462};
    ASSERT_TRUE(AdjustWindowRectExForDpi(&frame, MainWindowStyle, FALSE, MainWindowExtendedStyle, USER_DEFAULT_SCREEN_DPI));
    if (frame.left != -3) GTEST_SKIP() << "this system draws a frame of " << -frame.left << " pixels";
    EXPECT_EQ(OuterRect().right - OuterRect().left, 620);
}

TEST_F(Win32FormWidthTest, TheFrameCannotBeResizedOrMaximised) {
    const LONG_PTR style = GetWindowLongPtrW(Form(), GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_SYSMENU);
}

// Widening keeps the left edge, so the window must open where it fits the
// screen at both widths.
TEST_F(Win32FormWidthTest, OpensWhereItFitsTheScreenNarrowAndWide) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(Form(), MONITOR_DEFAULTTONEAREST), &monitor));
    EXPECT_TRUE(Inside(OuterRect(), monitor.rcWork));
    Click("Command10");
    EXPECT_TRUE(Inside(OuterRect(), monitor.rcWork));

    const RECT& work = monitor.rcWork;
    if (work.left == 0 && work.top == 0 && work.right >= 1400 && work.bottom >= 800) {
        POINT origin{0, 0};
        ClientToScreen(Form(), &origin);
        EXPECT_EQ(origin.x, 501);  // 7515 twips
        EXPECT_EQ(origin.y, 305);  // 4575 twips
    }
}

// The window at the design position: client area at 501, 305 with a frame
// of 3 pixels and a caption of 19; 847 pixels wide when widened.
constexpr RECT Designed{498, 283, 1118, 770};
constexpr LONG WideOuter = 847;

TEST(Win32FormPlacementTest, DesignPositionWhereBothWidthsFitCentredElsewhere) {
    const struct {
        RECT work;
        POINT expected;
    } cases[] = {
        {{0, 0, 1920, 1040}, {498, 283}},                                   // room for both widths
        {{0, 0, 1280, 1024}, {(1280 - WideOuter) / 2, (1024 - 487) / 2}},  // no room for the wide one
        {{0, 30, 800, 400}, {0, 30}},                                       // the title bar stays on it
        {{1920, 0, 3840, 1080}, {1920 + (1920 - WideOuter) / 2, (1080 - 487) / 2}},  // another monitor
    };
    for (const auto& [work, expected] : cases) {
        const RECT placed = PlaceOnWorkArea(Designed, WideOuter, work);
        EXPECT_EQ(placed.left, expected.x) << work.right;
        EXPECT_EQ(placed.top, expected.y) << work.right;
        EXPECT_EQ(placed.right - placed.left, 620);
        EXPECT_EQ(placed.bottom - placed.top, 487);
    }
}

TEST_F(Win32FormWidthTest, ThreeClicksWidenNarrowAndWidenAgain) {
    const RECT before = OuterRect();
    HWND command10 = Child("Command10");

    Click("Command10");
    EXPECT_EQ(form->Width(), FormWidth::Wide);
    EXPECT_EQ(ClientRect().right, 841);  // 12610 twips, rounded
    ExpectVisibleGroups(true);

    Click("Command10");
    EXPECT_EQ(form->Width(), FormWidth::Narrow);
    ExpectVisibleGroups(false);

    Click("Command10");
    EXPECT_EQ(form->Width(), FormWidth::Wide);
    ExpectVisibleGroups(true);

    const RECT after = OuterRect();
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    EXPECT_EQ(WindowTextOf(command10), L"测试功能 \u2192");
    EXPECT_EQ(RectOf("Command10").left, 512);
    EXPECT_TRUE(platform.messages.empty());
}

// A width the window took some other way than through the window state
// (a pixel more or less than either width) reads as neither, and narrows.
TEST_F(Win32FormWidthTest, AnyWidthButTheNarrowOneBecomesNarrow) {
    const struct {
        bool wide;
        int extraPixels;
    } cases[] = {{true, 0}, {false, 1}, {false, -1}, {true, -1}, {true, 1}};
    for (const auto& [wide, extraPixels] : cases) {
        SCOPED_TRACE(std::to_string(wide) + " " + std::to_string(extraPixels));
        form->SetWidth(wide ? FormWidth::Wide : FormWidth::Narrow);
        const RECT outer = OuterRect();
        SetWindowPos(Form(), nullptr, 0, 0, outer.right - outer.left + extraPixels, outer.bottom - outer.top,
                     SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_EQ(form->Width(), extraPixels != 0 ? FormWidth::Other : FormWidth::Wide);
        Click("Command10");
        EXPECT_EQ(form->Width(), FormWidth::Narrow);
        EXPECT_EQ(ClientRect().right, 614);
        ExpectVisibleGroups(false);
    }
}

// A window resized by another program keeps working: a narrow one that lost
// a pixel of its width reads as neither width, and narrows again.
TEST_F(Win32FormWidthTest, AWindowResizedFromOutsideReadsAsNeitherWidthAndNarrows) {
    const RECT outer = OuterRect();
    SetWindowPos(Form(), nullptr, 0, 0, outer.right - outer.left - 1, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(form->Width(), FormWidth::Other);
    Click("Command10");
    EXPECT_EQ(form->Width(), FormWidth::Narrow);
    EXPECT_EQ(ClientRect().right, 614);
}

// On a monitor of another DPI the controls, the font and the window are laid
// out again from the same twips, and the toggle keeps working.
TEST_F(Win32FormWidthTest, ADpiChangeLaysEverythingOutAgain) {
    const auto fontAt = [&] {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Child("Text1"), WM_GETFONT, 0, 0)), sizeof font, &font);
        return font;
    };
    const LONG fontHeightAt96 = std::abs(fontAt().lfHeight);
    RECT suggested = OuterRect();
    SendMessageW(Form(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    Pump();

    const RECT text1 = RectOf("Text1");  // 120, 120, 7575, 6855 twips at 10 twips a pixel
    EXPECT_EQ(text1.left, 12);
    EXPECT_EQ(text1.top, 12);
    EXPECT_EQ(text1.right, 758);
    EXPECT_EQ(text1.bottom, 686);
    EXPECT_EQ(RectOf("Command1").left, 936);
    EXPECT_EQ(ClientRect().right, 921);
    EXPECT_EQ(ClientRect().bottom, 693);
    EXPECT_GT(std::abs(fontAt().lfHeight), fontHeightAt96);
    EXPECT_EQ(OuterRect().left, suggested.left);
    EXPECT_EQ(OuterRect().top, suggested.top);

    EXPECT_EQ(form->Width(), FormWidth::Narrow);
    Click("Command10");
    EXPECT_EQ(form->Width(), FormWidth::Wide);
    EXPECT_EQ(ClientRect().right, 1261);
}

// What the layout put where: the client area, the outer size, every control
// and the font.
std::string LayoutOf(const Win32MainWindow& form) {
    std::string layout;
    const auto add = [&](std::string_view name, const RECT& r) {
        layout += std::string(name) + " " + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                  std::to_string(r.right) + "," + std::to_string(r.bottom) + "\n";
    };
    RECT rect;
    GetClientRect(form.Handle(), &rect);
    add("client", rect);
    GetWindowRect(form.Handle(), &rect);
    add("outer size", {0, 0, rect.right - rect.left, rect.bottom - rect.top});
    for (const Control& control : Controls()) {
        GetWindowRect(form.ControlWindow(control.name), &rect);
        MapWindowPoints(nullptr, form.Handle(), reinterpret_cast<POINT*>(&rect), 2);
        add(control.name, rect);
    }
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form.ControlWindow("Text1"), WM_GETFONT, 0, 0)), sizeof font,
               &font);
    layout += "font " + std::to_string(font.lfHeight) + "\n";
    return layout;
}

// Windows 7, 8 and 8.1 lack the DPI functions of Windows 10. The classic
// calls that stand in for them there lay Form1 out the same, at 96 DPI and
// after a change to a monitor of 144.
TEST_F(Win32FormWidthTest, WithoutTheDpiFunctionsOfWindows10TheLayoutIsTheSame) {
    const DpiFunctions bound = DpiFunctions::OfUser32();
    ASSERT_TRUE(bound.getDpiForWindow && bound.getDpiForSystem && bound.adjustWindowRectExForDpi &&
                bound.getSystemMetricsForDpi && bound.systemParametersInfoForDpi)
        << "this system lacks some of them: the classic calls would be compared with themselves";
    Win32MainWindow classic(GetModuleHandleW(nullptr), platform, DpiFunctions{});
    ASSERT_EQ(classic.Open(SW_SHOWNORMAL), StartupOutcome::ShowWindow);
    Pump();
    EXPECT_EQ(LayoutOf(classic), LayoutOf(*form));

    for (const Win32MainWindow* each : {form.get(), &classic}) {
        RECT suggested;
        GetWindowRect(each->Handle(), &suggested);
        SendMessageW(each->Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    }
    Pump();
    EXPECT_EQ(RectOf("Text1").right, 758);  // the change took
    EXPECT_EQ(LayoutOf(classic), LayoutOf(*form));

    // The icons the window takes are sized by these.
    EXPECT_EQ(SystemDpi(DpiFunctions{}), SystemDpi(bound));
    for (const UINT dpi : {96u, 144u})
        for (const int metric : {SM_CXICON, SM_CYICON, SM_CXSMICON, SM_CYSMICON})
            EXPECT_EQ(SystemMetricForDpi(metric, dpi, DpiFunctions{}), SystemMetricForDpi(metric, dpi, bound))
                << metric << " at " << dpi;
}

}  // namespace
}  // namespace quenlix
