#include "ui/Win32GroupNameDialog.h"

#include "edit/EntrySwitch.h"
#include "platform/Win32Failure.h"
#include "platform/Win32Text.h"
#include "ui/resources/ResourceIds.h"

namespace quenlix {

namespace {

std::u16string DialogItemText(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(item)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
    return FromWide(text);
}

// OK takes a name the program can write as a group mark; for any other the
// note says why, and the box gets the focus back with its text selected.
void OnOk(HWND dialog) {
    auto& name = *reinterpret_cast<std::u16string*>(GetWindowLongPtrW(dialog, DWLP_USER));
    name = DialogItemText(dialog, IDC_GROUP_NAME);
    if (IsGroupName(name)) {
        EndDialog(dialog, IDOK);
        return;
    }
    const bool breaks = name.find_first_of(u"\r\n") != std::u16string::npos;
    SetDlgItemTextW(dialog, IDC_GROUP_NAME_NOTE, breaks ? L"名称不能换行" : L"请输入名称");
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_GROUP_NAME)), TRUE);
}

INT_PTR CALLBACK GroupNameProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: SetWindowLongPtrW(dialog, DWLP_USER, lParam); return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK: OnOk(dialog); return TRUE;
                case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
                case IDC_GROUP_NAME:  // the note goes once the user types again
                    if (HIWORD(wParam) == EN_CHANGE) SetDlgItemTextW(dialog, IDC_GROUP_NAME_NOTE, L"");
                    return TRUE;
                default: return FALSE;
            }
        default: return FALSE;
    }
}

}  // namespace

std::optional<std::u16string> AskGroupName(HWND owner) {
    std::u16string name;
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
    const INT_PTR result = DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_GROUP_NAME), owner, GroupNameProcedure,
                                           reinterpret_cast<LPARAM>(&name));
    if (result == -1) throw LastWin32Failure();
    if (result != IDOK) return std::nullopt;
    return name;
}

}  // namespace quenlix
