#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSnapshot.h"
#include "platform/Platform.h"

namespace quenlix {

// The hosts file is written in place (see FileRewrite): a write cut off by a
// crash or a power cut leaves it torn. Before each write the program records
// what it is about to do in a journal beside the history copies, and removes
// the journal once the write is flushed; a journal found at the next start
// tells a finished write, one that never began and a torn file apart.
//
// The file's bytes are told by their snapshot (size and hash), as the save
// tells whether the file changed since the load: the journal guards against
// a crash, not against someone forging content, and the system's SHA-256
// would cost three times the write itself on a file of tens of megabytes.
struct WriteJournal {
    // The history copy holding the bytes the write replaces; empty when the
    // file held none (it was created, or empty).
    std::u16string copy;
    FileSnapshot before;
    FileSnapshot after;

    bool operator==(const WriteJournal&) const = default;
};

// The journal as the file holds it: a first line that names it, then one
// line each for the copy and the two snapshots, as text a user can read.
std::string WriteJournalText(const WriteJournal& journal);
// A journal's text; none when it is not exactly what WriteJournalText
// writes, or names a copy that is no history copy's name.
std::optional<WriteJournal> ParseWriteJournal(std::string_view text);

// The history copy and the journal around one write of the hosts file.
class RecoverableWrite {
public:
    // Asked, with the reason, when the copy cannot be kept: whether to write
    // all the same.
    using MayWriteWithoutCopy = std::function<bool(const Failure& why)>;

    RecoverableWrite(Platform& platform, MayWriteWithoutCopy mayWriteWithoutCopy);

    // Right before the first byte is written: keeps `before` as a history
    // copy and records the journal, both flushed. The file will hold
    // `afterHead` followed by `afterTail`. Nothing is kept when the write
    // changes no byte. False when the copy could not be kept and the user
    // chose not to write.
    bool Begin(std::string_view before, std::string_view afterHead, std::string_view afterTail = {});
    // The write was flushed: the journal goes.
    void Finished();
    // The write ended some other way: the journal goes when the hosts file at
    // `path` holds the old or the new bytes, and stays for the next start
    // when it holds neither (a failed write that could not be undone).
    void Settle(std::u16string_view path);

private:
    Platform& platform_;
    MayWriteWithoutCopy mayWriteWithoutCopy_;
    std::optional<WriteJournal> journal_;
};

// What the start of the program found of the last write.
struct InterruptedWrite {
    enum class Kind {
        // No journal, or one of a write that finished or never began (it has
        // been removed).
        None,
        // A journal that cannot be read: set aside, never acted on.
        Unreadable,
        // The hosts file holds neither the old nor the new bytes.
        Torn,
    };
    Kind kind = Kind::None;
    // For a torn file: the bytes before the write, when their copy is still
    // there and still holds them.
    std::optional<std::string> before;
};

// Looks for the journal of a write that did not end: removes one that the
// hosts file at `path` shows settled, sets aside one that cannot be read.
InterruptedWrite FindInterruptedWrite(Platform& platform, std::u16string_view path);

// Removes the journal; one that is gone already is fine.
void RemoveWriteJournal(Platform& platform);

}  // namespace quenlix
