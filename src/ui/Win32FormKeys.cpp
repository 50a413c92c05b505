#include "ui/Win32FormKeys.h"

#include <iterator>

#include "commands/DiagnosisCommands.h"
#include "commands/EntrySwitchCommands.h"
#include "ui/Win32Gui.h"
#include "ui/Win32MainWindow.h"

namespace quenlix {

namespace {

enum : WORD { SaveKey = 0x7F01, RefreshKey, SwitchEntriesKey, FindKey, CheckKey };

// Ctrl+/ is the '/' key of the main keyboard (VK_OEM_2 on the US layouts
// Chinese Windows uses) or of the number pad.
constexpr ACCEL Keys[] = {
    {FCONTROL | FVIRTKEY, 'S', SaveKey},
    {FVIRTKEY, VK_F5, RefreshKey},
    {FVIRTKEY, VK_F8, CheckKey},
    {FCONTROL | FVIRTKEY, VK_OEM_2, SwitchEntriesKey},
    {FCONTROL | FVIRTKEY, VK_DIVIDE, SwitchEntriesKey},
    {FCONTROL | FVIRTKEY, 'F', FindKey},
};

// The key comes as the button's own click would, through its checks (a
// button disabled for the fill runs nothing).
void PressButton(Win32MainWindow& window, const char* name) {
    HWND button = window.ControlWindow(name);
    SendMessageW(window.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

}  // namespace

// Without a table (the system out of memory) the keys do nothing, and
// everything else still works.
HACCEL FormAccelerators() {
    static const UniqueAccelerators keys(
        CreateAcceleratorTableW(const_cast<ACCEL*>(Keys), static_cast<int>(std::size(Keys))));
    return keys.Get();
}

void RunFormKey(Win32MainWindow& window, WORD id) {
    switch (id) {
        case SaveKey: PressButton(window, "Command3"); break;
        case RefreshKey: PressButton(window, "Command4"); break;
        case CheckKey:
            if (window.Filling()) break;  // half a file would be checked
            window.RunWindowCommand(AsCommand<ShowHostsCheck>());
            break;
        case SwitchEntriesKey:
            if (window.Filling() || GetFocus() != window.ControlWindow("Text1")) break;
            window.RunWindowCommand(AsCommand<SwitchSelectedEntries>());
            break;
        case FindKey:
            window.RunWindowCommand([&window](WindowState&, Platform&) {
                HWND input = window.ControlWindow("Text2");
                SetFocus(input);
                SendMessageW(input, EM_SETSEL, 0, -1);
            });
            break;
        default: break;
    }
}

}  // namespace quenlix
