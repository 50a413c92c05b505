#include "hosts/WriteJournal.h"

#include <cstdint>
#include <utility>

#include "hosts/HostsHistory.h"
#include "hosts/HostsPaths.h"
#include "hosts/SafeWrite.h"
#include "platform/Digits.h"

namespace quenlix {

namespace {

constexpr std::string_view FirstLine = "Quenlix hosts write journal\r\n";
constexpr std::string_view CopyField = "copy=";
constexpr std::string_view BeforeField = "before=";
constexpr std::string_view AfterField = "after=";

std::string AsciiBytes(std::u16string_view text) { return std::string(text.begin(), text.end()); }

// "SIZE:HASH", the size in decimal and the hash in 16 lower-case hexadecimal
// digits.
std::string SnapshotText(const FileSnapshot& snapshot) {
    return AsciiBytes(DecimalText(snapshot.size) + u":" + HexText(snapshot.hash, 16));
}

std::optional<FileSnapshot> SnapshotFromText(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0 || colon > 20 || text.size() != colon + 17) return std::nullopt;
    if (text[0] == '0' && colon > 1) return std::nullopt;
    FileSnapshot snapshot;
    for (const char c : text.substr(0, colon)) {
        if (c < '0' || c > '9') return std::nullopt;
        const std::uint64_t digit = static_cast<std::uint64_t>(c - '0');
        if (snapshot.size > (UINT64_MAX - digit) / 10) return std::nullopt;
        snapshot.size = snapshot.size * 10 + digit;
    }
    for (const char c : text.substr(colon + 1)) {
        const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (digit < 0) return std::nullopt;
        snapshot.hash = (snapshot.hash << 4) | static_cast<std::uint64_t>(digit);
    }
    return snapshot;
}

// The value of the line `field` that `text` starts with; the line goes.
std::optional<std::string_view> TakeLine(std::string_view& text, std::string_view field) {
    if (!text.starts_with(field)) return std::nullopt;
    const std::size_t end = text.find("\r\n");
    if (end == std::string_view::npos) return std::nullopt;
    const std::string_view value = text.substr(field.size(), end - field.size());
    text.remove_prefix(end + 2);
    return value;
}

std::optional<FileSnapshot> TakeSnapshot(std::string_view& text, std::string_view field) {
    const std::optional<std::string_view> value = TakeLine(text, field);
    if (!value) return std::nullopt;
    return SnapshotFromText(*value);
}

// The bytes of the hosts file now; a missing file holds none.
std::string HostsBytesNow(Platform& platform, std::u16string_view path) {
    try {
        return platform.ReadFileBytes(path);
    } catch (const Failure& failure) {
        if (IsMissingFile(failure)) return {};
        throw;
    }
}

// Keeps an unreadable journal's bytes under a name of their own, for whoever
// wants to look into them, and out of the way of the next write. Left where
// it is when that fails: it is never acted on either way.
void SetJournalAside(Platform& platform, std::string_view text) {
    try {
        const std::u16string aside = UnreadableJournalPath(platform, TimeStamp(platform.LocalTimeNow()));
        FileRewrite(platform, aside, Creation::OnlyIfNew).Write(0, text);
        RemoveWriteJournal(platform);
    } catch (const Failure&) {
    }
}

}  // namespace

std::string WriteJournalText(const WriteJournal& journal) {
    std::string text(FirstLine);
    text += CopyField;
    text += AsciiBytes(journal.copy);
    text += "\r\n";
    text += BeforeField;
    text += SnapshotText(journal.before);
    text += "\r\n";
    text += AfterField;
    text += SnapshotText(journal.after);
    text += "\r\n";
    return text;
}

