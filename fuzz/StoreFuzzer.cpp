// The hosts file store on the in-memory platform: what a save writes is what
// the next load reads, an append adds exactly its line, and a write that fails
// part-way leaves the file as it was. The fake's code page is Latin-1 with '?'
// for every other character.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzText.h"
#include "hosts/HostsPaths.h"
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
        case Operation::Overwrite: after = Bytes(text) + "\r\n"; break;
        case Operation::Append: after = before.value_or("") + Bytes(text) + "\r\n"; break;
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

    // The three spellings of the one file, as the commands use them.
    const std::u16string_view savePath = FixedHostsPath::Save;
    const std::u16string_view appendPath = FixedHostsPath::DuplicateCheckedAppend;
    const std::u16string_view stockPath = FixedHostsPath::Stock;
    const std::u16string_view otherPath = u"D:\\Tools\\hosts";

    FakePlatform platform;
    if (choice & 1) platform.PutFile(savePath, Bytes(previous));

    // A save, then a load: the load gives the saved text and the one CR LF
    // the save adds, read by the line rule.
    OverwriteHostsText(platform, savePath, text);
    fuzz::ExpectEqual(platform.FileBytes(savePath), std::optional<std::string>(Bytes(text) + "\r\n"),
                      "file after OverwriteHostsText");
    const std::u16string loaded = ReadHostsText(platform, stockPath);
    fuzz::ExpectEqual(loaded, reference::ApplyLineRule(ThroughCodePage(text) + u"\r\n"),
                      "ReadHostsText after OverwriteHostsText");

    // An append adds its line and CR LF, nothing ahead of it.
    const std::string beforeAppend = *platform.FileBytes(savePath);
    AppendHostsLine(platform, appendPath, line);
    fuzz::ExpectEqual(platform.FileBytes(savePath),
                      std::optional<std::string>(beforeAppend + Bytes(line) + "\r\n"),
                      "file after AppendHostsLine");
    fuzz::ExpectEqual(ReadHostsText(platform, savePath),
                      reference::ApplyLineRule(ThroughCodePage(text) + u"\r\n" + ThroughCodePage(line) + u"\r\n"),
                      "ReadHostsText after AppendHostsLine");
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
    if (platform.Has(savePath)) {
        fuzz::ExpectEqual(ReadHostsText(platform, savePath),
                          reference::ApplyLineRule(Latin1(*platform.FileBytes(savePath))),
                          "ReadHostsText after the fault");
    }
    return 0;
}
