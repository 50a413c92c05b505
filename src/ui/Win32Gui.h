#pragma once

#include <windows.h>

namespace quenlix {

// Owns one user-interface handle and releases it with `Destroy` when it goes
// out of scope. A window handle is released early (Release) once the system
// has destroyed the window, so that a reused handle is never destroyed twice.
template <typename Handle, auto Destroy>
class UniqueGuiHandle {
public:
    UniqueGuiHandle() = default;
    explicit UniqueGuiHandle(Handle handle) : handle_(handle) {}
    ~UniqueGuiHandle() { Reset(); }
    UniqueGuiHandle(UniqueGuiHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueGuiHandle& operator=(UniqueGuiHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = other.Release();
        }
        return *this;
    }
    UniqueGuiHandle(const UniqueGuiHandle&) = delete;
    UniqueGuiHandle& operator=(const UniqueGuiHandle&) = delete;

    Handle Get() const { return handle_; }
    Handle Release() {
        Handle handle = handle_;
        handle_ = nullptr;
        return handle;
    }
    void Reset(Handle handle = nullptr) {
        if (handle_ != nullptr) Destroy(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

using UniqueFont = UniqueGuiHandle<HFONT, &DeleteObject>;
using UniqueIcon = UniqueGuiHandle<HICON, &DestroyIcon>;
using UniqueWindow = UniqueGuiHandle<HWND, &DestroyWindow>;

}  // namespace quenlix
