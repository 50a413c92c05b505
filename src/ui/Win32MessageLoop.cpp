#include "ui/Win32MessageLoop.h"

#include "ui/Win32FormKeys.h"

namespace quenlix {

namespace {

bool IsKeyDown(const MSG& message, WPARAM key) { return message.message == WM_KEYDOWN && message.wParam == key; }

// A box of several lines inside a dialog closes its parent on Esc; here Esc
// means nothing at all.
bool IsEscape(const MSG& message) {
    return IsKeyDown(message, VK_ESCAPE) || (message.message == WM_CHAR && message.wParam == VK_ESCAPE);
}

bool IsPushButton(HWND control) {
    return (SendMessageW(control, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

// The main window has no default button, so the dialog manager would turn Enter into an
// IDOK that names no button; the focused button is pressed instead, as it
// reports a click itself.
void PressButton(HWND button) {
    SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

}  // namespace

bool TranslateFormKeyboard(HWND form, MSG& message) {
    if (form == nullptr || message.hwnd == nullptr) return false;
    if (message.hwnd != form && !IsChild(form, message.hwnd)) return false;
    if (TranslateAcceleratorW(form, FormAccelerators(), &message)) return true;
    if (IsEscape(message)) return true;
    if (IsKeyDown(message, VK_RETURN) && message.hwnd != form && IsPushButton(message.hwnd)) {
        PressButton(message.hwnd);
        return true;
    }
    return IsDialogMessageW(form, &message) != FALSE;
}

int RunMessageLoop(HWND form) {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (TranslateFormKeyboard(form, message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace quenlix
