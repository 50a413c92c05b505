// The hosts file store on the in-memory platform: what a save writes is what
// the next load reads, an append adds exactly its line in the file's own
// encoding, a write that fails part-way leaves the file as it was, and any
// bytes at all, in every encoding, come back from a load and a save with no
// edit. The encodings are told and decoded here the slow way, character by
// character, the fake's code page asked one character at a time.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzText.h"
#include "hosts/HostsFileReader.h"
#include "hosts/HostsPaths.h"
#include "hosts/HostsStore.h"
#include "hosts/HostsText.h"
#include "hosts/InPlaceWrite.h"
#include "hosts/ReferenceLineRule.h"
#include "support/FakePlatform.h"
#include "support/ShippedWrites.h"

namespace {

using quenlix::testing::FakePlatform;

// --- The encodings, told and done the slow way ---

enum class Encoding { Ansi, Utf8, Utf8Mark, Utf16LeMark, Utf16BeMark, Utf16Le, Utf16Be };

char16_t Escaped(unsigned char byte) { return static_cast<char16_t>(0xDC00 + byte); }
bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// The fake's code page, a character at a time: what `bytes` (one or two)
// decode to, when the code page defines them and gives them back.
std::optional<char16_t> AnsiCharacter(FakePlatform& platform, std::string_view bytes) {
    std::u16string text;
    if (!platform.AppendFromAnsi(text, bytes) || text.size() != 1) return std::nullopt;
    std::string back;
    if (!platform.AppendToAnsi(back, text) || back != bytes) return std::nullopt;
    return text[0];
}

// ANSI text: every character the code page gives back; a lead byte whose
// pair is none, or the end, escaped alone; a pair not given back escaped,
// its trail too unless it is ASCII.
std::u16string AnsiText(FakePlatform& platform, std::string_view bytes) {
    std::u16string text;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = platform.IsAnsiLeadByte(b) ? 2 : 1;
        if (i + length <= bytes.size()) {
            if (const auto c = AnsiCharacter(platform, bytes.substr(i, length))) {
                text.push_back(*c);
                i += length;
                continue;
            }
        }
        text.push_back(b < 0x80 ? b : Escaped(b));
        ++i;
        if (length == 2 && i < bytes.size()) {
            const auto trail = static_cast<unsigned char>(bytes[i]);
            std::u16string pair;
            if (trail >= 0x80 && platform.AppendFromAnsi(pair, bytes.substr(i - 1, 2))) {
                text.push_back(Escaped(trail));
                ++i;
            }
        }
    }
    return text;
}

// `text` in the fake's code page: a surrogate pair and each other unit as
// the code page writes it, a lone escaped byte as itself.
std::string Bytes(FakePlatform& platform, std::u16string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            platform.AppendToAnsi(bytes, text.substr(i++, 2));
        } else if (c >= 0xDC80 && c <= 0xDCFF) {
            bytes.push_back(static_cast<char>(c & 0xFF));
        } else {
            platform.AppendToAnsi(bytes, text.substr(i, 1));
        }
    }
    return bytes;
}

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

// UTF-16 without a mark: an even size, and of the first units (no more
// than 512, no fewer than 16) more than half ASCII beside a zero byte.
std::optional<Encoding> Utf16WithoutMark(std::string_view bytes) {
    const std::size_t units = std::min<std::size_t>(bytes.size() / 2, 512);
    if (bytes.size() % 2 != 0 || units < 16) return std::nullopt;
    for (const bool big : {false, true}) {
        std::size_t ascii = 0;
        for (std::size_t i = 0; i < units; ++i) {
            const auto zero = static_cast<unsigned char>(bytes[2 * i + (big ? 0 : 1)]);
            const auto other = static_cast<unsigned char>(bytes[2 * i + (big ? 1 : 0)]);
            if (zero == 0 && other != 0 && other < 0x80) ++ascii;
        }
        if (ascii * 2 > units) return big ? Encoding::Utf16Be : Encoding::Utf16Le;
    }
    return std::nullopt;
}

Encoding Tell(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) return Encoding::Utf8Mark;
    if (bytes.starts_with("\xFF\xFE")) return Encoding::Utf16LeMark;
    if (bytes.starts_with("\xFE\xFF")) return Encoding::Utf16BeMark;
    if (const auto utf16 = Utf16WithoutMark(bytes)) return *utf16;
    const bool high = std::any_of(bytes.begin(), bytes.end(), [](char b) { return static_cast<unsigned char>(b) >= 0x80; });
    return high && StrictUtf8(bytes) ? Encoding::Utf8 : Encoding::Ansi;
}

std::size_t MarkSize(Encoding encoding) {
    return encoding == Encoding::Utf8Mark ? 3 : encoding == Encoding::Utf16LeMark || encoding == Encoding::Utf16BeMark ? 2 : 0;
}
bool IsUtf16(Encoding encoding) { return encoding >= Encoding::Utf16LeMark; }
bool IsBigEndian(Encoding encoding) { return encoding == Encoding::Utf16BeMark || encoding == Encoding::Utf16Be; }

