#include <windows.h>

#include "platform/Win32Platform.h"
#include "platform/Win32Text.h"
#include "ui/CommandRunner.h"
#include "ui/WindowState.h"

namespace {

// A first window: the title and the hosts text, until the full layout lands.
class PlainWindow : public quenlix::WindowState {
public:
    explicit PlainWindow(HWND window, HWND text) : window_(window), text_(text) {}
    std::u16string Title() override { return Read(window_); }
    void SetTitle(std::u16string_view title) override { SetWindowTextW(window_, quenlix::ToWide(title).c_str()); }
    float OuterWidth() override { return 9300; }
    void SetOuterWidth(float) override {}
    std::u16string Text(quenlix::TextBox box) override { return box == quenlix::TextBox::Text1 ? Read(text_) : u""; }
    void SetText(quenlix::TextBox box, std::u16string_view text) override {
        if (box == quenlix::TextBox::Text1) SetWindowTextW(text_, quenlix::ToWide(text).c_str());
    }
    std::size_t CaretPosition() override { return 0; }

private:
    static std::u16string Read(HWND control) {
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
        return quenlix::FromWide(text);
    }
    HWND window_;
    HWND text_;
};

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"QuenlixForm1";
    RegisterClassW(&windowClass);

    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Hosts", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 620, 490, nullptr, nullptr, instance, nullptr);
    HWND text = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"Text1",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                                    ES_AUTOHSCROLL,
                                8, 8, 497, 449, window, nullptr, instance, nullptr);
    SendMessageW(text, EM_SETLIMITTEXT, 0, 0);

    quenlix::Win32Platform platform;
    PlainWindow state(window, text);
    if (!quenlix::RunStartup(state, platform)) return 1;
    platform.SetOwner(window);
    ShowWindow(window, showCommand);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
