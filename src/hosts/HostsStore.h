#pragma once

#include <optional>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "hosts/HostsEncoding.h"
#include "hosts/SafeWrite.h"
#include "platform/FileSnapshot.h"

namespace quenlix {

class Platform;

// The hosts file on disk: text with CR LF line ends, in the encoding the file
// already has (HostsEncoding). Every operation opens the file, works and
// closes it before it returns; nothing is cached between calls.

// The whole file as the hosts text (every line followed by CR LF).
std::u16string ReadHostsText(Platform& platform, std::u16string_view path);

// Whether a text ends with a line break as the file's line rule reads one: a
// CR, alone or followed by LF.
bool EndsWithLineBreak(std::u16string_view text);

// The bytes a file of `encoding` holding `text` has: its mark, the text, and
// CR LF unless the text ends with a line break already (the empty text gets
// one CR LF). `lost`, when given, gets how many characters the encoding
// cannot hold and were written as its default character.
std::string EncodeHostsText(Platform& platform, std::u16string_view text, HostsEncoding encoding,
                            std::size_t* lost = nullptr);

// Replaces the file with EncodeHostsText. On failure the file keeps its
// previous bytes.
void OverwriteHostsText(Platform& platform, std::u16string_view path, std::u16string_view text,
                        HostsEncoding encoding = HostsEncoding::Ansi);

// The bytes that append `line` and CR LF to a file that holds `current`, in
// the file's own encoding (the ANSI code page for an empty file). The line
// always starts a line of its own: a file whose last line has no line break
// gets one first.
std::string LineAppendedTo(Platform& platform, std::string_view current, std::u16string_view line,
                           std::size_t* lost = nullptr);

// Asked before characters that the file's encoding cannot hold are written
// as its default character, with how many there are: true goes ahead.
using MayLoseCharacters = std::function<bool(std::size_t lost)>;

// Appends `line` as LineAppendedTo says, to a file already open, or to the
// file at `path`, creating it (in the ANSI code page) when it is missing.
// Returns false, having written nothing, when `mayLose` said no.
bool AppendHostsLine(Platform& platform, AppendingFile& file, std::u16string_view line,
                     const MayLoseCharacters& mayLose = {});
bool AppendHostsLine(Platform& platform, std::u16string_view path, std::u16string_view line,
                     const MayLoseCharacters& mayLose = {});

// Replaces the file with the stock content. On failure the file keeps its
// previous bytes.
void WriteDefaultHosts(Platform& platform, std::u16string_view path);

// Creates the file with the stock content, only if there is no file at
// `path`: returns false, having written nothing, when one exists (it may have
// appeared since it was found missing). Any other failure leaves no file.
bool CreateDefaultHosts(Platform& platform, std::u16string_view path);

// The bytes a line takes in a file of `encoding`: the line, then CR LF.
std::string EncodeLine(Platform& platform, std::u16string_view line, HostsEncoding encoding = HostsEncoding::Ansi,
                       std::size_t* lost = nullptr);

}  // namespace quenlix
