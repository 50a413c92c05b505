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

}  // namespace quenlix
