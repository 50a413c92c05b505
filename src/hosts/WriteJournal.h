#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>
#include <memory>

#include "platform/FileSnapshot.h"
#include "platform/Platform.h"

namespace quenlix {

// The hosts file is written in place (see CutOffWrite.h): a write cut off by
// a crash or a power cut leaves it torn. Before each write the program
// records what it is about to do in a journal beside the history copies,
// holds the journal open (nobody may remove it) for as long as the write is
// in progress, and removes it once the write is flushed; a journal found at
// the next start tells a finished write, one that never began, a torn file
// and another program's change apart.
//
// The file's bytes are told by their snapshot (size and hash), as the save
// tells whether the file changed since the load, and the new bytes also by
// the hashes of their pieces: the journal guards against a crash, not
// against someone forging content, and the system's SHA-256 would cost
// three times the write itself on a file of tens of megabytes.
struct WriteJournal {
    // The history copy holding the bytes the write replaces; empty when the
    // file held none (it was created, or empty).
    std::u16string copy;
    FileSnapshot before;
    FileSnapshot after;
    // PieceHashes of the new bytes.
    std::vector<std::uint64_t> afterPieces;

    bool operator==(const WriteJournal&) const = default;
};

// The most a journal may hold; a larger one is no journal of this program's
// (the pieces of a 4 GB file take 1 MB).
inline constexpr std::uint64_t MostJournalBytes = std::uint64_t{1} << 21;

// The journal as the file holds it: a first line that names it, then one
// line each for the copy, the two snapshots and the pieces' hashes, as text
// a user can read.
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
    // copy and records the journal, both flushed, and holds the journal open
    // until the write ends. The file will hold `afterHead` followed by
    // `afterTail`. Nothing is kept when the write changes no byte. False
    // when the copy or the journal could not be kept (another instance's
    // write holds it) and the user chose not to write.
    bool Begin(std::string_view before, std::string_view afterHead, std::string_view afterTail = {});
    // The write was flushed: the journal goes.
    void Finished();
    // The write ended some other way: the journal goes when the hosts file at
    // `path` holds the old or the new bytes, and stays for the next start
    // when it holds neither (a failed write that could not be undone).
    void Settle(std::u16string_view path);
    // The outcome is not known yet (another process still writes): the
    // journal stays for the next start, and is no longer held.
    void Keep();

private:
    Platform& platform_;
    MayWriteWithoutCopy mayWriteWithoutCopy_;
    std::optional<WriteJournal> journal_;
    std::unique_ptr<WritableFile> held_;
};

// What the start of the program found of the last write.
struct InterruptedWrite {
    enum class Kind {
        // No journal, one of a write still in progress in another instance,
        // or one of a write that finished, never began or was followed by
        // another program's change (it has been removed).
        None,
        // A journal that cannot be read: set aside, never acted on.
        Unreadable,
        // The hosts file holds what a cut-off write of the journal leaves.
        Torn,
    };
    Kind kind = Kind::None;
    // For a torn file: the bytes before the write, when their copy is still
    // there and still holds them.
    std::optional<std::string> before;
    // The copy's name (its date and time), empty when the file held nothing.
    std::u16string copy;
    // A torn file's journal, held until ForgetInterruptedWrite.
    std::unique_ptr<WritableFile> journal;
};

// Looks for the journal of a write that did not end: removes one that the
// hosts file at `path` shows settled or changed by another program since,
// sets aside one that cannot be read. A journal that another instance holds
// is that instance's write in progress, and left alone.
InterruptedWrite FindInterruptedWrite(Platform& platform, std::u16string_view path);

// Lets go of a torn file's journal and removes it.
void ForgetInterruptedWrite(Platform& platform, InterruptedWrite& found);

// Removes the journal; one that is gone already, or held by another
// instance's write, is fine.
void RemoveWriteJournal(Platform& platform);

}  // namespace quenlix
