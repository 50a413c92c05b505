#include "hosts/WriteJournal.h"

#include <cstdint>
#include <algorithm>
#include <utility>
#include <vector>

#include "hosts/CutOffWrite.h"
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
constexpr std::string_view PiecesField = "after-pieces=";
constexpr std::u16string_view SetAsidePrefix = u"unreadable-journal_";
// How many journals set aside are kept, the newest.
constexpr std::size_t SetAsideKept = 10;

std::string AsciiBytes(std::u16string_view text) { return std::string(text.begin(), text.end()); }

// "SIZE:HASH", the size in decimal and the hash in 16 lower-case hexadecimal
// digits.
std::string SnapshotText(const FileSnapshot& snapshot) {
    return AsciiBytes(DecimalText(snapshot.size) + u":" + HexText(snapshot.hash, 16));
}

// 16 lower-case hexadecimal digits.
std::optional<std::uint64_t> HashFromText(std::string_view text) {
    if (text.size() != 16) return std::nullopt;
    std::uint64_t hash = 0;
    for (const char c : text) {
        const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (digit < 0) return std::nullopt;
        hash = (hash << 4) | static_cast<std::uint64_t>(digit);
    }
    return hash;
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
    const std::optional<std::uint64_t> hash = HashFromText(text.substr(colon + 1));
    if (!hash) return std::nullopt;
    snapshot.hash = *hash;
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

// Removes the oldest journals set aside beyond the few kept, by the time
// they were written.
void PruneSetAsideJournals(Platform& platform) {
    const std::u16string folder = ProgramDataFolder(platform);
    std::vector<FolderEntry> aside;
    for (FolderEntry& file : platform.FilesInFolder(folder))
        if (file.name.starts_with(SetAsidePrefix)) aside.push_back(std::move(file));
    std::sort(aside.begin(), aside.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.writeTime > b.writeTime; });
    for (std::size_t i = SetAsideKept; i < aside.size(); ++i) {
        try {
            platform.RemoveFile(folder + u"\\" + aside[i].name);
        } catch (const Failure&) {
        }
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
        PruneSetAsideJournals(platform);
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
    text += PiecesField;
    for (const std::uint64_t hash : journal.afterPieces) text += AsciiBytes(HexText(hash, 16));
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
    const std::optional<std::string_view> pieces = TakeLine(text, PiecesField);
    if (!before || !after || !pieces || !text.empty() || pieces->size() % 16 != 0) return std::nullopt;
    journal.before = *before;
    journal.after = *after;
    for (std::size_t at = 0; at < pieces->size(); at += 16) {
        const std::optional<std::uint64_t> hash = HashFromText(pieces->substr(at, 16));
        if (!hash) return std::nullopt;
        journal.afterPieces.push_back(*hash);
    }
    if (journal.afterPieces.size() != (journal.after.size + WrittenPieceBytes - 1) / WrittenPieceBytes)
        return std::nullopt;
    return journal;
}

RecoverableWrite::RecoverableWrite(Platform& platform, MayWriteWithoutCopy mayWriteWithoutCopy)
    : platform_(platform), mayWriteWithoutCopy_(std::move(mayWriteWithoutCopy)) {}

bool RecoverableWrite::Begin(std::string_view before, std::string_view afterHead, std::string_view afterTail) {
    journal_.reset();
    held_.reset();
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
        journal.afterPieces = PieceHashes(afterHead, afterTail);
        platform_.MakeDirectory(ProgramDataFolder(platform_));
        // Written and then held through one handle, which lets others read
        // the journal but neither write nor remove it: another instance
        // started meanwhile, or a command run inside this one's wait, finds
        // a write in progress and leaves it be.
        held_ = platform_.OpenForWriting(WriteJournalPath(platform_));
        const std::string text = WriteJournalText(journal);
        try {
            held_->WriteAt(0, text);
            held_->SetLength(text.size());
            held_->Flush();
        } catch (const Failure&) {
            // No journal rather than part of one.
            held_.reset();
            RemoveWriteJournal(platform_);
            throw;
        }
        journal_ = std::move(journal);
    } catch (const Failure& failure) {
        return mayWriteWithoutCopy_ && mayWriteWithoutCopy_(failure);
    }
    return true;
}

void RecoverableWrite::Finished() {
    held_.reset();
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
        if (now == journal_->before || now == journal_->after) {
            Finished();
            return;
        }
    } catch (const Failure&) {
        // Unknown: the journal stays, and the next start looks again.
    }
    Keep();
}

void RecoverableWrite::Keep() {
    held_.reset();
    journal_.reset();
}

InterruptedWrite FindInterruptedWrite(Platform& platform, std::u16string_view path) {
    InterruptedWrite found;
    std::string text;
    try {
        // Opened for this process alone: a journal that another instance
        // holds is its write in progress.
        found.journal = platform.OpenForWriting(WriteJournalPath(platform), Creation::OnlyExisting);
        if (found.journal->Size() > MostJournalBytes) {
            found.journal.reset();
            SetJournalAside(platform, "(larger than any journal of this program)\r\n");
            found.kind = InterruptedWrite::Kind::Unreadable;
            return found;
        }
        text = std::string(found.journal->Content());
    } catch (const Failure&) {
        return {};  // none, or none that can be read now: nothing to act on
    }
    const std::optional<WriteJournal> journal = ParseWriteJournal(text);
    if (!journal) {
        found.journal.reset();
        SetJournalAside(platform, text);
        found.kind = InterruptedWrite::Kind::Unreadable;
        return found;
    }
    const std::string now = HostsBytesNow(platform, path);
    const FileSnapshot snapshot = SnapshotBuilder::Of(now);
    std::optional<std::string> before;
    if (snapshot != journal->before && snapshot != journal->after) {
        try {
            std::string copy = journal->copy.empty()
                                   ? std::string()
                                   : platform.ReadFileBytes(HistoryFolder(platform) + u"\\" + journal->copy);
            // A copy the user has removed or changed since is not what was there.
            if (SnapshotBuilder::Of(copy) == journal->before) before = std::move(copy);
        } catch (const Failure&) {
        }
    }
    // Without the old bytes only the length tells a cut-off write; with
    // them, the whole shape does.
    const bool torn =
        snapshot != journal->before && snapshot != journal->after &&
        (before ? IsLeftByCutOffWrite(now, *before, journal->after.size, journal->afterPieces)
                : now.size() == std::max(journal->before.size, journal->after.size));
    if (!torn) {
        ForgetInterruptedWrite(platform, found);
        return {};
    }
    found.kind = InterruptedWrite::Kind::Torn;
    found.before = std::move(before);
    found.copy = journal->copy;
    return found;
}

void ForgetInterruptedWrite(Platform& platform, InterruptedWrite& found) {
    found.journal.reset();
    RemoveWriteJournal(platform);
}

void RemoveWriteJournal(Platform& platform) {
    try {
        platform.RemoveFile(WriteJournalPath(platform));
    } catch (const Failure& failure) {
        if (!IsMissingFile(failure) && failure.Number() != FailureNumber::SharingViolation) throw;
    }
}

}  // namespace quenlix
