#include "ui/Win32Controls.h"

#include <commctrl.h>

#include "platform/Win32Failure.h"
#include "platform/Win32Text.h"

namespace quenlix {

namespace {

const wchar_t* ClassOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::TextBox: return WC_EDITW;
        case ControlKind::Button: return WC_BUTTONW;
        case ControlKind::Label: break;
    }
    return WC_STATICW;
}

// ES_WANTRETURN: with no default button, Enter in a box of several lines
// breaks the line. Single-line boxes scroll sideways so that their length is
// not bounded by their width.
DWORD TextBoxStyle(TextBoxLines lines) {
    switch (lines) {
        case TextBoxLines::ScrollingLines:
            return ES_MULTILINE | ES_WANTRETURN | ES_AUTOHSCROLL | ES_AUTOVSCROLL | WS_HSCROLL | WS_VSCROLL;
        case TextBoxLines::WrappingLines: return ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
        case TextBoxLines::SingleLine:
        case TextBoxLines::None: break;
    }
    return ES_AUTOHSCROLL;
}

DWORD StyleOf(const Control& control) {
    const DWORD common = WS_CHILD | WS_VISIBLE;
    switch (control.kind) {
        case ControlKind::TextBox: return common | WS_TABSTOP | ES_LEFT | TextBoxStyle(control.lines);
        case ControlKind::Button: return common | WS_TABSTOP | BS_PUSHBUTTON;
        case ControlKind::Label: break;
    }
    // The label never takes the focus, so it is no tab stop.
    return common | SS_LEFT;
}

DWORD ExtendedStyleOf(const Control& control) {
    return control.kind == ControlKind::TextBox ? WS_EX_CLIENTEDGE : 0;
}

}  // namespace

HWND CreateControl(const Control& control, HWND parent, int id, HINSTANCE instance) {
    const std::wstring caption = ToWide(control.caption);
    HWND window = CreateWindowExW(ExtendedStyleOf(control), ClassOf(control.kind), caption.c_str(), StyleOf(control),
                                  0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                                  nullptr);
    if (window == nullptr) throw LastWin32Failure();
    // Edit boxes otherwise stop taking text at 30,000 or so characters; a
    // large hosts file must load whole and stay editable. The limit stays
    // within what a window's text length (an int) can count.
    if (control.kind == ControlKind::TextBox) SendMessageW(window, EM_SETLIMITTEXT, TextBoxCapacity, 0);
    return window;
}

HWND CreateTooltip(HWND owner, HWND tool, std::u16string_view text, HINSTANCE instance) {
    HWND tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                   instance, nullptr);
    if (tooltip == nullptr) throw LastWin32Failure();

    std::wstring wideText = ToWide(text);  // the tooltip copies it
    TTTOOLINFOW toolInfo{};
    // The version-2 size is the one every version of the common controls
    // accepts; the full structure is refused by the older ones.
    toolInfo.cbSize = TTTOOLINFOW_V2_SIZE;
    toolInfo.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    toolInfo.hwnd = owner;
    toolInfo.uId = reinterpret_cast<UINT_PTR>(tool);
    toolInfo.lpszText = wideText.data();
    if (!SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&toolInfo))) {
        DestroyWindow(tooltip);
        throw Win32Failure(ERROR_INVALID_PARAMETER);
    }
    return tooltip;
}

}  // namespace quenlix
