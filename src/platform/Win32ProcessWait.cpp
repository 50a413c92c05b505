#include "platform/Win32ProcessWait.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "platform/Win32Failure.h"

namespace quenlix {

namespace {

// Handles every message waiting for this thread; gives the exit code of a
// WM_QUIT among them.
std::optional<WPARAM> HandleWaitingMessages() {
    std::optional<WPARAM> quit;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quit = message.wParam;
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return quit;
}

}  // namespace

ProcessWait WaitForProcess(HANDLE process, std::chrono::milliseconds timeout) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(std::max<std::int64_t>(timeout.count(), 0));
    std::optional<WPARAM> quit;
    ProcessWait outcome = ProcessWait::TimedOut;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now >= deadline ? 0 : static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, INFINITE - 1));
        const DWORD woke = MsgWaitForMultipleObjects(1, &process, FALSE, left, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0) {
            outcome = ProcessWait::Ended;
            break;
        }
        if (woke == WAIT_TIMEOUT) break;
        if (woke == WAIT_FAILED) throw LastWin32Failure();
        if (const std::optional<WPARAM> asked = HandleWaitingMessages()) quit = asked;
    }
    if (quit) PostQuitMessage(static_cast<int>(*quit));
    return outcome;
}

DisabledWindow::DisabledWindow(HWND window)
    : window_(window), wasDisabled_(window != nullptr && EnableWindow(window, FALSE) != FALSE) {}

DisabledWindow::~DisabledWindow() {
    // A window destroyed meanwhile (closed by another program, say) needs
    // nothing more.
    if (window_ != nullptr && !wasDisabled_ && IsWindow(window_)) EnableWindow(window_, TRUE);
}

}  // namespace quenlix
