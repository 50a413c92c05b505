#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "hosts/HostsEncoding.h"
#include "hosts/HostsText.h"
#include "platform/FileSnapshot.h"

namespace quenlix {

class Platform;

// What a read of the hosts file gives.
struct HostsFile {
    std::u16string text;  // the hosts text: every line followed by CR LF, no mark
    HostsEncoding encoding;
    FileSnapshot snapshot;  // of the bytes read
};

// Turns a file's bytes, seen a piece at a time, into the hosts text, deciding
// the encoding as it goes. The usual file, ANSI code page text, is decoded
// piece by piece while each is fresh and never held whole; its line ends are
// checked on the way. A file that could be UTF-8 is kept from its first byte
// of 0x80 or more for as long as it still could, and decoded again as UTF-8
// at the end if it is; a file with a byte-order mark is decoded at the end.
class HostsFileReader {
public:
    explicit HostsFileReader(Platform& platform) : platform_(platform) {}

    void Add(std::string_view piece, std::uint64_t fileSize);
    HostsFile Finish();

private:
    enum class Mode { Start, Plain, Marked };

    void StartPlain(std::string_view bytes);
    void AddPlain(std::string_view bytes);
    void DecodeAnsi(std::string_view bytes);

    Platform& platform_;
    Mode mode_ = Mode::Start;
    HostsEncoding marked_ = HostsEncoding::Ansi;
    // Start: the first bytes, until the mark can be told. Plain: the bytes
    // after the last place the ANSI text could be cut. Marked: every byte
    // after the mark.
    std::string held_;
    std::u16string text_;
    CrLfCheck crLf_;
    Utf8Check utf8_;
    // Plain: the bytes from the first one of 0x80 or more, while the file
    // may still be UTF-8, and the length of the text they begin at.
    bool keeping_ = false;
    std::string utf8Bytes_;
    std::size_t utf8Start_ = 0;
    SnapshotBuilder snapshot_;
};

// Reads and decodes the whole file at `path`. Fails on a missing file.
HostsFile ReadHostsFile(Platform& platform, std::u16string_view path);

}  // namespace quenlix
