#include <climits>
#include <string>

#include "platform/Win32Failure.h"
#include "platform/Win32Platform.h"
#include "platform/Win32Text.h"

// The system's ANSI code page and its letter case.

namespace quenlix {

namespace {

// Win32 string lengths are ints; a longer text cannot be handed over at once.
int CheckedLength(std::size_t size) {
    if (size > static_cast<std::size_t>(INT_MAX)) throw Win32Failure(ERROR_NOT_ENOUGH_MEMORY);
    return static_cast<int>(size);
}

}  // namespace

std::uint32_t Win32Platform::AnsiCodePage() { return GetACP(); }

bool Win32Platform::IsAnsiLeadByte(unsigned char byte) { return IsDBCSLeadByteEx(CP_ACP, byte) != FALSE; }

bool Win32Platform::AppendFromAnsi(std::u16string& text, std::string_view bytes) {
    if (bytes.empty()) return true;
    const int size = CheckedLength(bytes.size());
    const std::size_t before = text.size();
    // No ANSI code page makes more UTF-16 units than it reads bytes, so one
    // call into room of that size decodes them all.
    text.resize(before + bytes.size());
    const int length =
        MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), size, WideData(text) + before, size);
    if (length == 0) {
        const DWORD error = GetLastError();
        text.resize(before);
        if (error == ERROR_NO_UNICODE_TRANSLATION) return false;
        throw Win32Failure(error);
    }
    text.resize(before + static_cast<std::size_t>(length));
    return true;
}

bool Win32Platform::AppendToAnsi(std::string& bytes, std::u16string_view text) {
    if (text.empty()) return true;
    const int size = CheckedLength(text.size());
    // A system that uses UTF-8 for its ANSI code page takes neither the flag
    // nor the question; there only a lone surrogate has no bytes (U+FFFD).
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* const asked = utf8 ? nullptr : &usedDefault;
    const int length = WideCharToMultiByte(CP_ACP, flags, WideData(text), size, nullptr, 0, nullptr, asked);
    if (length == 0) throw LastWin32Failure();
    const std::size_t before = bytes.size();
    bytes.resize(before + static_cast<std::size_t>(length));
    if (WideCharToMultiByte(CP_ACP, flags, WideData(text), size, bytes.data() + before, length, nullptr, asked) == 0)
        throw LastWin32Failure();
    if (utf8) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char16_t c = text[i];
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
                ++i;
            } else if (c >= 0xD800 && c <= 0xDFFF) {
                return false;
            }
        }
    }
    return usedDefault == FALSE;
}

// The case is mapped in a copy of the text itself, not in a second copy made
// for the API's character type.
std::u16string Win32Platform::ToUpper(std::u16string_view text) {
    std::u16string upper(text);
    if (!upper.empty()) CharUpperBuffW(WideData(upper), static_cast<DWORD>(CheckedLength(upper.size())));
    return upper;
}

std::u16string Win32Platform::ToLower(std::u16string_view text) {
    std::u16string lower(text);
    if (!lower.empty()) CharLowerBuffW(WideData(lower), static_cast<DWORD>(CheckedLength(lower.size())));
    return lower;
}

}  // namespace quenlix
