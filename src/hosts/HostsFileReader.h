#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "hosts/AnsiCodec.h"
#include "hosts/HostsEncoding.h"
#include "hosts/HostsText.h"
#include "platform/FileSnapshot.h"

namespace quenlix {

class Platform;

// What a read of the hosts file gives.
struct HostsFile {
    // The hosts text: every line followed by CR LF, no mark; each byte that
    // does not decode as an escaped byte (EscapedByte).
    std::u16string text;
    HostsEncoding encoding;
    FileSnapshot snapshot;  // of the bytes read
    // The last byte of a UTF-16 file of an odd size, which is no part of the
    // text.
    std::optional<char> oddLastByte;
};

// Turns a file's bytes, seen a piece at a time, into the hosts text, deciding
// the encoding as it goes, so that no file's bytes are ever held whole. Text
// is decoded as the ANSI code page while each piece is fresh, its line ends
// checked on the way; from the first byte of 0x80 or more that begins valid
// UTF-8, as UTF-8 for as long as the bytes stay so. Should a file turn out
// not to be UTF-8 after all (rare: UTF-8 with a stray byte further on), it
// must be read again as ANSI text: MustReadAgainAsAnsi tells. A file with a
// byte-order mark, and UTF-16 without one, is decoded at the end.
class HostsFileReader {
public:
    enum class Detect { Utf8AndAnsi, AnsiOnly };

    explicit HostsFileReader(Platform& platform, Detect detect = Detect::Utf8AndAnsi)
        : ansi_(platform), mayBeUtf8_(detect == Detect::Utf8AndAnsi) {}

    void Add(std::string_view piece, std::uint64_t fileSize);
    bool MustReadAgainAsAnsi() const;
    HostsFile Finish();

private:
    enum class Mode { Start, Plain, Utf8, Marked };

    void AddPlain(std::string_view bytes);
    void AddUtf8(std::string_view bytes);
    void AddUtf8Checked(std::string_view bytes);
    void AddAnsi(std::string_view bytes);
    void DecodeAnsi(std::string_view bytes);
    void Decoded(std::size_t before);

    AnsiCodec ansi_;
    bool mayBeUtf8_;
    Mode mode_ = Mode::Start;
    HostsEncoding marked_ = HostsEncoding::Ansi;
    // Start: the first bytes, until a mark or UTF-16 can be told. Plain: the
    // bytes after the last place the ANSI text could be cut. Utf8: the start
    // of a character cut off at the end of the last piece. Marked: every
    // byte after the mark, or every byte of UTF-16 without one.
    std::string held_;
    std::u16string text_;
    bool reserved_ = false;
    CrLfCheck crLf_;
    Utf8Check utf8_;
    bool notUtf8AfterAll_ = false;
    SnapshotBuilder snapshot_;
};

// Reads and decodes the whole file at `path`. Fails on a missing file.
HostsFile ReadHostsFile(Platform& platform, std::u16string_view path);

}  // namespace quenlix
