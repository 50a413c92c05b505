#pragma once

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>

namespace quenlix {

// The one way the program takes a string from a Win32 call that writes into
// a buffer of the caller's: `fill(buffer, size)` writes at most `size`
// characters and returns the string's length, or, when the buffer was too
// small, a length of at least `size` (most calls return the size they need,
// terminator included; GetModuleFileNameW returns `size` itself). The buffer
// grows and the call is made again until the whole string fits. A call that
// returns 0 failed: nothing.
template <typename Fill>
std::optional<std::wstring> StringFromGrowingBuffer(Fill fill) {
    std::wstring text(MAX_PATH, L'\0');
    for (;;) {
        const std::size_t length = fill(text.data(), text.size());
        if (length == 0) return std::nullopt;
        if (length < text.size()) {
            text.resize(length);
            return text;
        }
        text.resize(std::max(length, text.size() * 2));
    }
}

}  // namespace quenlix
