#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "hosts/HostsEncoding.h"
#include "platform/FileSnapshot.h"

namespace quenlix {

class Platform;

// The hosts file on disk: text with CR LF line ends, in the encoding the file
// already has (HostsEncoding). Every operation opens the file, works and
// closes it before it returns; nothing is cached between calls.

// True when the directory lookup finds `path` as an ordinary file: a
// directory, or a hidden or system file, counts as missing.
bool FileExists(Platform& platform, std::u16string_view path);

// The whole file as the hosts text (every line followed by CR LF).
std::u16string ReadHostsText(Platform& platform, std::u16string_view path);

// The bytes a file of `encoding` holding `text` followed by CR LF has: its
// mark, the text and CR LF.
std::string EncodeHostsText(Platform& platform, std::u16string_view text, HostsEncoding encoding);

// Replaces the file with EncodeHostsText. On failure the file keeps its
// previous bytes.
void OverwriteHostsText(Platform& platform, std::u16string_view path, std::u16string_view text,
                        HostsEncoding encoding = HostsEncoding::Ansi);

// What a file holds now, told without keeping its bytes: its encoding and a
// snapshot of them. Nothing when there is no such file; any other failure to
// read it is a failure.
struct FileState {
    HostsEncoding encoding;
    FileSnapshot snapshot;
};
std::optional<FileState> ReadFileStateIfPresent(Platform& platform, std::u16string_view path);

// Writes `line` followed by CR LF at the end of the file, in the file's own
// encoding, creating it (in the ANSI code page) when it is missing. Nothing
// goes ahead of the line, even when the file's last line has no terminator.
void AppendHostsLine(Platform& platform, std::u16string_view path, std::u16string_view line);

// Replaces the file with the stock content. On failure the file keeps its
// previous bytes.
void WriteDefaultHosts(Platform& platform, std::u16string_view path);

// The bytes a line takes in a file of `encoding`: the line, then CR LF.
std::string EncodeLine(Platform& platform, std::u16string_view line, HostsEncoding encoding = HostsEncoding::Ansi);

}  // namespace quenlix
