#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "hosts/HostsStore.h"
#include "hosts/WriteJournal.h"
#include "platform/FileSnapshot.h"
#include "platform/Platform.h"

namespace quenlix {

// What the hosts file holds when a command decides what to write.
struct HostsNow {
    std::string_view bytes;
    // There was no file (the write creates it); `bytes` is then empty.
    bool missing = false;
};

// What a command makes of the file: its first `kept` bytes stay, and `tail`
// follows them. An append keeps them all; a save or a reset keeps none.
struct HostsEdit {
    std::size_t kept = 0;
    std::string tail;
};

// Works out the edit from what the file holds now, asking the user where the
// command asks; no edit means nothing is written.
using HostsEditor = std::function<std::optional<HostsEdit>(const HostsNow& now)>;

// The edit that appends `line` on a line of its own, in the file's encoding;
// none when characters the encoding cannot hold would become its default
// character and `mayLose` says no.
HostsEditor LineAppended(Platform& platform, std::u16string line, MayLoseCharacters mayLose = {});

// The edit that replaces the whole file with `bytes`.
HostsEditor WholeContent(std::string bytes);

// What became of one write of the hosts file.
struct HostsWriteResult {
    // False when the edit said to write nothing.
    bool written = false;
    // Of the whole content written.
    FileSnapshot snapshot;
    // The file was read-only, hidden or system, lost those attributes for the
    // write and could not be given them back: why not. The write itself
    // stands.
    std::optional<Failure> attributesNotRestored;
    // Read back right after the write, the file did not hold what was
    // written: another program (a security tool, typically) changed or
    // removed it at once.
    bool readBackDiffers = false;
    // The file could not be read back (busy, refused): written, but not
    // checked. Why, when known.
    std::optional<Failure> readBackFailed;
};

// One write of the hosts file at `path` by this process, the way every
// command writes it: the read-only, hidden and system attributes are taken
// off for the write and put back right after; the file is opened once
// (waiting out another program that holds it for a moment), `editor` decides
// from the bytes read through that handle, and the edit is written in place
// and flushed, or the file keeps its bytes. After a write the system's DNS
// cache is emptied and the file, closed, is read back. With `recoverable`,
// the bytes the edit replaces are kept as a history copy and the write is
// journalled before its first byte (none is written when the copy fails and
// the user says so).
HostsWriteResult WriteHostsInPlace(Platform& platform, std::u16string_view path, const HostsEditor& editor,
                                   Creation creation = Creation::OpenOrCreate,
                                   RecoverableWrite* recoverable = nullptr);

// Whether the file at `path` holds exactly `head` followed by `tail`, read
// afresh a piece at a time; a missing file holds nothing.
bool FileHolds(Platform& platform, std::u16string_view path, std::string_view head, std::string_view tail);

}  // namespace quenlix
