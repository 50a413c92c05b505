#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace quenlix {

// Owns one Win32 handle and releases it with `Destroy` when it goes out of
// scope. Kernel calls report failure with INVALID_HANDLE_VALUE rather than a
// null handle; both mean "owns nothing" here. A window handle is given up
// early (Release) once the system has destroyed the window, so that a reused
// handle is never destroyed twice.
template <typename Handle, auto Destroy>
class UniqueWin32Handle {
public:
    UniqueWin32Handle() = default;
    explicit UniqueWin32Handle(Handle handle) : handle_(OwnedOrNull(handle)) {}
    ~UniqueWin32Handle() { Reset(); }
    UniqueWin32Handle(UniqueWin32Handle&& other) noexcept : handle_(other.Release()) {}
    UniqueWin32Handle& operator=(UniqueWin32Handle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = other.Release();
        }
        return *this;
    }
    UniqueWin32Handle(const UniqueWin32Handle&) = delete;
    UniqueWin32Handle& operator=(const UniqueWin32Handle&) = delete;

    Handle Get() const { return handle_; }
    bool Valid() const { return handle_ != nullptr; }
    Handle Release() {
        Handle handle = handle_;
        handle_ = nullptr;
        return handle;
    }
    void Reset(Handle handle = nullptr) {
        if (handle_ != nullptr) Destroy(handle_);
        handle_ = OwnedOrNull(handle);
    }

private:
    static Handle OwnedOrNull(Handle handle) {
        if constexpr (std::is_same_v<Handle, HANDLE>) {
            if (handle == INVALID_HANDLE_VALUE) return nullptr;
        }
        return handle;
    }

    Handle handle_ = nullptr;
};

using UniqueHandle = UniqueWin32Handle<HANDLE, &CloseHandle>;
// A view of a file mapped into memory.
using UniqueView = UniqueWin32Handle<LPCVOID, &UnmapViewOfFile>;
// A directory search from FindFirstFileW.
using UniqueFind = UniqueWin32Handle<HANDLE, &FindClose>;
// A library loaded by the program itself.
using UniqueModule = UniqueWin32Handle<HMODULE, &FreeLibrary>;
// The copy of the environment that GetEnvironmentStringsW hands out.
using UniqueEnvironmentStrings = UniqueWin32Handle<LPWCH, &FreeEnvironmentStringsW>;
// Memory from LocalAlloc (an edit control's text buffer among others).
using UniqueLocal = UniqueWin32Handle<HLOCAL, &LocalFree>;

inline void ReleaseScreenDc(HDC dc) { ReleaseDC(nullptr, dc); }
// The screen's device context, from GetDC(nullptr).
using UniqueScreenDc = UniqueWin32Handle<HDC, &ReleaseScreenDc>;

// A security identifier from AllocateAndInitializeSid, freed by the FreeSid
// that the program bound at run time: advapi32 is never imported by name, so
// the release takes the bound function along.
struct SidRelease {
    using FreeSidFunction = PVOID(WINAPI*)(PSID);
    FreeSidFunction freeSid = nullptr;
    void operator()(PSID sid) const {
        if (sid != nullptr) freeSid(sid);
    }
};
using UniqueSid = std::unique_ptr<void, SidRelease>;

// BCrypt's algorithm provider and hash object, closed by the functions bound
// from bcrypt.dll at run time, as advapi32's are.
struct BcryptAlgorithmRelease {
    using CloseFunction = LONG(WINAPI*)(void*, ULONG);
    CloseFunction close = nullptr;
    void operator()(void* algorithm) const {
        if (algorithm != nullptr) close(algorithm, 0);
    }
};
using UniqueBcryptAlgorithm = std::unique_ptr<void, BcryptAlgorithmRelease>;
struct BcryptHashRelease {
    using DestroyFunction = LONG(WINAPI*)(void*);
    DestroyFunction destroy = nullptr;
    void operator()(void* hash) const {
        if (hash != nullptr) destroy(hash);
    }
};
using UniqueBcryptHash = std::unique_ptr<void, BcryptHashRelease>;

// A string the shell allocated (SHGetKnownFolderPath), freed by the
// CoTaskMemFree bound from ole32.dll at run time.
struct CoTaskMemRelease {
    using FreeFunction = void(WINAPI*)(LPVOID);
    FreeFunction free = nullptr;
    void operator()(wchar_t* memory) const {
        if (memory != nullptr) free(memory);
    }
};
using UniqueCoTaskString = std::unique_ptr<wchar_t, CoTaskMemRelease>;

}  // namespace quenlix
