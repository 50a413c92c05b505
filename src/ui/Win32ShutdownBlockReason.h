#pragma once

#include <windows.h>

namespace quenlix {

// A reason Windows gives the user for this window holding up the end of the
// session, for as long as the object lives.
class ShutdownBlockReason {
public:
    ShutdownBlockReason(HWND window, const wchar_t* reason)
        : window_(window), created_(ShutdownBlockReasonCreate(window, reason) != FALSE) {}
    ~ShutdownBlockReason() {
        if (created_) ShutdownBlockReasonDestroy(window_);
    }
    ShutdownBlockReason(const ShutdownBlockReason&) = delete;
    ShutdownBlockReason& operator=(const ShutdownBlockReason&) = delete;

private:
    HWND window_;
    bool created_;
};

}  // namespace quenlix
