#include "hosts/HostsStore.h"

#include "hosts/HostsFileReader.h"
#include "hosts/HostsText.h"
#include "hosts/SafeWrite.h"
#include "platform/Platform.h"

namespace quenlix {

bool FileExists(Platform& platform, std::u16string_view path) {
    return !platform.FindOrdinaryFile(path).empty();
}

std::u16string ReadHostsText(Platform& platform, std::u16string_view path) {
    return ReadHostsFile(platform, path).text;
}

std::string EncodeLine(Platform& platform, std::u16string_view line, HostsEncoding encoding) {
    // Encoded whole before the file is touched, so a text that cannot be
    // converted fails with the file unchanged.
    std::string bytes = EncodeText(platform, line, encoding);
    bytes.append(EncodeText(platform, u"\r\n", encoding));
    return bytes;
}

std::string EncodeHostsText(Platform& platform, std::u16string_view text, HostsEncoding encoding) {
    const std::string_view mark = MarkOf(encoding);
    if (mark.empty()) return EncodeLine(platform, text, encoding);  // the usual file: no copy of a large text
    std::string bytes(mark);
    bytes.append(EncodeLine(platform, text, encoding));
    return bytes;
}

void OverwriteHostsText(Platform& platform, std::u16string_view path, std::u16string_view text,
                        HostsEncoding encoding) {
    ReplaceFileContent(platform, path, EncodeHostsText(platform, text, encoding));
}

std::optional<FileState> ReadFileStateIfPresent(Platform& platform, std::u16string_view path) {
    constexpr std::uint32_t FileNotFound = 2;  // ERROR_FILE_NOT_FOUND
    constexpr std::uint32_t PathNotFound = 3;  // ERROR_PATH_NOT_FOUND
    EncodingDetector encoding;
    SnapshotBuilder snapshot;
    try {
        platform.ReadFilePieces(path, [&](std::string_view piece, std::uint64_t) {
            encoding.Add(piece);
            snapshot.Add(piece);
        });
    } catch (const Failure& failure) {
        if (failure.Number() == FileNotFound || failure.Number() == PathNotFound) return std::nullopt;
        throw;
    }
    return FileState{encoding.Result(), snapshot.Finish()};
}

void AppendHostsLine(Platform& platform, std::u16string_view path, std::u16string_view line) {
    AppendingFile file(platform, path);
    file.Append(EncodeLine(platform, line, DetectEncoding(file.ReadAll())));
}

void WriteDefaultHosts(Platform& platform, std::u16string_view path) {
    ReplaceFileContent(platform, path, platform.ToAnsi(DefaultHostsText));
}

}  // namespace quenlix
