// The hosts file store on the in-memory platform: what a save writes is what
// the next load reads, an append adds exactly its line in the file's own
// encoding, and a write that fails part-way leaves the file as it was. The
// fake's code page is Latin-1 with '?' for every other character; the
// encodings are told and decoded here the slow way, code point by code point.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzText.h"
#include "hosts/HostsStore.h"
#include "hosts/HostsText.h"
#include "hosts/ReferenceLineRule.h"
#include "support/FakePlatform.h"

namespace {

using quenlix::testing::FakePlatform;

// What a character becomes on the way to disk and back.
std::u16string ThroughCodePage(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out) {
        if (c >= 0x100) c = u'?';
    }
    return out;
}

std::string Bytes(std::u16string_view text) {
    std::string bytes;
    for (const char16_t c : ThroughCodePage(text)) bytes.push_back(static_cast<char>(c));
    return bytes;
}

std::u16string Latin1(std::string_view bytes) {
    std::u16string text;
    for (const char b : bytes) text.push_back(static_cast<unsigned char>(b));
    return text;
}

// --- The encodings, told and done the slow way ---

enum class Encoding { Latin1, Utf8, Utf8Mark, Utf16Le, Utf16Be };

// The code points of strict UTF-8, or nothing when the bytes are not that.
std::optional<std::u32string> StrictUtf8(std::string_view bytes) {
    std::u32string points;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const int length = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + length > bytes.size()) return std::nullopt;
        char32_t c = length == 1 ? b : b & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next >> 6) != 2) return std::nullopt;
            c = (c << 6) | (next & 0x3F);
        }
        const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < least[length] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return std::nullopt;
        points.push_back(c);
        i += length;
    }
    return points;
}

Encoding Tell(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) return Encoding::Utf8Mark;
    if (bytes.starts_with("\xFF\xFE")) return Encoding::Utf16Le;
    if (bytes.starts_with("\xFE\xFF")) return Encoding::Utf16Be;
    const bool high = std::any_of(bytes.begin(), bytes.end(), [](char b) { return static_cast<unsigned char>(b) >= 0x80; });
    return high && StrictUtf8(bytes) ? Encoding::Utf8 : Encoding::Latin1;
}

// The text a file's bytes hold; nothing where the reference does not say
// (a file marked UTF-8 whose bytes are not).
std::optional<std::u16string> Decode(std::string_view bytes) {
    std::u16string text;
    switch (Tell(bytes)) {
        case Encoding::Latin1: return Latin1(bytes);
        case Encoding::Utf8Mark: bytes.remove_prefix(3); [[fallthrough]];
        case Encoding::Utf8: {
            const auto points = StrictUtf8(bytes);
            if (!points) return std::nullopt;
            for (char32_t c : *points) {
                if (c < 0x10000) {
                    text.push_back(static_cast<char16_t>(c));
                } else {
                    text.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
                    text.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
                }
            }
            return text;
        }
        case Encoding::Utf16Le:
        case Encoding::Utf16Be: {
            const bool big = Tell(bytes) == Encoding::Utf16Be;
            for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
                const auto a = static_cast<unsigned char>(bytes[i]);
                const auto b = static_cast<unsigned char>(bytes[i + 1]);
                text.push_back(static_cast<char16_t>(big ? (a << 8) | b : (b << 8) | a));
            }
            if (bytes.size() % 2 != 0) text.push_back(u'\uFFFD');
            return text;
        }
    }
    return std::nullopt;
}

