#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "hosts/BusyRetry.h"
#include "hosts/HostsStore.h"
#include "hosts/WriteJournal.h"
#include "platform/FileSnapshot.h"
#include "platform/Platform.h"

namespace quenlix {

class FileRewrite;

// What the hosts file holds when a command decides what to write.
struct HostsNow {
    std::string_view bytes;
    // There was no file (the write creates it); `bytes` is then empty.
    bool missing = false;
    // The same bytes read again a piece at a time, through the write's own
    // handle where there is one: for a look at each byte once, far less
    // memory to touch than `bytes`.
    PieceSource pieces;
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

// The editor that replaces the whole file with `bytes`.
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
// command writes it. Its steps, in order:
//
//   1. open        the read-only, hidden and system attributes taken off, the
//                  file opened once (another program that holds it for a
//                  moment waited out) and read through that handle: Now().
//   2. new bytes   worked out by the command from Now(), which nobody else
//                  can change meanwhile (HostsEdit).
//   3. copy and journal
//                  with a RecoverableWrite, the bytes the edit replaces kept
//                  as a history copy and the write journalled before its
//                  first byte (none is written when the copy fails and the
//                  user says so).
//   4. write       in place and flushed (FileRewrite::Write), the old bytes
//                  it overwrites copied first, or the file keeps its bytes.
//   5. attributes  put back, once the file is closed.
//   6. DNS cache   emptied.
//   7. read back   the file, through a handle of its own, told by its
//                  snapshot (FileHolds).
//
// Step 1 is the constructor; Finish takes the edit and does the rest.
class InPlaceWrite {
public:
    InPlaceWrite(Platform& platform, std::u16string_view path, Creation creation = Creation::OpenOrCreate);
    InPlaceWrite(const InPlaceWrite&) = delete;
    InPlaceWrite& operator=(const InPlaceWrite&) = delete;
    ~InPlaceWrite();

    HostsNow Now() const;
    HostsWriteResult Finish(std::optional<HostsEdit> edit, RecoverableWrite* recoverable = nullptr);

private:
    class LoosenedAttributes;

    Platform& platform_;
    std::u16string path_;
    // One budget for every step that may meet a busy file.
    BusyRetry busy_;
    std::unique_ptr<LoosenedAttributes> attributes_;
    std::unique_ptr<FileRewrite> file_;
};

// All seven steps, with `editor` as step 2.
HostsWriteResult WriteHostsInPlace(Platform& platform, std::u16string_view path, const HostsEditor& editor,
                                   Creation creation = Creation::OpenOrCreate,
                                   RecoverableWrite* recoverable = nullptr);

// Whether the file at `path`, read afresh a piece at a time, has `snapshot`:
// the bytes a write left there, told as the save tells a changed file. A
// missing file holds nothing.
bool FileHolds(Platform& platform, std::u16string_view path, const FileSnapshot& snapshot);

}  // namespace quenlix
