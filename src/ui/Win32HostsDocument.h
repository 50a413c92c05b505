#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Encoding.h"
#include "platform/FileSnapshot.h"
#include "platform/WindowState.h"

namespace quenlix {

class Win32HostsTextFill;

// The hosts document as the window shows it: the hosts text in Text1 (or,
// while a command runs, a long text waiting to go in), what the file held
// when that text was loaded or saved (its snapshot and encoding), and the
// fill that puts a long text in a piece at a time. The main window lays it
// out and routes events to it; everything the commands read and write of
// the hosts text goes through here.
class Win32HostsDocument {
public:
    // `box` is the hosts text box; `form` the main window, whose timer ticks
    // the fill. A text of `piecewiseFrom` characters or more set while long
    // texts are held goes in a piece at a time once they are let go.
    Win32HostsDocument(HWND form, HWND box, std::size_t piecewiseFrom);
    ~Win32HostsDocument();
    Win32HostsDocument(const Win32HostsDocument&) = delete;
    Win32HostsDocument& operator=(const Win32HostsDocument&) = delete;

    // The timer of the main window that brings the fill's next piece.
    static constexpr UINT_PTR FillTimerId = 1;

    std::u16string Text();
    // Stops a fill in progress. Filling the box clears its modified flag.
    void SetText(std::u16string_view text);
    void Read(const std::function<void(std::u16string_view)>& use);
    bool Modified();
    void MarkSaved();
    std::optional<FileSnapshot> Snapshot() const { return snapshot_; }
    HostsEncoding Encoding() const { return encoding_; }
    void SetSnapshot(const FileSnapshot& snapshot, HostsEncoding encoding) {
        snapshot_ = snapshot;
        encoding_ = encoding;
    }
    std::size_t Capacity();
    std::size_t Caret();
    TextRange Selection();
    void Replace(TextRange range, std::u16string_view text, TextRange select);
    // Selects `range` and scrolls its start into view; the box takes the
    // focus, since a box without it hides its selection.
    void Select(TextRange range);

    // While a command runs (or the load before the window is shown), a long
    // text is held instead of being laid out, and reads back from here.
    void HoldLongTexts() { holding_ = true; }
    // Ends the hold; whether a long text now waits for StartFill.
    bool LetGoLongTexts() {
        holding_ = false;
        return waiting_.has_value();
    }

    // Starts filling the box with the waiting text: `held` are disabled
    // meanwhile, and the bar lies at `barRect` (the main window's client
    // coordinates).
    void StartFill(std::vector<HWND> held, RECT barRect, HINSTANCE instance);
    // Whether the box is still being filled in pieces.
    bool Filling() const;
    void PlaceFillBar(RECT barRect);
    // The tick of the fill's timer: the next piece, or the end of the full
    // bar. True when the last piece has just gone in. Throws when a piece
    // did not go in: half a file must not stay in the box, where a save
    // would write it over the whole.
    bool OnFillTimer();
    void StopFill();

private:
    void RefuseWhileFilling() const;

    HWND form_;
    HWND box_;
    std::size_t piecewiseFrom_;
    std::optional<FileSnapshot> snapshot_;
    HostsEncoding encoding_ = HostsEncoding::Ansi;
    bool holding_ = false;
    std::optional<std::u16string> waiting_;
    std::unique_ptr<Win32HostsTextFill> fill_;
};

}  // namespace quenlix
