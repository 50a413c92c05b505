#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "hosts/AnsiCodec.h"
#include "hosts/HostsEncoding.h"
#include "hosts/HostsText.h"
#include "platform/FileSnapshot.h"
#include "platform/Platform.h"

namespace quenlix {

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
//
// A reader given somewhere to hand its text on to (`handOn`) keeps none of
// it: each stretch goes there as soon as it is decoded, and Finish hands on
// the last one and gives no text, no snapshot and no line rule. The
// stretches, one after the other, are the decoded file before the line rule.
// They are the reader's to drop, and the taker's to change meanwhile (to
// upper-case them where they are, say).
class HostsFileReader {
public:
    enum class Detect { Utf8AndAnsi, AnsiOnly };
    using HandOn = std::function<void(std::span<char16_t> stretch)>;

    explicit HostsFileReader(Platform& platform, Detect detect = Detect::Utf8AndAnsi, HandOn handOn = {})
        : ansi_(platform), mayBeUtf8_(detect == Detect::Utf8AndAnsi), handOn_(std::move(handOn)) {}

    void Add(std::string_view piece, std::uint64_t fileSize);
    bool MustReadAgainAsAnsi() const;
    HostsFile Finish();

private:
    enum class Mode { Start, Plain, Utf8, Marked };

    void HandOnDecoded();

    void AddPiece(std::string_view piece, std::uint64_t fileSize);
    void AddPlain(std::string_view bytes);
    void AddUtf8(std::string_view bytes);
    void AddUtf8Checked(std::string_view bytes);
    void AddAnsi(std::string_view bytes);
    void DecodeAnsi(std::string_view bytes);
    void Decoded(std::size_t before);

    AnsiCodec ansi_;
    bool mayBeUtf8_;
    HandOn handOn_;
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

// Decodes a file's bytes, handed over a piece at a time by `pieces`, as
// ReadHostsFile does, handing the text on to `take` a stretch at a time as
// it is decoded, so that a command that looks at each line once never holds
// the whole text: the stretches, one after the other, are the text before
// the line rule (which reading its lines by LineBreaks::File applies); `take`
// may change their units. When the bytes turn out not to be UTF-8 after all,
// `restart` is called, and the text handed on again from its start.
void DecodeHostsTextInStretches(Platform& platform, const PieceSource& pieces, const HostsFileReader::HandOn& take,
                                const std::function<void()>& restart);

// Hands `bytes` over `pieceBytes` at a time, pieces that stay in the
// processor's cache from their decode to a look at them.
PieceSource PiecesOf(std::string_view bytes, std::size_t pieceBytes = 1 << 17);

}  // namespace quenlix
