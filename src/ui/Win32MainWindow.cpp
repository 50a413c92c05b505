#include "ui/Win32MainWindow.h"

#include <commctrl.h>

#include <utility>

#include "commands/SaveCommands.h"
#include "platform/Win32Failure.h"
#include "platform/Win32Text.h"
#include "ui/Win32CommonControls.h"
#include "ui/Win32Controls.h"
#include "ui/Win32Dpi.h"
#include "ui/Win32FormKeys.h"
#include "ui/Win32Frame.h"
#include "ui/Win32HostsTextBuffer.h"
#include "ui/Win32HostsTextMenu.h"
#include "ui/Win32TextBoxFocus.h"
#include "ui/resources/ResourceIds.h"

namespace quenlix {

namespace {

constexpr wchar_t ClassName[] = L"QuenlixForm1";
constexpr wchar_t InitialTitle[] = L"Hosts";
// Well clear of IDOK and IDCANCEL, which the dialog manager sends for Enter
// and Esc: those keys must run no command.
constexpr int FirstControlId = 100;
// The tick that inserts the next piece of a hosts text filled in pieces. A
// timer message comes only when nothing else is waiting, so input and
// painting go first.
constexpr UINT_PTR FillTimerId = Win32HostsDocument::FillTimerId;
// The progress bar's height, and its margin inside the hosts text box.
constexpr int FillBarHeight = 270;
constexpr int FillBarMargin = 90;

HICON LoadSharedIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUENLIX), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric), LR_SHARED));
}

void RegisterMainWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadSharedIcon(instance, SM_CXICON, SM_CYICON);
    windowClass.hIconSm = LoadSharedIcon(instance, SM_CXSMICON, SM_CYSMICON);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = ClassName;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) throw LastWin32Failure();
}

void InitCommonControls() {
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof classes;
    classes.dwICC = ICC_STANDARD_CLASSES | ICC_BAR_CLASSES;
    BoundCommonControls().initCommonControlsEx(&classes);
}

UniqueIcon LoadIconForDpi(HINSTANCE instance, int widthMetric, int heightMetric, UINT dpi,
                          const DpiFunctions& functions) {
    return UniqueIcon(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUENLIX), IMAGE_ICON,
                                                    SystemMetricForDpi(widthMetric, dpi, functions),
                                                    SystemMetricForDpi(heightMetric, dpi, functions), 0)));
}

int ClientWidthTwips(bool wide) { return (wide ? WideOuterWidth : NarrowOuterWidth) - 2 * NominalFrame; }

}  // namespace

Win32MainWindow::Win32MainWindow(HINSTANCE instance, Win32Platform& platform, const DpiFunctions& dpiFunctions,
                                 std::size_t piecewiseFrom)
    : instance_(instance), platform_(platform), dpiFunctions_(dpiFunctions), piecewiseFrom_(piecewiseFrom) {
    InitCommonControls();
    RegisterMainWindowClass(instance, WindowProcedure);

    // Placed by the DPI of the primary screen, which the design position is
    // measured on; sized again below by the DPI of the monitor it lands on.
    const UINT systemDpi = SystemDpi(dpiFunctions_);
    const int clientHeight = TwipsToPixels(ClientHeight, systemDpi);
    const SIZE narrow{TwipsToPixels(ClientWidthTwips(false), systemDpi), clientHeight};
    const SIZE wide{TwipsToPixels(ClientWidthTwips(true), systemDpi), clientHeight};
    const RECT outer = InitialOuterRect(narrow, wide, systemDpi, dpiFunctions_);
    if (!CreateWindowExW(MainWindowExtendedStyle, ClassName, InitialTitle, MainWindowStyle, outer.left, outer.top,
                         outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, instance, this))
        throw LastWin32Failure();

    CreateControls();
    document_ = std::make_unique<Win32HostsDocument>(Handle(), BoxWindow(TextBox::HostsText), piecewiseFrom_);
    AddSystemMenuItem();
    ApplyDpi(DpiOf(Handle(), dpiFunctions_));
    ApplySize(nullptr);
}

