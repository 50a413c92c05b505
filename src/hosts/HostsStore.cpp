#include "hosts/HostsStore.h"

#include "hosts/HostsFileReader.h"
#include "platform/Platform.h"

namespace quenlix {

namespace {

// The bytes a line takes in a file of `encoding`: the line, then CR LF.
std::string EncodeLine(Platform& platform, std::u16string_view line, HostsEncoding encoding, std::size_t* lost) {
    // Encoded whole before the file is touched, so a text that cannot be
    // converted fails with the file unchanged.
    std::string bytes = EncodeText(platform, line, encoding, lost);
    bytes.append(EncodeText(platform, u"\r\n", encoding));
    return bytes;
}

// Whether a text ends with a line break as the file's line rule reads one: a
// CR, alone or followed by LF.
bool EndsWithLineBreak(std::u16string_view text) { return text.ends_with(u'\r') || text.ends_with(u"\r\n"); }

}  // namespace

std::string EncodeHostsText(Platform& platform, std::u16string_view text, HostsEncoding encoding, std::size_t* lost) {
    // The load ends every line with CR LF already: a text that still ends so
    // is written as it is, and a load and save give back the bytes read.
    const bool addBreak = text.empty() || !EndsWithLineBreak(text);
    std::string body =
        addBreak ? EncodeLine(platform, text, encoding, lost) : EncodeText(platform, text, encoding, lost);
    const std::string_view mark = MarkOf(encoding);
    if (mark.empty()) return body;  // the usual file: no copy of a large text
    return std::string(mark) + body;
}

FileText DecodeFileText(Platform& platform, std::string_view bytes) {
    FileText file;
    file.encoding = DetectEncoding(bytes);
    const std::size_t mark = MarkOf(file.encoding).size();
    if (IsUtf16(file.encoding) && bytes.size() > mark && (bytes.size() - mark) % 2 != 0) file.oddLastByte = bytes.back();
    // Room for the whole text at once: no character decodes from fewer
    // bytes than one (two in UTF-16), and a large file is not moved as it grows.
    file.text.reserve(IsUtf16(file.encoding) ? bytes.size() / 2 : bytes.size());
    DecodeHostsTextInStretches(
        platform, PiecesOf(bytes), [&](std::span<char16_t> stretch) { file.text.append(stretch.begin(), stretch.end()); },
        [&] { file.text.clear(); });
    return file;
}

std::string EncodeFileText(Platform& platform, const FileText& file, std::size_t* lost) {
    std::string bytes(MarkOf(file.encoding));
    bytes.append(EncodeText(platform, file.text, file.encoding, lost));
    if (file.oddLastByte) bytes.push_back(*file.oddLastByte);
    return bytes;
}

SaveBytes BytesToSave(Platform& platform, std::u16string_view text, HostsEncoding loaded, std::string_view current,
                      std::optional<HostsEncoding> as) {
    SaveBytes save{{}, as.value_or(current.empty() ? loaded : DetectEncoding(current))};
    save.bytes = EncodeHostsText(platform, text, save.encoding, &save.lost);
    const std::size_t mark = MarkOf(save.encoding).size();
    if (IsUtf16(save.encoding) && current.size() > mark && (current.size() - mark) % 2 != 0)
        save.bytes.push_back(current.back());
    return save;
}

namespace {

// Whether the last character of a file's text (after its mark) ends a line.
bool BytesEndWithLineBreak(std::string_view bytes, HostsEncoding encoding) {
    if (IsUtf16(encoding)) {
        if (bytes.size() < 2) return false;
        const bool bigEndian = IsBigEndian(encoding);
        const char high = bytes[bytes.size() - (bigEndian ? 2 : 1)];
        const char low = bytes[bytes.size() - (bigEndian ? 1 : 2)];
        return high == '\0' && (low == '\r' || low == '\n');
    }
    // No byte of a double-byte character is a CR or an LF.
    return !bytes.empty() && (bytes.back() == '\r' || bytes.back() == '\n');
}

}  // namespace

std::string LineAppendedTo(Platform& platform, std::string_view current, std::u16string_view line,
                           std::size_t* lost) {
    const HostsEncoding encoding = DetectEncoding(current);
    const std::string_view text = current.substr(MarkOf(encoding).size());
    std::string bytes;
    bool breakFirst = !text.empty() && !BytesEndWithLineBreak(text, encoding);
    if (IsUtf16(encoding) && text.size() % 2 != 0) {
        // The odd byte is kept: one more byte makes it a whole character, so
        // that the entry is read as the characters it is.
        bytes.push_back('\0');
        breakFirst = true;
    }
    // A last line without its line break would be glued to the entry.
    if (breakFirst) bytes.append(EncodeText(platform, u"\r\n", encoding));
    bytes.append(EncodeLine(platform, line, encoding, lost));
    return bytes;
}

}  // namespace quenlix