// UTF-8 with escaped bytes: a character where the bytes at hand are one
// (U+2400 as its three bytes, escaped: the window would make it NUL), else
// the first byte escaped and the next one tried.
std::u16string DecodeUtf8(std::string_view bytes) {
    std::u16string text;
    for (std::size_t i = 0; i < bytes.size();) {
        std::optional<std::u32string> one;
        std::size_t length = 1;
        for (; length <= 4 && i + length <= bytes.size() && !one; ++length) {
            one = StrictUtf8(bytes.substr(i, length));
            if (one && one->size() != 1) one.reset();
        }
        --length;
        if (!one || (*one)[0] == 0x2400) {
            const std::size_t escaped = one ? length : 1;
            for (std::size_t k = 0; k < escaped; ++k) {
                const auto b = static_cast<unsigned char>(bytes[i + k]);
                text.push_back(b < 0x80 ? b : Escaped(b));
            }
            i += escaped;
            continue;
        }
        const char32_t c = (*one)[0];
        if (c < 0x10000) {
            text.push_back(static_cast<char16_t>(c));
        } else {
            text.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            text.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        }
        i += length;
    }
    return text;
}

// The text a file's bytes hold.
std::u16string Decode(FakePlatform& platform, std::string_view bytes) {
    const Encoding encoding = Tell(bytes);
    bytes.remove_prefix(MarkSize(encoding));
    if (encoding == Encoding::Ansi) return AnsiText(platform, bytes);
    if (!IsUtf16(encoding)) return DecodeUtf8(bytes);
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        text.push_back(static_cast<char16_t>(IsBigEndian(encoding) ? (a << 8) | b : (b << 8) | a));
    }
    return text;  // an odd last byte is no part of it
}

