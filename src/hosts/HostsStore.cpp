#include "hosts/HostsStore.h"

#include "hosts/HostsText.h"
#include "hosts/SafeWrite.h"
#include "platform/Platform.h"

namespace quenlix {

bool FileExists(Platform& platform, std::u16string_view path) {
    return !platform.FindOrdinaryFile(path).empty();
}

std::u16string ReadHostsText(Platform& platform, std::u16string_view path) {
    // The line ends are checked piece by piece as the file is decoded, while
    // each piece is fresh; the usual file, CR LF throughout, then needs no
    // second pass and no copy.
    CrLfCheck check;
    std::u16string text = platform.ReadAnsiText(path, [&](std::u16string_view piece) { check.Add(piece); });
    ApplyLineRuleInPlace(text, check);
    return text;
}

std::string EncodeLine(Platform& platform, std::u16string_view line) {
    // Encoded whole before the file is touched, so a text that cannot be
    // converted fails with the file unchanged.
    std::string bytes = platform.ToAnsi(line);
    bytes.append("\r\n");
    return bytes;
}

void OverwriteHostsText(Platform& platform, std::u16string_view path, std::u16string_view text) {
    ReplaceFileContent(platform, path, EncodeLine(platform, text));
}

void AppendHostsLine(Platform& platform, std::u16string_view path, std::u16string_view line) {
    const std::string bytes = EncodeLine(platform, line);
    AppendingFile(platform, path).Append(bytes);
}

void WriteDefaultHosts(Platform& platform, std::u16string_view path) {
    ReplaceFileContent(platform, path, platform.ToAnsi(DefaultHostsText));
}

}  // namespace quenlix
