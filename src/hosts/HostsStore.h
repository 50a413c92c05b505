#pragma once

#include <string>
#include <string_view>

namespace quenlix {

class Platform;

// The hosts file on disk: ANSI code page text with CR LF line ends. Every
// operation opens the file, works and closes it before it returns; nothing is
// cached between calls.

// True when the directory lookup finds `path` as an ordinary file: a
// directory, or a hidden or system file, counts as missing.
bool FileExists(Platform& platform, std::u16string_view path);

// The whole file as the hosts text (every line followed by CR LF).
std::u16string ReadHostsText(Platform& platform, std::u16string_view path);

// Replaces the file with `text` followed by CR LF. On failure the file keeps
// its previous bytes.
void OverwriteHostsText(Platform& platform, std::u16string_view path, std::u16string_view text);

// Writes `line` followed by CR LF at the end of the file, creating it when it
// is missing. Nothing goes ahead of the line, even when the file's last line
// has no terminator.
void AppendHostsLine(Platform& platform, std::u16string_view path, std::u16string_view line);

// Replaces the file with the stock content. On failure the file keeps its
// previous bytes.
void WriteDefaultHosts(Platform& platform, std::u16string_view path);

// The bytes a line takes in the file: the line in the ANSI code page, then CR LF.
std::string EncodeLine(Platform& platform, std::u16string_view line);

}  // namespace quenlix
