#include "ui/Win32HostsTextFill.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/Win32Failure.h"
#include "platform/Win32Text.h"
#include "ui/Win32HostsTextBuffer.h"

namespace quenlix {

namespace {

// About 30 ms of layout under Wine; the pieces after it are sized by time.
constexpr std::size_t FirstPieceSize = 16 * 1024;

std::wstring TitleOf(HWND window) {
    std::wstring title(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    title.resize(static_cast<std::size_t>(GetWindowTextW(window, title.data(), static_cast<int>(title.size()))));
    return title;
}

// The time of a piece, from the performance counter: the standard clocks
// would bring in the threads library's clock functions, some of which
// Windows 7 lacks.
double NowMs() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::size_t BoxLength(HWND box) { return static_cast<std::size_t>(SendMessageW(box, WM_GETTEXTLENGTH, 0, 0)); }

}  // namespace

Win32HostsTextFill::Win32HostsTextFill(HWND form, HWND box, std::vector<HWND> held, std::u16string_view text,
                                       RECT barRect, HINSTANCE instance)
    : form_(form),
      box_(box),
      held_(std::move(held)),
      text_(NulsShown(text)),
      pieces_(text_, FirstPieceSize),
      title_(TitleOf(form)),
      boxStyle_(GetWindowLongPtrW(box, GWL_STYLE)) {
    // The box refuses what lies beyond its limit, and a part of the file
    // shown as the whole would be saved as the whole.
    if (static_cast<std::size_t>(SendMessageW(box_, EM_GETLIMITTEXT, 0, 0)) < text_.size())
        throw Win32Failure(ERROR_NOT_ENOUGH_MEMORY);
    // An empty box stands where the hosts text box stood, so that the window
    // keeps its shape while the box is away. It and the bar come first:
    // should either fail, the box and the controls are still as they were.
    stand_.Reset(CreateWindowExW(WS_EX_CLIENTEDGE, WC_STATICW, nullptr, WS_CHILD | WS_VISIBLE | SS_WHITERECT, 0, 0, 0,
                                 0, form_, nullptr, instance, nullptr));
    if (!stand_.Valid()) throw LastWin32Failure();
    bar_.Reset(CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, form_, nullptr,
                               instance, nullptr));
    if (!bar_.Valid()) throw LastWin32Failure();
    GiveEditBuffer(box_, {}, text_.size());
    // Hidden, the box lays out its pieces for much less: under Wine a shown
    // box redraws both scroll bars, scrolls to the caret and paints at every
    // piece, 25 to 45 ms a piece, a quarter or more of the whole fill.
    // Nothing in it could be used meanwhile anyway; the bar and the title
    // tell how far it has got.
    ShowWindow(box_, SW_HIDE);
    // Shown again at the end while the bar still lies over it, the box must
    // leave the bar alone when it paints.
    SetWindowLongPtrW(box_, GWL_STYLE, GetWindowLongPtrW(box_, GWL_STYLE) | WS_CLIPSIBLINGS);
    SendMessageW(box_, EM_SETREADONLY, TRUE, 0);
    for (HWND control : held_) EnableWindow(control, FALSE);
    SendMessageW(bar_.Get(), PBM_SETRANGE32, 0, 100);
    Place(barRect);
    ShowProgress();
}

void Win32HostsTextFill::Place(RECT barRect) {
    if (stand_.Valid()) {
        RECT box;
        GetWindowRect(box_, &box);
        MapWindowPoints(nullptr, form_, reinterpret_cast<POINT*>(&box), 2);
        SetWindowPos(stand_.Get(), nullptr, box.left, box.top, box.right - box.left, box.bottom - box.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetWindowPos(bar_.Get(), HWND_TOP, barRect.left, barRect.top, barRect.right - barRect.left,
                 barRect.bottom - barRect.top, SWP_NOACTIVATE);
}

void Win32HostsTextFill::InsertPiece() {
    const std::size_t start = pieces_.PieceStart();
    const std::size_t end = pieces_.PieceEnd();
    const std::size_t before = BoxLength(box_);
    const double begin = NowMs();

    // The last piece left the caret at its end.
    SendMessageW(box_, EM_SETSEL, 0, 0);
    // EM_REPLACESEL reads up to a NUL: the piece is ended in place for the
    // length of the call rather than copied.
    const char16_t after = text_[end];
    text_[end] = u'\0';
    SendMessageW(box_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text_.data() + start));
    text_[end] = after;

    // EN_MAXTEXT and EN_ERRSPACE tell the parent, not the caller: the
    // length is what shows whether the whole piece went in.
    if (BoxLength(box_) != before + (end - start)) throw Win32Failure(ERROR_NOT_ENOUGH_MEMORY);
    pieces_.PieceInserted(NowMs() - begin);
    ShowProgress();
}

void Win32HostsTextFill::ShowProgress() {
    const int percent = pieces_.Percent();
    if (percent == percentShown_) return;
    percentShown_ = percent;
    SendMessageW(bar_.Get(), PBM_SETPOS, static_cast<WPARAM>(percent), 0);
    SetWindowTextW(form_, ToWide(FillingTitle(FromWide(title_), percent)).c_str());
}

void Win32HostsTextFill::Finish() {
    SendMessageW(box_, EM_EMPTYUNDOBUFFER, 0, 0);
    SendMessageW(box_, EM_SETMODIFY, FALSE, 0);
    SendMessageW(box_, EM_SETSEL, 0, 0);
    SendMessageW(box_, WM_VSCROLL, SB_TOP, 0);
    SendMessageW(box_, WM_HSCROLL, SB_LEFT, 0);
    GiveBack();
}

Win32HostsTextFill::~Win32HostsTextFill() {
    GiveBack();
    bar_.Reset();
    SetWindowLongPtrW(box_, GWL_STYLE, boxStyle_);
}

void Win32HostsTextFill::GiveBack() {
    if (givenBack_) return;
    givenBack_ = true;
    SendMessageW(box_, EM_SETREADONLY, (boxStyle_ & ES_READONLY) != 0, 0);
    ShowWindow(box_, SW_SHOWNA);
    stand_.Reset();
    for (HWND control : held_) EnableWindow(control, TRUE);
    SetWindowTextW(form_, title_.c_str());
}

}  // namespace quenlix