// The bytes `text` takes in a file that has `encoding`.
std::string Encode(FakePlatform& platform, std::u16string_view text, Encoding encoding) {
    std::string bytes;
    switch (encoding) {
        case Encoding::Ansi: return Bytes(platform, text);
        case Encoding::Utf8:
        case Encoding::Utf8Mark:
            for (std::size_t i = 0; i < text.size(); ++i) {
                char32_t c = text[i];
                if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
                    c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
                } else if (c >= 0xDC80 && c <= 0xDCFF) {
                    bytes.push_back(static_cast<char>(c & 0xFF));
                    continue;
                } else if (IsSurrogate(c)) {
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
        case Encoding::Utf16LeMark:
        case Encoding::Utf16BeMark:
        case Encoding::Utf16Le:
        case Encoding::Utf16Be:
            for (const char16_t c : text) {
                const char low = static_cast<char>(c & 0xFF);
                const char high = static_cast<char>(c >> 8);
                bytes.push_back(IsBigEndian(encoding) ? high : low);
                bytes.push_back(IsBigEndian(encoding) ? low : high);
            }
            return bytes;
    }
    return bytes;
}

// What a save of `text` writes: CR LF is added only where the text does not
// end with a line break (a CR, alone or before LF) already.
std::string SavedBytes(FakePlatform& platform, std::u16string_view text) {
    const bool ends = !text.empty() && (text.back() == u'\r' || text.ends_with(u"\r\n"));
    return Bytes(platform, text) + (ends ? "" : "\r\n");
}

// What an append of `line` adds to a file of `before`: the entry starts a
// line of its own, after one more byte where a UTF-16 file has an odd one.
std::string AppendedBytes(FakePlatform& platform, const std::string& before, std::u16string_view line) {
    const Encoding encoding = Tell(before);
    const bool utf16 = IsUtf16(encoding);
    const std::string body = before.substr(MarkSize(encoding));
    std::string pad;
    bool breakFirst = false;
    if (utf16 && body.size() % 2 != 0) {
        pad.push_back('\0');
        breakFirst = true;
    } else if (!body.empty()) {
        // The last unit: two bytes in UTF-16, else one byte (no byte of a
        // longer character is a CR or an LF).
        const bool big = IsBigEndian(encoding);
        const std::size_t n = body.size();
        const unsigned last = !utf16 ? static_cast<unsigned char>(body[n - 1])
                              : big  ? (static_cast<unsigned char>(body[n - 2]) << 8) | static_cast<unsigned char>(body[n - 1])
                                     : (static_cast<unsigned char>(body[n - 1]) << 8) | static_cast<unsigned char>(body[n - 2]);
        breakFirst = last != u'\r' && last != u'\n';
    }
    return pad + Encode(platform, (breakFirst ? u"\r\n" : u"") + std::u16string(line) + u"\r\n", encoding);
}

void ExpectLoads(FakePlatform& platform, std::u16string_view path, const char* what) {
    const auto bytes = platform.FileBytes(path);
    if (!bytes) return;
    quenlix::fuzz::ExpectEqual(quenlix::ReadHostsFile(platform, path).text,
                               quenlix::reference::ApplyLineRule(Decode(platform, *bytes)), what);
}

// Any bytes, loaded and saved with no edit, come back: where every line
// ends in CR LF as they were, else with the line ends the line rule gives.
// `shape` makes them a file of every encoding: as they are, after each
// mark, or as UTF-16 without one (a zero byte beside each).
void ExpectALoadAndASaveGiveTheBytesBack(std::string_view raw, std::uint8_t shape) {
    using namespace quenlix;
    std::string bytes;
    switch (shape % 6) {
        case 0: bytes = raw; break;
        case 1: bytes = "\xEF\xBB\xBF" + std::string(raw); break;
        case 2: bytes = "\xFF\xFE" + std::string(raw); break;
        case 3: bytes = "\xFE\xFF" + std::string(raw); break;
        default:
            for (const char b : raw) {
                bytes.push_back(shape % 6 == 4 ? b : '\0');
                bytes.push_back(shape % 6 == 4 ? '\0' : b);
            }
            break;
    }
    FakePlatform platform;
    const std::u16string path = HostsPath(platform);
    platform.PutFile(path, bytes);
    const HostsFile read = ReadHostsFile(platform, path);
    const Encoding encoding = Tell(bytes);
    fuzz::Expect(MarkOf(read.encoding).size() == MarkSize(encoding) && IsUtf16(read.encoding) == IsUtf16(encoding),
                 "the encoding told");
    std::string saved(MarkOf(read.encoding));
    saved += EncodeText(platform, read.text, read.encoding);
    if (read.oddLastByte) saved.push_back(*read.oddLastByte);
    fuzz::ExpectEqual(saved, reference::ApplyLineRuleToBytes(bytes, MarkSize(encoding), IsUtf16(encoding),
                                                             IsBigEndian(encoding)),
                      "a load and a save with no edit");
}

enum class Operation { Overwrite, Append, WriteDefault };

// The text in the ANSI code page over the whole file, through the write the
// commands take.
void Overwrite(FakePlatform& platform, std::u16string_view path, std::u16string_view text) {
    using namespace quenlix;
    WriteHostsInPlace(platform, path, WholeContent(EncodeHostsText(platform, text, HostsEncoding::Ansi)));
}
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
        case Operation::Overwrite: after = SavedBytes(platform, text); break;
        case Operation::Append: after = before.value_or("") + AppendedBytes(platform, before.value_or(""), text); break;
        case Operation::WriteDefault: after = Bytes(platform, DefaultHostsText); break;
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
            case Operation::Overwrite: Overwrite(platform, path, text); break;
            case Operation::Append: testing::AppendLine(platform, path, text); break;
            case Operation::WriteDefault: testing::WriteStock(platform, path); break;
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

    ExpectALoadAndASaveGiveTheBytesBack(std::string_view(reinterpret_cast<const char*>(data), size), budgetByte >> 4);

    FakePlatform platform;
    if (choice & 1) platform.PutFile(savePath, Bytes(platform, previous));

    // A save, then a load: the load gives the saved text, and a CR LF where
    // the save added one, read by the line rule.
    Overwrite(platform, savePath, text);
    fuzz::ExpectEqual(platform.FileBytes(savePath), std::optional<std::string>(SavedBytes(platform, text)),
                      "file after a save");
    ExpectLoads(platform, stockPath, "the load after a save");

    // An append adds its line and CR LF in the file's encoding, on a line of
    // its own.
    const std::string beforeAppend = *platform.FileBytes(savePath);
    testing::AppendLine(platform, appendPath, line);
    fuzz::ExpectEqual(platform.FileBytes(savePath),
                      std::optional<std::string>(beforeAppend + AppendedBytes(platform, beforeAppend, line)),
                      "file after an append");
    ExpectLoads(platform, savePath, "the load after an append");
    fuzz::Expect(platform.openFiles == 0, "no file stays open");

    // Then one operation with a fault: on the hosts file as it now is, or on
    // another file that holds any bytes at all, or none, or is missing.
    const auto operation = static_cast<Operation>(std::min((choice >> 1) & 3, 2));
    const auto fault = static_cast<Fault>(std::min((choice >> 3) & 3, 2));
    const bool writesKeepFailing = choice & 0x20;
    const std::u16string_view target = (choice & 0x40) ? otherPath : savePath;
    if (choice & 0x80) platform.PutFile(otherPath, Bytes(platform, previous));
    CheckFailedWrite(platform, target, operation, fault, budgetByte, writesKeepFailing,
                     operation == Operation::Overwrite ? text : line);
    ExpectLoads(platform, savePath, "the load after the fault");
    return 0;
}
