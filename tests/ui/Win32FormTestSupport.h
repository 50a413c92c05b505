#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/MessageStyle.h"
#include "platform/Win32Platform.h"
#include "support/ScriptedMessages.h"
#include "support/Win32DesktopTurn.h"
#include "support/Win32TempFolder.h"
#include "ui/Win32MainWindow.h"
#include "ui/Win32MessageLoop.h"

namespace quenlix::testing {

// The real platform, except that message boxes are answered from a script
// and recorded instead of shown, the error report is recorded, and the
// running system's Windows folder is a test folder (the system's own when
// empty): no test touches the hosts file of the Wine prefix unless it says so.
class ScriptedMessagesPlatform : public Win32Platform, public ScriptedMessages {
public:
    std::u16string systemWindowsDirectory;
    std::optional<std::u16string> programDirectory;  // the test program's own folder when unset
    std::vector<Failure> reported;
    // The rights question's answer, and a stand-in for the second instance
    // with rights, for the tests of a refused write; the system's own when unset.
    std::optional<bool> administrator;
    std::function<ProgramExit(std::u16string_view arguments)> elevatedInstanceStandIn;
    // The hosts file refuses every write, as it does a user without rights.
    bool hostsRefused = false;

    int ShowMessage(std::u16string_view prompt, std::uint32_t style,
                    std::optional<std::u16string_view> title) override {
        return Respond(prompt, style, title);
    }
    void ReportFailure(const Failure& failure) override { reported.push_back(failure); }
    std::u16string ProgramDirectory() override {
        return programDirectory ? *programDirectory : Win32Platform::ProgramDirectory();
    }
    std::u16string SystemWindowsDirectory() override {
        return systemWindowsDirectory.empty() ? Win32Platform::SystemWindowsDirectory() : systemWindowsDirectory;
    }
    bool IsAdministrator() override { return administrator.value_or(Win32Platform::IsAdministrator()); }
    ProgramExit RunElevatedInstance(std::u16string_view arguments, std::chrono::milliseconds timeout) override {
        if (elevatedInstanceStandIn) return elevatedInstanceStandIn(arguments);
        return Win32Platform::RunElevatedInstance(arguments, timeout);
    }
    std::unique_ptr<WritableFile> OpenForWriting(std::u16string_view path, Creation creation) override {
        if (hostsRefused && path.ends_with(u"\\hosts")) throw Failure(FailureNumber::AccessDenied, u"拒绝访问。");
        return Win32Platform::OpenForWriting(path, creation);
    }
    // The program's own files (history copies, the write journal) go to a
    // folder of this test's: tests side by side never find each other's
    // journal at their start.
    std::u16string LocalAppDataDirectory() override {
        return std::u16string(appData.Path().begin(), appData.Path().end());
    }

    Win32TempFolder appData;
};

inline std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

inline std::wstring WindowTextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

// A Windows folder with a hosts file, under the temporary folder.
class TestWindowsFolder {
public:
    static constexpr char InitialHosts[] = "127.0.0.1 localhost\r\n::1 localhost\r\n";

    TestWindowsFolder() {
        CreateDirectoryW((folder_ / L"system32").c_str(), nullptr);
        CreateDirectoryW((folder_ / L"system32\\drivers").c_str(), nullptr);
        CreateDirectoryW((folder_ / L"system32\\drivers\\etc").c_str(), nullptr);
        WriteBytes(HostsPath(), InitialHosts);
    }

    std::u16string Path() const { return std::u16string(folder_.Path().begin(), folder_.Path().end()); }
    std::wstring HostsPath() const { return folder_ / L"system32\\drivers\\etc\\hosts"; }
    std::wstring EtcPath() const { return folder_ / L"system32\\drivers\\etc"; }

private:
    Win32TempFolder folder_;
};

// Form1 in this process, opened on a test Windows folder with the hosts file in
// place, and the keyboard and mouse driven through its own message handling.
class Win32FormTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform.systemWindowsDirectory = windows.Path();
        form = std::make_unique<Win32MainWindow>(GetModuleHandleW(nullptr), platform);
        ASSERT_EQ(form->Open(SW_SHOWNORMAL), StartupOutcome::ShowWindow);
        Pump();
    }

    void TearDown() override {
        SetShift(false);
        turn.Release();
    }

    HWND Form() const { return form->Handle(); }
    HWND Child(std::string_view name) const { return form->ControlWindow(name); }

    std::string FocusName() const {
        HWND focus = GetFocus();
        for (const quenlix::Control& control : Controls())
            if (Child(control.name) == focus) return std::string(control.name);
        return focus == nullptr ? "<none>" : focus == Form() ? "<Form1>" : "<other>";
    }

    // Runs every waiting message through the loop the program uses.
    void Pump() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = true;
                continue;
            }
            if (TranslateFormKeyboard(Form(), message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    static void SetShift(bool down) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_SHIFT] = down ? 0x80 : 0;
        SetKeyboardState(keys);
    }

    // One key pressed and released on the focused control.
    void PressKey(WPARAM key, bool shift = false) {
        SetShift(shift);
        const UINT scan = MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
        PostMessageW(GetFocus(), WM_KEYDOWN, key, 1 | (scan << 16));
        Pump();
        PostMessageW(GetFocus(), WM_KEYUP, key, 1 | (scan << 16) | 0xC0000000u);
        Pump();
        SetShift(false);
    }

    void Type(HWND box, std::wstring_view text) {
        for (const wchar_t c : text) SendMessageW(box, WM_CHAR, c, 1);
    }

    // A click of the left mouse button at a point of a control's client area.
    void ClickAt(HWND control, POINT point) {
        const LPARAM where = MAKELPARAM(point.x, point.y);
        PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, where);
        PostMessageW(control, WM_LBUTTONUP, 0, where);
        Pump();
    }

    void Click(std::string_view button) {
        SendMessageW(Child(button), BM_CLICK, 0, 0);
        Pump();
    }

    RECT ClientRect() const {
        RECT client;
        GetClientRect(Form(), &client);
        return client;
    }

    // A control's rectangle in Form1's client coordinates.
    RECT RectOf(std::string_view name) const {
        RECT rect;
        GetWindowRect(Child(name), &rect);
        MapWindowPoints(nullptr, Form(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    RECT OuterRect() const {
        RECT rect;
        GetWindowRect(Form(), &rect);
        return rect;
    }

    DesktopTurn turn;  // taken before the window is made
    TestWindowsFolder windows;
    ScriptedMessagesPlatform platform;
    std::unique_ptr<Win32MainWindow> form;
    bool quit = false;
};

}  // namespace quenlix::testing
