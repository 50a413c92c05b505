#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "hosts/HostsEncoding.h"

namespace quenlix {

class Platform;

// The bytes the commands write into the hosts file: text with CR LF line
// ends, in the encoding the file already has (HostsEncoding).

// The bytes a file of `encoding` holding `text` has: its mark, the text, and
// CR LF unless the text ends with a line break already (the empty text gets
// one CR LF). `lost`, when given, gets how many characters the encoding
// cannot hold and were written as its default character.
std::string EncodeHostsText(Platform& platform, std::u16string_view text, HostsEncoding encoding,
                            std::size_t* lost = nullptr);

// What a save writes.
struct SaveBytes {
    std::string bytes;
    HostsEncoding encoding;
    // Characters the encoding cannot hold, written as its default character.
    std::size_t lost = 0;
};

// The bytes a save of `text` writes over a file that now holds `current`.
// The file keeps its encoding; one that is gone or empty meanwhile keeps
// `loaded`, the encoding `text` came in, so that its characters survive;
// `as`, when given, is taken instead. A UTF-16 file of an odd size ends in a
// byte that is no character: the text never held it, and the save keeps it.
SaveBytes BytesToSave(Platform& platform, std::u16string_view text, HostsEncoding loaded, std::string_view current,
                      std::optional<HostsEncoding> as = {});

// A file's text exactly as its bytes hold it, line breaks as they are (no
// line rule), with the encoding they are in: a command that changes a few
// lines of a file and encodes the text back (EncodeFileText) gives back
// every other byte as it was.
struct FileText {
    std::u16string text;
    HostsEncoding encoding = HostsEncoding::Ansi;
    // The last byte of a UTF-16 file of an odd size, which is no character.
    std::optional<char> oddLastByte;
};
FileText DecodeFileText(Platform& platform, std::string_view bytes);
std::string EncodeFileText(Platform& platform, const FileText& file, std::size_t* lost = nullptr);

// The bytes that append `line` and CR LF to a file that holds `current`, in
// the file's own encoding (the ANSI code page for an empty file). The line
// always starts a line of its own: a file whose last line has no line break
// gets one first.
std::string LineAppendedTo(Platform& platform, std::string_view current, std::u16string_view line,
                           std::size_t* lost = nullptr);

}  // namespace quenlix