void Win32MainWindow::CreateControls() {
    const auto controls = Controls();
    // Created in tab order: Tab walks the controls in the order they were
    // made, the label (no tab stop) passed over.
    for (const Control* control : TabOrder()) {
        const int index = static_cast<int>(control - controls.data());
        controls_[index] = CreateControl(*control, Handle(), FirstControlId + index, instance_);
        if (!control->tooltip.empty()) CreateTooltip(Handle(), controls_[index], control->tooltip, instance_);
        // A text box reports no click to its parent; one that has a click or
        // double-click handler is watched for it.
        const bool watched = control->kind == ControlKind::TextBox &&
                             (control->onClick != nullptr || control->onDoubleClick != nullptr);
        if (watched && !BoundCommonControls().setWindowSubclass(controls_[index], TextBoxProcedure,
                                                                static_cast<UINT_PTR>(index),
                                                                reinterpret_cast<DWORD_PTR>(this)))
            throw LastWin32Failure();
    }
    focus_ = ControlWindow(TabOrder().front()->name);
}

void Win32MainWindow::AddSystemMenuItem() {
    const SystemMenuItem& item = HistoryFolderMenuItem();
    HMENU menu = GetSystemMenu(Handle(), FALSE);
    if (menu == nullptr || !AppendMenuW(menu, MF_SEPARATOR, 0, nullptr) ||
        !AppendMenuW(menu, MF_STRING, item.id, ToWide(item.caption).c_str()))
        throw LastWin32Failure();
}

// The window goes first, while every member its last messages use is alive.
Win32MainWindow::~Win32MainWindow() { window_.Reset(); }

StartupOutcome Win32MainWindow::Open(int showCommand) {
    // Until the window is shown, message boxes of the load sequence have no
    // owner: there is nothing on the screen to hold them.
    document_->HoldLongTexts();
    const StartupOutcome outcome = RunStartup(*this, platform_);
    const bool fillWaits = document_->LetGoLongTexts();
    if (outcome != StartupOutcome::ShowWindow) return outcome;
    platform_.SetOwner(Handle());
    // The window shows the fill's state from its first paint on.
    if (fillWaits && !RunAndReport(platform_, [&] { StartFill(); })) return StartupOutcome::Failed;
    ShowWindow(Handle(), showCommand);
    UpdateWindow(Handle());
    return outcome;
}

std::vector<HWND> Win32MainWindow::HeldDuringFill() const {
    std::vector<HWND> held;
    const auto controls = Controls();
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i].kind == ControlKind::Button && controls[i].touches == Touches::HostsFileOrText)
            held.push_back(controls_[i]);
    return held;
}

void Win32MainWindow::StartFill() { document_->StartFill(HeldDuringFill(), FillBarRect(), instance_); }

void Win32MainWindow::OnFillTimer() {
    bool allIn = false;
    if (RunAndReport(platform_, [&] { allIn = document_->OnFillTimer(); })) {
        if (allIn) EndFill();
        return;
    }
    // Half a file must not stay in the box, where a save would write it
    // over the whole: a fill that fails ends the program, as a load that
    // fails before the window is shown does.
    exitCode_ = 1;
    DestroyWindow(Handle());
}

// The focus goes where the load in one go leaves it, unless the user has
// put it somewhere meanwhile.
void Win32MainWindow::EndFill() {
    HWND focus = GetFocus();
    if (GetActiveWindow() == Handle() && (focus == nullptr || focus == Handle()) && focus_ != nullptr)
        SetFocus(focus_);
}

// Over the lower edge of the hosts text box, above its horizontal scroll bar.
RECT Win32MainWindow::FillBarRect() const {
    HWND box = BoxWindow(TextBox::HostsText);
    RECT text;
    GetClientRect(box, &text);
    MapWindowPoints(box, Handle(), reinterpret_cast<POINT*>(&text), 2);
    const int margin = TwipsToPixels(FillBarMargin, dpi_);
    const int height = TwipsToPixels(FillBarHeight, dpi_);
    return {text.left + margin, text.bottom - margin - height, text.right - margin, text.bottom - margin};
}

HWND Win32MainWindow::ControlWindow(std::string_view name) const {
    const Control* control = FindControl(name);
    return control == nullptr ? nullptr : controls_[control - Controls().data()];
}

HWND Win32MainWindow::BoxWindow(TextBox box) const { return controls_[ControlIndexOf(box)]; }

// --- Window procedure: dispatch only ---

// The window finds its object from its first message on.
void Win32MainWindow::Attach(HWND window, const CREATESTRUCTW& creation) {
    auto* self = static_cast<Win32MainWindow*>(creation.lpCreateParams);
    self->window_.Reset(window);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
}

