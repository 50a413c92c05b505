#include <algorithm>
#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "platform/AsciiCase.h"
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

namespace {

// Whether the system upper-cases each ASCII unit as AsciiUpper does; asked
// once, of all 128.
bool SystemUpperCasesAsciiPlainly() {
    wchar_t ascii[128];
    for (int c = 0; c < 128; ++c) ascii[c] = static_cast<wchar_t>(c);
    CharUpperBuffW(ascii, 128);
    for (int c = 0; c < 128; ++c) {
        if (ascii[c] != AsciiUpper(static_cast<char16_t>(c))) return false;
    }
    return true;
}

}  // namespace

// Wine's CharUpperBuffW takes several nanoseconds a unit: on a large file,
// which is nearly all ASCII, that was most of Command5's time. So ASCII is
// mapped here, as the system maps it (checked once), and only the runs of
// other characters go to the system: all of them in one call, each followed
// by a space, since a call costs as much as mapping a few hundred units and
// a hosts file has a short run of Chinese in many a line. The space keeps a
// run's last unit from meeting the next run's first, as an ASCII unit kept
// them apart in the text.
void Win32Platform::ToUpperInPlace(std::span<char16_t> text) {
    if (text.empty()) return;
    static const bool plainAscii = SystemUpperCasesAsciiPlainly();
    if (!plainAscii) {
        CharUpperBuffW(reinterpret_cast<wchar_t*>(text.data()), static_cast<DWORD>(CheckedLength(text.size())));
        return;
    }
    std::u16string others;
    std::vector<std::pair<char16_t*, std::size_t>> runs;  // where each run is, and its length
    UpperCaseAsciiHere(text.data(), text.size(), [&](char16_t* run, std::size_t length) {
        runs.emplace_back(run, length);
        others.append(run, length);
        others.push_back(u' ');
    });
    if (others.empty()) return;
    CharUpperBuffW(WideData(others), static_cast<DWORD>(CheckedLength(others.size())));
    const char16_t* from = others.data();
    for (const auto& [at, length] : runs) {
        std::copy_n(from, length, at);
        from += length + 1;
    }
}

std::u16string Win32Platform::ToLower(std::u16string_view text) {
    std::u16string lower(text);
    if (!lower.empty()) CharLowerBuffW(WideData(lower), static_cast<DWORD>(CheckedLength(lower.size())));
    return lower;
}

}  // namespace quenlix