// The bytes `text` takes in a file that has `encoding`.
std::string Encode(std::u16string_view text, Encoding encoding) {
    std::string bytes;
    switch (encoding) {
        case Encoding::Latin1: return Bytes(text);
        case Encoding::Utf8:
        case Encoding::Utf8Mark:
            for (std::size_t i = 0; i < text.size(); ++i) {
                char32_t c = text[i];
                if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
                    c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
                } else if (c >= 0xD800 && c <= 0xDFFF) {
                    c = 0xFFFD;
                }
                if (c < 0x80) {
                    bytes.push_back(static_cast<char>(c));
                } else if (c < 0x800) {
                    bytes.push_back(static_cast<char>(0xC0 | (c >> 6)));
                    bytes.push_back(static_cast<char>(0x80 | (c & 0x3F)));
                } else if (c < 0x10000) {
                    bytes.push_back(static_cast<char>(0xE0 | (c >> 12)));
                    bytes.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
                    bytes.push_back(static_cast<char>(0x80 | (c & 0x3F)));
                } else {
                    bytes.push_back(static_cast<char>(0xF0 | (c >> 18)));
                    bytes.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
                    bytes.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
                    bytes.push_back(static_cast<char>(0x80 | (c & 0x3F)));
                }
            }
            return bytes;
        case Encoding::Utf16Le:
        case Encoding::Utf16Be:
            for (const char16_t c : text) {
                const char low = static_cast<char>(c & 0xFF);
                const char high = static_cast<char>(c >> 8);
                bytes.push_back(encoding == Encoding::Utf16Be ? high : low);
                bytes.push_back(encoding == Encoding::Utf16Be ? low : high);
            }
            return bytes;
    }
    return bytes;
}

// What a save of `text` writes: CR LF is added only where the text does not
// end with a line break (a CR, alone or before LF) already.
std::string SavedBytes(std::u16string_view text) {
    const bool ends = !text.empty() && (text.back() == u'\r' || text.ends_with(u"\r\n"));
    return Bytes(text) + (ends ? "" : "\r\n");
}

// What an append of `line` adds to a file of `before`: the entry starts a
// line of its own, after one more byte where a UTF-16 file has an odd one.
std::string AppendedBytes(const std::string& before, std::u16string_view line) {
    const Encoding encoding = Tell(before);
    const bool utf16 = encoding == Encoding::Utf16Le || encoding == Encoding::Utf16Be;
    const std::size_t mark = encoding == Encoding::Utf8Mark ? 3 : utf16 ? 2 : 0;
    const std::string body = before.substr(mark);
    std::string pad;
    bool breakFirst = false;
    if (utf16 && body.size() % 2 != 0) {
        pad.push_back('\0');
        breakFirst = true;
    } else if (!body.empty()) {
        // The last unit: two bytes in UTF-16, else one byte (no byte of a
        // longer character is a CR or an LF).
        const bool big = encoding == Encoding::Utf16Be;
        const std::size_t n = body.size();
        const unsigned last = !utf16 ? static_cast<unsigned char>(body[n - 1])
                              : big  ? (static_cast<unsigned char>(body[n - 2]) << 8) | static_cast<unsigned char>(body[n - 1])
                                     : (static_cast<unsigned char>(body[n - 1]) << 8) | static_cast<unsigned char>(body[n - 2]);
        breakFirst = last != u'\r' && last != u'\n';
    }
    return pad + Encode((breakFirst ? u"\r\n" : u"") + std::u16string(line) + u"\r\n", encoding);
}

// The hosts text a load of the file gives, by the reference.
std::optional<std::u16string> Loaded(const std::string& bytes) {
    const auto text = Decode(bytes);
    if (!text) return std::nullopt;
    return quenlix::reference::ApplyLineRule(*text);
}

void ExpectLoads(FakePlatform& platform, std::u16string_view path, const char* what) {
    const auto bytes = platform.FileBytes(path);
    if (!bytes) return;
    if (const auto expected = Loaded(*bytes))
        quenlix::fuzz::ExpectEqual(quenlix::ReadHostsText(platform, path), *expected, what);
}

enum class Operation { Overwrite, Append, WriteDefault };
enum class Fault { WriteBudget, Flush, SetLength };