LRESULT CALLBACK Win32MainWindow::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) Attach(window, *reinterpret_cast<const CREATESTRUCTW*>(lParam));
    auto* self = reinterpret_cast<Win32MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);

    switch (message) {
        case WM_COMMAND: self->OnCommand(wParam); return 0;
        case WM_TIMER:
            if (wParam != FillTimerId) break;
            self->OnFillTimer();
            return 0;
        case WM_SYSCOMMAND:
            if (self->OnSystemCommand(wParam)) return 0;
            break;
        case WM_NEXTDLGCTL: self->OnNextDialogControl(wParam, lParam); return 0;
        case WM_ACTIVATE: self->OnActivate(wParam); break;
        case WM_SETFOCUS: self->OnSetFocus(); return 0;
        case WM_DPICHANGED: self->OnDpiChanged(wParam, *reinterpret_cast<const RECT*>(lParam)); return 0;
        case WM_CLOSE: self->OnClose(); return 0;
        case WM_QUERYENDSESSION: return self->OnQueryEndSession() ? TRUE : FALSE;
        case WM_ENDSESSION: self->OnEndSession(wParam != FALSE); return 0;
        case WM_DESTROY: self->OnDestroy(); return 0;
        case WM_NCDESTROY: self->OnNcDestroy(); break;
        default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A text box is clicked once the mouse button is up and the box itself has
// moved the caret to the clicked place: the handler reads the new caret.
LRESULT CALLBACK Win32MainWindow::TextBoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                                   UINT_PTR index, DWORD_PTR self) {
    switch (message) {
        case WM_LBUTTONDBLCLK: {
            const LRESULT result = BoundCommonControls().defSubclassProc(box, message, wParam, lParam);
            reinterpret_cast<Win32MainWindow*>(self)->OnTextBoxDoubleClick(index, lParam);
            return result;
        }
        case WM_LBUTTONUP: {
            const LRESULT result = BoundCommonControls().defSubclassProc(box, message, wParam, lParam);
            reinterpret_cast<Win32MainWindow*>(self)->OnTextBoxClick(index);
            PutOffFocusFrame(box);
            return result;
        }
        case WM_SETFOCUS: return TakeFocusWithoutRedraw(box, wParam, lParam);
        case WM_CONTEXTMENU:
            if (index != ControlIndexOf(TextBox::HostsText)) break;
            ShowHostsTextMenu(*reinterpret_cast<Win32MainWindow*>(self), lParam);
            return 0;
        case WM_TIMER:
            if (IsFocusFrameTimer(wParam)) return DrawFocusFrame(box);
            break;
        case WM_PAINT:
            if (NothingToPaintInside(box)) return PaintNothing(box);
            break;
        case WM_NCDESTROY: BoundCommonControls().removeWindowSubclass(box, TextBoxProcedure, index); break;
        default: break;
    }
    return BoundCommonControls().defSubclassProc(box, message, wParam, lParam);
}

// --- Events ---

void Win32MainWindow::OnCommand(WPARAM wParam) {
    if (HIWORD(wParam) == 1) return RunFormKey(*this, LOWORD(wParam));  // an accelerator
    if (HIWORD(wParam) != BN_CLICKED) return;
    const int index = LOWORD(wParam) - FirstControlId;
    const auto controls = Controls();
    if (index < 0 || index >= static_cast<int>(controls.size())) return;
    const Control& control = controls[index];
    // A disabled button runs nothing, also when Enter reaches it.
    if (!IsWindowEnabled(controls_[index])) return;
    if (control.kind == ControlKind::Button && control.onClick != nullptr) RunWindowCommand(control.onClick);
}

// The system's own commands (move, size, close) go on to the system.
bool Win32MainWindow::OnSystemCommand(WPARAM wParam) {
    const SystemMenuItem& item = HistoryFolderMenuItem();
    if ((wParam & 0xFFF0) != item.id) return false;
    RunWindowCommand(item.onClick);
    return true;
}

void Win32MainWindow::OnTextBoxClick(std::size_t index) {
    if (Controls()[index].onClick == nullptr) return;
    if (Filling() && Controls()[index].touches == Touches::HostsFileOrText) return;
    RunWindowCommand(Controls()[index].onClick);
}

// What a double-click runs reads the hosts text box: nothing while it fills.
// It learns the character under the pointer, not the caret: the box's own
// word selection, in text without spaces (Chinese), may reach into the row
// above. EM_CHARFROMPOS gives 16 bits of it; the rest comes from the first
// row in view, since no box shows 65,536 characters at once.
void Win32MainWindow::OnTextBoxDoubleClick(std::size_t index, LPARAM point) {
    if (Controls()[index].onDoubleClick == nullptr || Filling()) return;
    HWND box = controls_[index];
    const auto low = static_cast<std::size_t>(LOWORD(SendMessageW(box, EM_CHARFROMPOS, 0, point)));
    const auto first = static_cast<std::size_t>(
        SendMessageW(box, EM_LINEINDEX, SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0), 0));
    resultsClick_ = (first & ~std::size_t{0xFFFF}) | low;
    if (resultsClick_ < first) resultsClick_ += 0x10000;
    RunWindowCommand(Controls()[index].onDoubleClick);
}

