#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Win32Platform.h"
#include "platform/WindowState.h"
#include "ui/CommandRunner.h"
#include "ui/Layout.h"
#include "ui/Win32Dpi.h"
#include "ui/PiecewiseFill.h"
#include "ui/Win32Gui.h"
#include "ui/Win32HostsDocument.h"
#include "ui/Win32ShutdownBlockReason.h"

namespace quenlix {

// The main window: the one window of the program, its twenty controls created from the
// layout table, and the window state the commands read and write. One
// command runs at a time: its message boxes and waits run message loops,
// and nothing that comes in through them (a click, a key, a close, the end
// of the session) starts another command in the middle of it.

class Win32MainWindow final : public WindowState {
public:
    // Creates the window and its controls, hidden, at the narrow width,
    // measured with these DPI functions (those of this system, unless a test
    // asks for the classic calls a system without them gets). A hosts text
    // of `piecewiseFrom` characters or more, loaded before the window is
    // first shown, goes into the hosts text box in pieces once it is shown.
    Win32MainWindow(HINSTANCE instance, Win32Platform& platform,
                    const DpiFunctions& dpiFunctions = DpiFunctions::OfUser32(),
                    std::size_t piecewiseFrom = PiecewiseFillThreshold);
    ~Win32MainWindow() override;
    Win32MainWindow(const Win32MainWindow&) = delete;
    Win32MainWindow& operator=(const Win32MainWindow&) = delete;

    // Runs the load sequence; unless the program is to end, message boxes
    // are owned by the window from then on and the window is shown.
    StartupOutcome Open(int showCommand);

    // Whether the hosts text box is still being filled in pieces.
    bool Filling() const { return document_ && document_->Filling(); }
    // Whether a command is running.
    bool CommandRunning() const { return commandRunning_; }
    // Runs `command` as the one command of the moment (clicks, keys and menu
    // items all come through here); nothing, when another is running.
    void RunWindowCommand(const WindowCommand& command);

    // Null once the window has been closed.
    HWND Handle() const { return window_.Get(); }
    HWND ControlWindow(std::string_view name) const;

    void SetTitle(std::u16string_view title) override;
    FormWidth Width() override;
    void SetWidth(FormWidth width) override;
    std::u16string Text(TextBox box) override;
    void SetText(TextBox box, std::u16string_view text) override;
    void ReadHostsText(const std::function<void(std::u16string_view)>& use) override { document_->Read(use); }
    bool HostsTextModified() override { return document_->Modified(); }
    void MarkHostsTextSaved() override { document_->MarkSaved(); }
    std::optional<FileSnapshot> HostsSnapshot() override { return document_->Snapshot(); }
    HostsEncoding HostsFileEncoding() override { return document_->Encoding(); }
    void SetHostsSnapshot(const FileSnapshot& snapshot, HostsEncoding encoding) override {
        document_->SetSnapshot(snapshot, encoding);
    }
    std::size_t HostsTextCapacity() override { return document_->Capacity(); }
    std::size_t CaretPosition() override { return document_->Caret(); }
    TextRange HostsTextSelection() override { return document_->Selection(); }
    void ReplaceHostsText(TextRange range, std::u16string_view text, TextRange select) override {
        document_->Replace(range, text, select);
    }
    void SelectHostsText(TextRange range) override { document_->Select(range); }
    std::size_t ResultsClickPosition() override { return resultsClick_; }
    void Close() override;

private:
    static void Attach(HWND window, const CREATESTRUCTW& creation);
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK TextBoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR index,
                                             DWORD_PTR self);

    void OnCommand(WPARAM wParam);
    bool OnSystemCommand(WPARAM wParam);
    void OnNextDialogControl(WPARAM wParam, LPARAM lParam);
    void OnActivate(WPARAM wParam);
    void OnSetFocus();
    void OnDpiChanged(WPARAM wParam, const RECT& suggested);
    void OnClose();
    bool OnQueryEndSession();
    void OnEndSession(bool ending);
    void OnDestroy();
    void OnNcDestroy();
    void OnTextBoxClick(std::size_t index);
    void OnTextBoxDoubleClick(std::size_t index, LPARAM point);
    void RunAsOneCommand(const std::function<void()>& body);
    void OnFillTimer();

    void StartFill();
    void EndFill();
    RECT FillBarRect() const;
    std::vector<HWND> HeldDuringFill() const;
    void CreateControls();
    void AddSystemMenuItem();
    void ApplyDpi(UINT dpi);
    void ApplySize(const POINT* topLeft);
    SIZE ClientPixels() const;
    HWND BoxWindow(TextBox box) const;

    HINSTANCE instance_;
    Win32Platform& platform_;
    DpiFunctions dpiFunctions_;
    // Declared before the window, so that they outlive the controls using them.
    UniqueFont font_;
    UniqueIcon bigIcon_;
    UniqueIcon smallIcon_;
    UniqueWindow window_;
    // Indexed like Controls(); the command id of each is its index plus
    // FirstControlId.
    std::array<HWND, 20> controls_{};
    // The control that gets the focus back when the window is activated.
    HWND focus_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    // The width last set. The window can only take whole pixels, so it reads
    // as this width for as long as it keeps the size that it was given.
    bool wide_ = false;
    std::size_t piecewiseFrom_;
    std::unique_ptr<Win32HostsDocument> document_;
    // One command at a time: set while one runs (its message boxes and waits
    // included). A close asked for meanwhile waits for its end; the end of
    // the session is refused with a reason until then.
    std::size_t resultsClick_ = 0;  // the character of Text4 last double-clicked
    bool commandRunning_ = false;
    bool closeWaiting_ = false;
    std::optional<ShutdownBlockReason> endRefused_;
    // What the program ends with once the window is gone.
    int exitCode_ = 0;
};

}  // namespace quenlix
