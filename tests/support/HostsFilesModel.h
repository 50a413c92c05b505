#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "edit/EntryCheck.h"
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
    // What becomes of a write of a file: it goes through; it fails at the
    // open (refused, or the file busy), before any question of the command's
    // own; it fails at the write, after them; or the user declined to have it
    // made with administrator rights, and nothing is written or reported.
    enum class Write { Done, FailsAtOpen, FailsAtWrite, Declined };
    // What becomes of a write of this many bytes.
    using WriteOutcome = std::function<Write(std::size_t bytes)>;

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

    // The appends ask, once the file is open, before they write an entry
    // that Windows would not use; `yes` is the answer. Which entries those
    // are is the entry check's own rule, tested against its own tables.

    // Command1: never reports, whatever fails.
    bool AppendAddressLine(std::u16string_view text2, bool yes, const WriteOutcome& write) {
        Append(Line(text2), write, FirstLineProblem(text2) && !yes);
        return false;
    }

    // Command2.
    bool AppendEntry(std::u16string_view text2, std::u16string_view text3, bool yes, const WriteOutcome& write) {
        return Append(Line(Entry(text2, text3)), write, FirstEntryProblem(text2, text3) && !yes);
    }

    // Command3: opens the file first, and asks before it overwrites a file
    // that changed since `seen`; `yes` is the answer to that question.
    bool Save(std::u16string_view text1, bool yes, const WriteOutcome& write) {
        // CR LF is added only where Text1 does not end with a line break.
        const bool ends = text1.ends_with(u'\r') || text1.ends_with(u"\r\n");
        const std::string content = !text1.empty() && ends ? encoding_.encode(text1) : Line(text1);
        const Write outcome = write(content.size());
        if (outcome == Write::FailsAtOpen) return true;
        if (outcome == Write::Declined) return false;
        if (hosts && hosts != seen && !yes) return false;
        if (outcome == Write::FailsAtWrite) return true;
        hosts = seen = content;
        return false;
    }

    // A load filled Text1 from the file.
    void Loaded() { seen = hosts; }

    // Command5: tests the bytes the append's open read. A file the open
    // finds missing fails; a duplicate appends nothing.
    bool AppendUnlessDefined(std::u16string_view text2, std::u16string_view text3, bool yes,
                             const WriteOutcome& write) {
        const std::u16string entry = Entry(text2, text3);
        if (hosts && !reference::FirstDuplicateLine(encoding_.toUpper(ApplyLineRule(encoding_.decode(*hosts))),
                                                    encoding_.toUpper(entry)))
            return Append(Line(entry), write, FirstEntryProblem(text2, text3) && !yes);
        const Write outcome = write(0);
        return outcome != Write::Declined && (outcome == Write::FailsAtOpen || !hosts);
    }

    // Command6 and the create branch of the load: the stock content on OK.
    bool RestoreDefault(bool ok, const WriteOutcome& write) {
        if (!ok) return false;
        return Replace(encoding_.encode(DefaultHostsText), write);
    }

    // Command14: no hosts file, no copy and no failure.
    bool Backup(const WriteOutcome& write) {
        if (!hosts) return false;
        if (write(hosts->size()) != Write::Done) return true;
        backup = hosts;
        return false;
    }

    // Command15: no backup, no copy and no failure; a backup that cannot be
    // read fails before the hosts file is touched.
    bool Restore(bool backupUnreadable, const WriteOutcome& write) {
        if (!backup) return false;
        if (backupUnreadable) return true;
        return Replace(*backup, write);
    }

    // The text a load shows of the hosts file.
    std::u16string LoadedText() const { return ApplyLineRule(encoding_.decode(hosts.value_or(""))); }

private:
    static std::u16string Entry(std::u16string_view text2, std::u16string_view text3) {
        return std::u16string(text2) + u" " + std::u16string(text3);
    }
    std::string Line(std::u16string_view text) const { return encoding_.encode(text) + "\r\n"; }

    // The entry starts a line of its own: a last line without its line break
    // gets one first. `refused`: the user said No to the entry.
    bool Append(const std::string& line, const WriteOutcome& write, bool refused) {
        const std::string before = hosts.value_or("");
        const bool breakFirst = !before.empty() && before.back() != '\r' && before.back() != '\n';
        const std::string added = (breakFirst ? "\r\n" : "") + line;
        const Write outcome = write(added.size());
        if (outcome == Write::Declined) return false;
        if (outcome == Write::FailsAtOpen) return true;
        if (refused) return false;
        if (outcome != Write::Done) return true;
        hosts = before + added;
        return false;
    }

    bool Replace(const std::string& content, const WriteOutcome& write) {
        const Write outcome = write(content.size());
        if (outcome == Write::Declined) return false;
        if (outcome != Write::Done) return true;
        hosts = content;
        return false;
    }

    Encoding encoding_;
};

}  // namespace quenlix::testing