void Win32MainWindow::RunWindowCommand(const WindowCommand& command) {
    RunAsOneCommand([&] { RunCommand(command, *this, platform_); });
}

// Runs `body` as the one command of the moment; nothing, when another is
// running (it has a message box or a wait open: whatever came in through
// that loop must not start a command in the middle of it). A command that
// read a long hosts file (a refresh) left it waiting: it goes into the box a
// piece at a time, as at the start. If the fill cannot even begin, the
// program ends as a fill that fails does: the window already holds the new
// file's snapshot, and a save of the old text would take it for the file.
// A close asked for while the command ran comes now.
void Win32MainWindow::RunAsOneCommand(const std::function<void()>& body) {
    if (commandRunning_) return;
    commandRunning_ = true;
    document_->HoldLongTexts();
    body();
    commandRunning_ = false;
    endRefused_.reset();
    const bool fillWaits = document_->LetGoLongTexts();
    if (Handle() == nullptr) return;
    if (fillWaits) {
        if (HWND focus = GetFocus(); focus != nullptr && IsChild(Handle(), focus)) focus_ = focus;
        if (!RunAndReport(platform_, [&] { StartFill(); })) {
            exitCode_ = 1;
            DestroyWindow(Handle());
            return;
        }
    }
    if (std::exchange(closeWaiting_, false)) PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

// A box of several lines sends this for Tab and Shift+Tab: it wants every
// key, so the dialog manager leaves the move to it and to its parent.
void Win32MainWindow::OnNextDialogControl(WPARAM wParam, LPARAM lParam) {
    HWND next = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                               : GetNextDlgTabItem(Handle(), GetFocus(), static_cast<BOOL>(wParam != 0));
    if (next == nullptr) return;
    if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(next, EM_SETSEL, 0, -1);
    SetFocus(next);
}

// The focus leaves with the window and comes back to the same control.
void Win32MainWindow::OnActivate(WPARAM wParam) {
    if (LOWORD(wParam) != WA_INACTIVE) return;
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(Handle(), focus)) focus_ = focus;
}

// A control disabled for the fill cannot take the focus; the window keeps
// it until the fill gives the control back.
void Win32MainWindow::OnSetFocus() {
    if (focus_ != nullptr && IsWindow(focus_) && IsWindowEnabled(focus_)) SetFocus(focus_);
}

// No command runs here, so a failure is reported the way a command's is and
// the window goes on at whatever layout it reached.
void Win32MainWindow::OnDpiChanged(WPARAM wParam, const RECT& suggested) {
    RunAndReport(platform_, [&] {
        ApplyDpi(LOWORD(wParam));
        const POINT topLeft{suggested.left, suggested.top};
        ApplySize(&topLeft);
    });
}

// Closing ends the program, once the user has had the choice to save edits
// that are not in the hosts file yet. During a fill nothing can have been
// edited (the box is read-only), so the fill stops and the program ends.
//
// A close that comes while a command runs (another program's WM_CLOSE while
// a question is open) waits for the command's end; a second close during the
// question of this one is the same close.
void Win32MainWindow::OnClose() {
    if (commandRunning_) {
        closeWaiting_ = true;
        return;
    }
    if (Filling()) {
        DestroyWindow(Handle());
        return;
    }
    bool close = false;
    RunAsOneCommand([&] {
        RunAndReport(platform_, [&] { close = MayCloseWindow(*this, platform_); });
        closeWaiting_ = false;
    });
    if (close) DestroyWindow(Handle());
}

// The end of the Windows session is a close that cannot wait: the same
// question, with the reason Windows shows beside the program while it waits.
// While a command runs, the session may not end (the command may be writing
// the hosts file, or asking whether to): the answer is no, with the reason,
// until the command is over. Nothing is saved here of its own accord.
bool Win32MainWindow::OnQueryEndSession() {
    if (commandRunning_) {
        if (!endRefused_) endRefused_.emplace(Handle(), L"正在修改 Hosts 文件");
        return false;
    }
    if (Filling() || !HostsTextModified()) return true;
    const ShutdownBlockReason reason(Handle(), L"Text1 中有未保存的修改");
    bool mayEnd = false;
    RunAsOneCommand([&] { RunAndReport(platform_, [&] { mayEnd = MayCloseWindow(*this, platform_); }); });
    return mayEnd;
}

