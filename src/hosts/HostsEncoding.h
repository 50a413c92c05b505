#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Encoding.h"

namespace quenlix {

class Platform;

// With a mark or without.
bool IsUtf16(HostsEncoding encoding);

// The byte-order mark a file in `encoding` begins with; empty for none.
std::string_view MarkOf(HostsEncoding encoding);

// The encoding a mark at the start of `bytes` names; Ansi when there is none.
HostsEncoding EncodingOfMark(std::string_view bytes);

// A byte that does not decode in the file's encoding travels through the
// text as the lone low surrogate U+DC00 + byte, as Python's "surrogateescape"
// does: no valid decode of UTF-8 or of the ANSI code page gives a lone
// surrogate, so their encoders know it for a byte and write that byte back
// (UTF-16 keeps every unit as it is, lone surrogates too). Only bytes of 0x80
// or more ever need it: both decode each byte below 0x80 on its own.
constexpr char16_t EscapedByte(unsigned char byte) { return static_cast<char16_t>(0xDC00 + byte); }
constexpr bool IsEscapedByte(char16_t c) { return c >= 0xDC80 && c <= 0xDCFF; }

// How many of a file's first bytes tell whether it is UTF-16 without a mark.
inline constexpr std::size_t Utf16HeadBytes = 1024;

// Whether a file of `size` bytes without a mark, whose first bytes are
// `head` (Utf16HeadBytes of them, or the whole file), is UTF-16: Utf16Le or
// Utf16Be, else Ansi. It is when its size is even, `head` holds at least 16
// units, and more than half of them are ASCII characters other than NUL
// with a zero byte beside them, in one byte order. ANSI and UTF-8 text hold
// no NUL bytes, let alone one in every other place over dozens of bytes,
// while the ASCII of a hosts file (addresses, names, the stock comments it
// begins with) keeps a UTF-16 file above half even with comments in Chinese
// among it. Fewer units than a line of a hosts file say too little: "a\0"
// is as likely the letter and a NUL. 512 units cover the first lines, and
// are few enough to hold back while the reader decides.
HostsEncoding Utf16WithoutMark(std::string_view head, std::uint64_t size);

// Tells, of bytes seen in pieces in order, whether they are strict UTF-8
// throughout (no overlong forms, no surrogates, nothing above U+10FFFF,
// nothing cut short at the end) and whether any byte was 0x80 or more.
class Utf8Check {
public:
    void Add(std::string_view piece);
    bool SawNonAscii() const { return sawNonAscii_; }
    bool Valid() const { return !invalid_; }
    bool ValidAndComplete() const { return !invalid_ && needed_ == 0; }

private:
    int needed_ = 0;         // continuation bytes still to come
    unsigned char low_ = 0x80;   // the range the next continuation byte must lie in
    unsigned char high_ = 0xBF;
    bool sawNonAscii_ = false;
    bool invalid_ = false;
};

// The encoding of a file that holds `bytes`: a byte-order mark decides; with
// none, UTF-16 as Utf16WithoutMark tells it; then bytes that hold a byte of
// 0x80 or more and are strict UTF-8 throughout are UTF-8; anything else, and
// the empty file, is the ANSI code page.
HostsEncoding DetectEncoding(std::string_view bytes);

// Decodes onto the end of `text`. Every byte of a sequence that is not UTF-8
// becomes an escaped byte, one at a time, and decoding goes on at the next
// byte; so do the three bytes of U+2400 (see the definition). An odd last
// byte of UTF-16 is left out: it is no part of the text.
void AppendUtf8Decoded(std::u16string& text, std::string_view bytes);
void AppendUtf16Decoded(std::u16string& text, std::string_view bytes, bool bigEndian);

// `text` in `encoding`, the mark not included. An escaped byte that is not
// the second half of a surrogate pair is written as that byte in the ANSI
// code page and UTF-8; UTF-16 writes every code unit as it is. A character
// the ANSI code page cannot hold becomes its default character ("?", never
// a look-alike), and so does any other lone surrogate in UTF-8 (U+FFFD
// there); `lost`, when given, gets how many characters did. Room for two
// more characters is left at the end.
std::string EncodeText(Platform& platform, std::u16string_view text, HostsEncoding encoding,
                       std::size_t* lost = nullptr);

}  // namespace quenlix
