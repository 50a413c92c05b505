#include "ui/Win32HostsDocument.h"

#include "platform/Win32Failure.h"
#include "platform/Win32Text.h"
#include "ui/Win32HostsTextBuffer.h"
#include "ui/Win32HostsTextFill.h"

namespace quenlix {

namespace {

// How long the full bar stays over the filled box: long enough to be seen.
constexpr UINT FullBarMs = 250;

}  // namespace

Win32HostsDocument::Win32HostsDocument(HWND form, HWND box, std::size_t piecewiseFrom)
    : form_(form), box_(box), piecewiseFrom_(piecewiseFrom) {}

Win32HostsDocument::~Win32HostsDocument() { StopFill(); }

// Half a text, read while the box fills, would pass for the file: every
// command that could read it is held meanwhile, and this is the last guard.
void Win32HostsDocument::RefuseWhileFilling() const {
    if (Filling()) throw Win32Failure(ERROR_BUSY);
}

std::u16string Win32HostsDocument::Text() {
    RefuseWhileFilling();
    return waiting_ ? *waiting_ : BoxText(box_);
}

void Win32HostsDocument::SetText(std::u16string_view text) {
    // A fill in progress would go on putting the old text's pieces in.
    StopFill();
    if (holding_ && text.size() >= piecewiseFrom_) {
        // Too long to lay out while the command runs: it goes in once the
        // command has ended, a piece at a time; until then it reads back
        // from here.
        waiting_.emplace(text);
        MarkSaved();
        return;
    }
    // The whole hosts file: no copies on the way.
    waiting_.reset();
    GiveEditBuffer(box_, text);
    MarkSaved();
}

void Win32HostsDocument::Read(const std::function<void(std::u16string_view)>& use) {
    RefuseWhileFilling();
    if (waiting_) {
        use(*waiting_);
        return;
    }
    // A whole hosts file can be tens of megabytes: searches and the picker
    // read the control's own buffer instead of a copy of it.
    const LockedEditBuffer buffer(box_);
    if (!buffer.Valid() || buffer.View().find(NulSymbol) != std::u16string_view::npos) {
        use(Text());
        return;
    }
    use(buffer.View());
}

bool Win32HostsDocument::Modified() { return !waiting_ && SendMessageW(box_, EM_GETMODIFY, 0, 0) != 0; }

void Win32HostsDocument::MarkSaved() { SendMessageW(box_, EM_SETMODIFY, FALSE, 0); }

std::size_t Win32HostsDocument::Capacity() {
    return static_cast<std::size_t>(SendMessageW(box_, EM_GETLIMITTEXT, 0, 0));
}

std::size_t Win32HostsDocument::Caret() { return Selection().begin; }

TextRange Win32HostsDocument::Selection() {
    if (waiting_) return {};
    // The ends come back through the pointers: the packed return value
    // holds only 16 bits of each, too few for a large file.
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(box_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

// The selection is made from its end back to its start, which leaves the
// caret, and so the view that EM_SCROLLCARET brings, at the start of a long
// line.
void Win32HostsDocument::Select(TextRange range) {
    if (waiting_ || Filling()) return;
    SendMessageW(box_, EM_SETSEL, range.end, range.begin);
    SendMessageW(box_, EM_SCROLLCARET, 0, 0);
    SetFocus(box_);
}

// EM_REPLACESEL with undo allowed is the one edit of the box that its own
// Ctrl+Z takes back whole; the box marks itself modified as for typing.
void Win32HostsDocument::Replace(TextRange range, std::u16string_view text, TextRange select) {
    // Nothing may be edited while the box is filled or its text still waits.
    RefuseWhileFilling();
    if (waiting_) throw Win32Failure(ERROR_BUSY);
    const LRESULT before = SendMessageW(box_, WM_GETTEXTLENGTH, 0, 0);
    const std::wstring shown = ToWide(NulsShown(text));
    SendMessageW(box_, EM_SETSEL, range.begin, range.end);
    SendMessageW(box_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(shown.c_str()));
    // A box that could not take the whole text keeps what it had cut short:
    // that must not pass for the edit.
    const LRESULT after = SendMessageW(box_, WM_GETTEXTLENGTH, 0, 0);
    if (static_cast<std::size_t>(after) !=
        static_cast<std::size_t>(before) - (range.end - range.begin) + shown.size()) {
        SendMessageW(box_, EM_UNDO, 0, 0);
        throw Win32Failure(ERROR_NOT_ENOUGH_MEMORY);
    }
    SendMessageW(box_, EM_SETSEL, select.begin, select.end);
    SendMessageW(box_, EM_SCROLLCARET, 0, 0);
}

void Win32HostsDocument::StartFill(std::vector<HWND> held, RECT barRect, HINSTANCE instance) {
    StopFill();
    fill_ = std::make_unique<Win32HostsTextFill>(form_, box_, std::move(held), *waiting_, barRect, instance);
    waiting_.reset();
    if (!SetTimer(form_, FillTimerId, USER_TIMER_MINIMUM, nullptr)) throw LastWin32Failure();
}

bool Win32HostsDocument::Filling() const { return fill_ != nullptr && !fill_->Finished(); }

void Win32HostsDocument::PlaceFillBar(RECT barRect) {
    if (fill_ != nullptr) fill_->Place(barRect);
}

// The tick that inserts the last piece leaves the box as the load in one go
// does; the full bar goes at the next tick, FullBarMs later.
bool Win32HostsDocument::OnFillTimer() {
    if (fill_ == nullptr) return false;
    if (fill_->Finished()) {
        StopFill();
        return false;
    }
    // The timer itself keeps running: timed out by the end of a piece, it
    // brings the next one as soon as the loop is idle.
    try {
        fill_->InsertPiece();
    } catch (...) {
        // No tick may bring another piece while the failure is reported: the
        // box stays hidden, read-only and held until the window goes.
        KillTimer(form_, FillTimerId);
        throw;
    }
    if (!fill_->AllInserted()) return false;
    fill_->Finish();
    if (!SetTimer(form_, FillTimerId, FullBarMs, nullptr)) StopFill();
    return true;
}

void Win32HostsDocument::StopFill() {
    if (fill_ == nullptr) return;
    KillTimer(form_, FillTimerId);
    fill_.reset();
}

}  // namespace quenlix