// Windows ends the session whatever the program said. A command still
// running (this message came through its message box or wait) is not cut
// short here: the window stays and the command goes on as far as the
// session lets it; a write that the end cuts off is what the write journal
// is for.
void Win32MainWindow::OnEndSession(bool) {}

void Win32MainWindow::OnDestroy() {
    document_->StopFill();
    PostQuitMessage(exitCode_);
}

void Win32MainWindow::OnNcDestroy() {
    SetWindowLongPtrW(Handle(), GWLP_USERDATA, 0);
    platform_.SetOwner(nullptr);
    window_.Release();
    controls_.fill(nullptr);
    focus_ = nullptr;
}

// --- Layout at a DPI ---

void Win32MainWindow::ApplyDpi(UINT dpi) {
    dpi_ = dpi;
    UniqueFont font = CreateMessageFont(dpi, dpiFunctions_);
    const auto controls = Controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const RECT rect = PixelRect(controls[i].bounds, dpi);
        SetWindowPos(controls_[i], nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    }
    // The old font is deleted only now that no control uses it any more.
    font_ = std::move(font);
    document_->PlaceFillBar(FillBarRect());

    UniqueIcon big = LoadIconForDpi(instance_, SM_CXICON, SM_CYICON, dpi, dpiFunctions_);
    UniqueIcon small = LoadIconForDpi(instance_, SM_CXSMICON, SM_CYSMICON, dpi, dpiFunctions_);
    if (big.Get() != nullptr) SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.Get()));
    if (small.Get() != nullptr)
        SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Get()));
    bigIcon_ = std::move(big);
    smallIcon_ = std::move(small);
}

// The client area is sized, and the frame added around it, so that the
// narrow width shows exactly the left group whatever the system's frame
// thickness: the outer width counts the client area plus the nominal frame.
SIZE Win32MainWindow::ClientPixels() const {
    return {TwipsToPixels(ClientWidthTwips(wide_), dpi_), TwipsToPixels(ClientHeight, dpi_)};
}

void Win32MainWindow::ApplySize(const POINT* topLeft) {
    const SIZE client = ClientPixels();
    SIZE outer = OuterSize(client, dpi_, dpiFunctions_);
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (topLeft == nullptr ? SWP_NOMOVE : 0);
    if (!SetWindowPos(Handle(), nullptr, topLeft ? topLeft->x : 0, topLeft ? topLeft->y : 0, outer.cx, outer.cy,
                      flags))
        throw LastWin32Failure();

    // The frame actually drawn can differ from the system's estimate for the
    // DPI (a frame not yet redrawn for a new DPI, say); what counts is the
    // client area, so any difference is measured and made up once. A
    // minimised window has no client area to measure.
    if (IsIconic(Handle())) return;
    RECT actual;
    if (!GetClientRect(Handle(), &actual)) throw LastWin32Failure();
    if (actual.right == client.cx && actual.bottom == client.cy) return;
    outer.cx += client.cx - actual.right;
    outer.cy += client.cy - actual.bottom;
    if (!SetWindowPos(Handle(), nullptr, 0, 0, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE))
        throw LastWin32Failure();
}

// --- Window state ---

void Win32MainWindow::SetTitle(std::u16string_view title) {
    if (!SetWindowTextW(Handle(), ToWide(title).c_str())) throw LastWin32Failure();
}

FormWidth Win32MainWindow::Width() {
    RECT client;
    if (!GetClientRect(Handle(), &client)) throw LastWin32Failure();
    if (client.right != ClientPixels().cx) return FormWidth::Other;
    return wide_ ? FormWidth::Wide : FormWidth::Narrow;
}

void Win32MainWindow::SetWidth(FormWidth width) {
    wide_ = width == FormWidth::Wide;
    ApplySize(nullptr);
}

std::u16string Win32MainWindow::Text(TextBox box) {
    if (box == TextBox::HostsText) return document_->Text();
    return BoxText(BoxWindow(box));
}

void Win32MainWindow::SetText(TextBox box, std::u16string_view text) {
    if (box == TextBox::HostsText) {
        document_->SetText(text);
        return;
    }
    // A box that cannot take the whole text must not look as if it had: a
    // save would then write the part it holds over the file.
    const std::wstring shown = ToWide(NulsShown(text));
    if (!SendMessageW(BoxWindow(box), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(shown.c_str())))
        throw Win32Failure(ERROR_NOT_ENOUGH_MEMORY);
}


void Win32MainWindow::Close() { DestroyWindow(Handle()); }

}  // namespace quenlix
