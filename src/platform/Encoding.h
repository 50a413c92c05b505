#pragma once

namespace quenlix {

// The encodings a hosts file is read and written in. The file keeps the one
// it has: Notepad saves UTF-8, other tools UTF-16 (some without a mark),
// older ones the ANSI code page. The window remembers the one its text came
// in, so it is named here, below both the window and the store.
enum class HostsEncoding {
    Ansi,
    Utf8,
    Utf8WithMark,
    Utf16LeWithMark,
    Utf16BeWithMark,
    Utf16Le,  // without a mark
    Utf16Be,  // without a mark
};

constexpr bool IsBigEndian(HostsEncoding encoding) {
    return encoding == HostsEncoding::Utf16BeWithMark || encoding == HostsEncoding::Utf16Be;
}

// An edit box ends its text at the first NUL, so a hosts file holding NUL
// bytes would lose everything after the first one on the next save. The
// boxes show each NUL as the visible symbol for it, U+2400, and hand it back
// as NUL; the file's decoders keep a real U+2400 apart (HostsEncoding.h).
inline constexpr char16_t NulSymbol = u'\u2400';

}  // namespace quenlix