// One operation with one injected fault. Whatever happens, the file holds
// either the complete new content (and the operation said nothing) or exactly
// its previous bytes (and the operation failed); a write the platform cut
// short or a flush it refused must never pass for a success.
void CheckFailedWrite(FakePlatform& platform, std::u16string_view path, Operation operation,
                      Fault fault, std::uint8_t budgetByte, bool writesKeepFailing,
                      std::u16string_view text) {
    using namespace quenlix;
    const std::optional<std::string> before = platform.FileBytes(path);
    std::string after;
    switch (operation) {
        case Operation::Overwrite: after = SavedBytes(text); break;
        case Operation::Append: after = before.value_or("") + AppendedBytes(before.value_or(""), text); break;
        case Operation::WriteDefault: after = Bytes(DefaultHostsText); break;
    }
    const std::size_t written = operation == Operation::Append ? after.size() - before.value_or("").size()
                                                               : after.size();

    bool mustFail = false;
    switch (fault) {
        case Fault::WriteBudget:
            // From nothing at all to one byte more than the write needs.
            platform.writeBudget = budgetByte * (written + 1) / 255;
            platform.writesKeepFailing = writesKeepFailing;
            mustFail = *platform.writeBudget < written;
            break;
        case Fault::Flush: platform.flushFails = mustFail = true; break;
        case Fault::SetLength: platform.setLengthFails = true; break;
    }

    bool failed = false;
    try {
        switch (operation) {
            case Operation::Overwrite: OverwriteHostsText(platform, path, text); break;
            case Operation::Append: AppendHostsLine(platform, path, text); break;
            case Operation::WriteDefault: WriteDefaultHosts(platform, path); break;
        }
    } catch (const Failure&) {
        failed = true;
    }
    platform.writeBudget.reset();
    platform.writesKeepFailing = platform.flushFails = platform.setLengthFails = false;

    fuzz::Expect(platform.openFiles == 0, "no file stays open");
    fuzz::Expect(failed || !mustFail, "a refused write passed for a success");
    // A disk that refuses every later write cannot be given the old bytes
    // back through the same file; only the report is owed then.
    if (writesKeepFailing && operation != Operation::Append) return;
    if (failed) {
        fuzz::ExpectEqual(platform.FileBytes(path), before, "file after a failed write");
    } else {
        fuzz::ExpectEqual(platform.FileBytes(path), std::optional<std::string>(after),
                          "file after a successful write");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quenlix;
    fuzz::FuzzText input(data, size);
    const std::uint8_t choice = input.Byte();
    const std::uint8_t budgetByte = input.Byte();
    const fuzz::ExactText previousBuffer(input.Next());
    const fuzz::ExactText textBuffer(input.Next());
    const fuzz::ExactText lineBuffer(input.Next());
    const std::u16string_view previous = previousBuffer;
    const std::u16string_view text = textBuffer;
    const std::u16string_view line = lineBuffer;

    // The one hosts file every command works on, below the fake's Windows
    // folder.
    const std::u16string_view savePath = u"C:\\WINDOWS\\system32\\drivers\\etc\\hosts";
    const std::u16string_view appendPath = savePath;
    const std::u16string_view stockPath = savePath;
    const std::u16string_view otherPath = u"D:\\Tools\\hosts";

    FakePlatform platform;
    if (choice & 1) platform.PutFile(savePath, Bytes(previous));

    // A save, then a load: the load gives the saved text, and a CR LF where
    // the save added one, read by the line rule.
    OverwriteHostsText(platform, savePath, text);
    fuzz::ExpectEqual(platform.FileBytes(savePath), std::optional<std::string>(SavedBytes(text)),
                      "file after OverwriteHostsText");
    ExpectLoads(platform, stockPath, "ReadHostsText after OverwriteHostsText");

    // An append adds its line and CR LF in the file's encoding, on a line of
    // its own.
    const std::string beforeAppend = *platform.FileBytes(savePath);
    AppendHostsLine(platform, appendPath, line);
    fuzz::ExpectEqual(platform.FileBytes(savePath),
                      std::optional<std::string>(beforeAppend + AppendedBytes(beforeAppend, line)),
                      "file after AppendHostsLine");
    ExpectLoads(platform, savePath, "ReadHostsText after AppendHostsLine");
    fuzz::Expect(platform.openFiles == 0, "no file stays open");

    // Then one operation with a fault: on the hosts file as it now is, or on
    // another file that holds any bytes at all, or none, or is missing.
    const auto operation = static_cast<Operation>(std::min((choice >> 1) & 3, 2));
    const auto fault = static_cast<Fault>(std::min((choice >> 3) & 3, 2));
    const bool writesKeepFailing = choice & 0x20;
    const std::u16string_view target = (choice & 0x40) ? otherPath : savePath;
    if (choice & 0x80) platform.PutFile(otherPath, Bytes(previous));
    CheckFailedWrite(platform, target, operation, fault, budgetByte, writesKeepFailing,
                     operation == Operation::Overwrite ? text : line);
    ExpectLoads(platform, savePath, "ReadHostsText after the fault");
    return 0;
}
