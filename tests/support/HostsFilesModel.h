#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "edit/ReferenceSearches.h"
#include "hosts/HostsText.h"

namespace quenlix::testing {

// What each command that writes a file does to the hosts file and the
// backup, told plainly, for the random sessions to check the program against
// after every step: the old bytes after any failure, the whole new bytes
// after success. Each command returns whether it must report a failure.
class HostsFilesModel {
public:
    using File = std::optional<std::string>;
    // Whether a write of this many bytes is refused or broken off.
    using WriteFails = std::function<bool(std::size_t bytes)>;

    struct Encoding {
        std::function<std::string(std::u16string_view)> encode;
        std::function<std::u16string(std::string_view)> decode;
        std::function<std::u16string(std::u16string_view)> toUpper;
    };

    explicit HostsFilesModel(Encoding encoding) : encoding_(std::move(encoding)) {}

    File hosts;
    File backup;
    // What the hosts file held when Text1 was last filled from it or saved.
    File seen;

    // Command1: never reports, whatever fails.
    bool AppendAddressLine(std::u16string_view text2, const WriteFails& fails) {
        Append(Line(text2), fails);
        return false;
    }

    // Command2.
    bool AppendEntry(std::u16string_view text2, std::u16string_view text3, const WriteFails& fails) {
        return Append(Line(Entry(text2, text3)), fails);
    }

    // Command3: reads the file first, and asks before it overwrites a file
    // that changed since `seen`; `yes` is the answer to that question.
    bool Save(std::u16string_view text1, bool readFails, bool yes, const WriteFails& fails) {
        if (hosts) {
            if (readFails) return true;
            if (hosts != seen && !yes) return false;
        }
        // CR LF is added only where Text1 does not end with a line break.
        const bool ends = text1.ends_with(u'\r') || text1.ends_with(u"\r\n");
        const std::string content = !text1.empty() && ends ? encoding_.encode(text1) : Line(text1);
        if (fails(content.size())) return true;
        hosts = seen = content;
        return false;
    }

    // A load filled Text1 from the file.
    void Loaded() { seen = hosts; }

    // Command5: a missing or unreadable file fails; a duplicate appends nothing.
    bool AppendUnlessDefined(std::u16string_view text2, std::u16string_view text3, bool readFails,
                             const WriteFails& fails) {
        if (!hosts || readFails) return true;
        const std::u16string entry = Entry(text2, text3);
        const std::u16string upper = encoding_.toUpper(ApplyLineRule(encoding_.decode(*hosts)));
        if (reference::FirstDuplicateLine(upper, encoding_.toUpper(entry))) return false;
        return Append(Line(entry), fails);
    }

    // Command6 and the create branch of the load: the stock content on OK.
    bool RestoreDefault(bool ok, const WriteFails& fails) {
        if (!ok) return false;
        const std::string stock = encoding_.encode(DefaultHostsText);
        if (fails(stock.size())) return true;
        hosts = stock;
        return false;
    }

    // Command14: no hosts file, no copy and no failure.
    bool Backup(const WriteFails& fails) {
        if (!hosts) return false;
        if (fails(hosts->size())) return true;
        backup = hosts;
        return false;
    }

    // Command15: no backup, no copy and no failure.
    bool Restore(const WriteFails& fails) {
        if (!backup) return false;
        if (fails(backup->size())) return true;
        hosts = backup;
        return false;
    }

    // The text a load shows of the hosts file.
    std::u16string LoadedText() const { return ApplyLineRule(encoding_.decode(hosts.value_or(""))); }

private:
    static std::u16string Entry(std::u16string_view text2, std::u16string_view text3) {
        return std::u16string(text2) + u" " + std::u16string(text3);
    }
    std::string Line(std::u16string_view text) const { return encoding_.encode(text) + "\r\n"; }

    // The entry starts a line of its own: a last line without its line break
    // gets one first.
    bool Append(const std::string& line, const WriteFails& fails) {
        const std::string before = hosts.value_or("");
        const bool breakFirst = !before.empty() && before.back() != '\r' && before.back() != '\n';
        const std::string added = (breakFirst ? "\r\n" : "") + line;
        if (fails(added.size())) return true;
        hosts = before + added;
        return false;
    }

    Encoding encoding_;
};

}  // namespace quenlix::testing
