#pragma once

#include <windows.h>

namespace quenlix::testing {

// Tests that show a window take turns, across the test processes that CTest
// runs side by side: a desktop has one active window, and a window shown by
// another test would take the keyboard focus away in mid-test.
class DesktopTurn {
public:
    DesktopTurn() : mutex_(CreateMutexW(nullptr, FALSE, L"Local\\QuenlixWindowTests")) {
        if (mutex_ != nullptr) WaitForSingleObject(mutex_, INFINITE);  // an abandoned turn is taken over
    }
    ~DesktopTurn() { Release(); }
    // Once the keyboard is no longer driven the next test may start: taking
    // a window down costs Wine seconds without a window manager.
    void Release() {
        if (mutex_ == nullptr) return;
        ReleaseMutex(mutex_);
        CloseHandle(mutex_);
        mutex_ = nullptr;
    }
    DesktopTurn(const DesktopTurn&) = delete;
    DesktopTurn& operator=(const DesktopTurn&) = delete;

private:
    HANDLE mutex_;
};

}  // namespace quenlix::testing
