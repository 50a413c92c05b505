#pragma once

#include <windows.h>

#include <chrono>

namespace quenlix {

enum class ProcessWait { Ended, TimedOut };

// Waits up to `timeout` for `process` to end while the calling thread's
// window messages go on being handled, so that its windows repaint and the
// system does not call the program hung. A WM_QUIT that arrives meanwhile is
// posted again afterwards, for the message loop to find.
ProcessWait WaitForProcess(HANDLE process, std::chrono::milliseconds timeout);

// Keeps a window from taking input for as long as it lives, as a modal
// dialog keeps its owner: a click cannot start a second command while the
// first one waits. A window that was disabled already stays so; no window
// (null) is left alone.
class DisabledWindow {
public:
    explicit DisabledWindow(HWND window);
    ~DisabledWindow();
    DisabledWindow(const DisabledWindow&) = delete;
    DisabledWindow& operator=(const DisabledWindow&) = delete;

private:
    HWND window_;
    bool wasDisabled_;
};

}  // namespace quenlix