std::optional<WriteJournal> ParseWriteJournal(std::string_view text) {
    if (!text.starts_with(FirstLine)) return std::nullopt;
    text.remove_prefix(FirstLine.size());
    const std::optional<std::string_view> copy = TakeLine(text, CopyField);
    if (!copy) return std::nullopt;
    WriteJournal journal;
    journal.copy.assign(copy->begin(), copy->end());
    // Only a copy's own name: the journal must not send a restore anywhere
    // else, nor out of the history folder.
    if (!journal.copy.empty() && !IsHistoryCopyName(journal.copy)) return std::nullopt;
    const std::optional<FileSnapshot> before = TakeSnapshot(text, BeforeField);
    const std::optional<FileSnapshot> after = TakeSnapshot(text, AfterField);
    if (!before || !after || !text.empty()) return std::nullopt;
    journal.before = *before;
    journal.after = *after;
    return journal;
}

RecoverableWrite::RecoverableWrite(Platform& platform, MayWriteWithoutCopy mayWriteWithoutCopy)
    : platform_(platform), mayWriteWithoutCopy_(std::move(mayWriteWithoutCopy)) {}

bool RecoverableWrite::Begin(std::string_view before, std::string_view afterHead, std::string_view afterTail) {
    journal_.reset();
    // However such a write ends, no byte changes.
    if (before.size() == afterHead.size() + afterTail.size() && before.starts_with(afterHead) &&
        before.ends_with(afterTail))
        return true;
    try {
        WriteJournal journal;
        // An empty file has nothing to keep; the journal still tells a torn
        // file from a finished one.
        if (!before.empty()) journal.copy = KeepHistoryCopy(platform_, before);
        journal.before = SnapshotBuilder::Of(before);
        SnapshotBuilder after;
        after.Add(afterHead);
        after.Add(afterTail);
        journal.after = after.Finish();
        platform_.MakeDirectory(ProgramDataFolder(platform_));
        WriteOwnFile(platform_, WriteJournalPath(platform_), WriteJournalText(journal));
        journal_ = std::move(journal);
    } catch (const Failure& failure) {
        return mayWriteWithoutCopy_ && mayWriteWithoutCopy_(failure);
    }
    return true;
}

void RecoverableWrite::Finished() {
    if (!std::exchange(journal_, std::nullopt)) return;
    // A journal that stays is found at the next start with the new bytes in
    // the file, and removed then without a word.
    try {
        RemoveWriteJournal(platform_);
    } catch (const Failure&) {
    }
}

void RecoverableWrite::Settle(std::u16string_view path) {
    if (!journal_) return;
    try {
        const FileSnapshot now = SnapshotBuilder::Of(HostsBytesNow(platform_, path));
        if (now == journal_->before || now == journal_->after) Finished();
    } catch (const Failure&) {
        // Unknown: the journal stays, and the next start looks again.
    }
}

InterruptedWrite FindInterruptedWrite(Platform& platform, std::u16string_view path) {
    std::string text;
    try {
        text = platform.ReadFileBytes(WriteJournalPath(platform));
    } catch (const Failure&) {
        return {};  // none, or none that can be read now: nothing to act on
    }
    const std::optional<WriteJournal> journal = ParseWriteJournal(text);
    if (!journal) {
        SetJournalAside(platform, text);
        return {InterruptedWrite::Kind::Unreadable, std::nullopt};
    }
    const FileSnapshot now = SnapshotBuilder::Of(HostsBytesNow(platform, path));
    if (now == journal->before || now == journal->after) {
        RemoveWriteJournal(platform);
        return {};
    }
    InterruptedWrite torn{InterruptedWrite::Kind::Torn, std::nullopt};
    try {
        std::string before = journal->copy.empty()
                                 ? std::string()
                                 : platform.ReadFileBytes(HistoryFolder(platform) + u"\\" + journal->copy);
        // A copy the user has removed or changed since is not what was there.
        if (SnapshotBuilder::Of(before) == journal->before) torn.before = std::move(before);
    } catch (const Failure&) {
    }
    return torn;
}

void RemoveWriteJournal(Platform& platform) {
    try {
        platform.RemoveFile(WriteJournalPath(platform));
    } catch (const Failure& failure) {
        if (!IsMissingFile(failure)) throw;
    }
}

}  // namespace quenlix
