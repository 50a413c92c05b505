#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/Encoding.h"

namespace quenlix {

class Platform;

// The byte-order mark a file in `encoding` begins with; empty for none.
std::string_view MarkOf(HostsEncoding encoding);

// The encoding a mark at the start of `bytes` names; Ansi when there is none.
HostsEncoding EncodingOfMark(std::string_view bytes);

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
// none, bytes that hold a byte of 0x80 or more and are strict UTF-8
// throughout are UTF-8; anything else, and the empty file, is the ANSI code
// page.
HostsEncoding DetectEncoding(std::string_view bytes);

// The same for bytes seen in pieces, in order.
class EncodingDetector {
public:
    void Add(std::string_view piece);
    HostsEncoding Result() const;

private:
    std::string head_;  // the first bytes, where a mark would be
    Utf8Check utf8_;
};

// Decodes onto the end of `text`. A sequence that is not UTF-8 becomes
// U+FFFD; so does an odd last byte of UTF-16.
void AppendUtf8Decoded(std::u16string& text, std::string_view bytes);
void AppendUtf16Decoded(std::u16string& text, std::string_view bytes, bool bigEndian);

// `text` in `encoding`, the mark not included. A character the ANSI code page
// cannot hold becomes its default character; UTF-8 and UTF-16 hold every
// character (a lone surrogate, which UTF-8 cannot, becomes U+FFFD there).
// Room for two more characters is left at the end.
std::string EncodeText(Platform& platform, std::u16string_view text, HostsEncoding encoding);

}  // namespace quenlix
