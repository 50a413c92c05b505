#include "hosts/HostsWrite.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "hosts/BusyRetry.h"
#include "hosts/HostsStore.h"
#include "hosts/SafeWrite.h"
#include "platform/FileAttribute.h"

namespace quenlix {

HostsEditor LineAppended(Platform& platform, std::u16string line, MayLoseCharacters mayLose) {
    return [&platform, line = std::move(line), mayLose = std::move(mayLose)](
               const HostsNow& now) -> std::optional<HostsEdit> {
        std::size_t lost = 0;
        std::string tail = LineAppendedTo(platform, now.bytes, line, &lost);
        if (lost > 0 && mayLose && !mayLose(lost)) return std::nullopt;
        return HostsEdit{now.bytes.size(), std::move(tail)};
    };
}

HostsEditor WholeContent(std::string bytes) {
    return [bytes = std::move(bytes)](const HostsNow&) -> std::optional<HostsEdit> { return HostsEdit{0, bytes}; };
}

namespace {

// The attributes security tools set to guard the hosts file: read-only keeps
// every write out, and the user who asked for the write wants all three kept
// once it is done.
constexpr std::uint32_t Guarding = FileAttribute::ReadOnly | FileAttribute::Hidden | FileAttribute::System;

// A file's guarding attributes, taken off for one write and put back after
// it, whatever becomes of the write.
class LoosenedAttributes {
public:
    LoosenedAttributes(Platform& platform, std::u16string_view path) : platform_(platform), path_(path) {
        const std::optional<std::uint32_t> attributes = platform.FileAttributesOf(path);
        if (!attributes || (*attributes & FileAttribute::Directory) != 0) return;
        if ((*attributes & Guarding) == 0) return;
        platform.ChangeFileAttributes(path, *attributes & ~Guarding);
        taken_ = *attributes & Guarding;
    }
    LoosenedAttributes(const LoosenedAttributes&) = delete;
    LoosenedAttributes& operator=(const LoosenedAttributes&) = delete;
    ~LoosenedAttributes() { Restore(); }

    // Puts the attributes back, once; the failure when they could not be.
    std::optional<Failure> Restore() {
        if (taken_ == 0) return std::nullopt;
        const std::uint32_t taken = std::exchange(taken_, 0);
        try {
            // Those the write gave the file (archive) stay.
            const std::uint32_t now = platform_.FileAttributesOf(path_).value_or(0) & ~FileAttribute::Directory;
            // One call that sets read-only with hidden or system loses the
            // latter two under Wine: read-only comes last, on its own.
            if ((taken & FileAttribute::ReadOnly) != 0 && (taken & ~FileAttribute::ReadOnly) != 0)
                platform_.ChangeFileAttributes(path_, now | (taken & ~FileAttribute::ReadOnly));
            platform_.ChangeFileAttributes(path_, now | taken);
        } catch (const Failure& failure) {
            return failure;
        }
        return std::nullopt;
    }

private:
    Platform& platform_;
    std::u16string path_;
    std::uint32_t taken_ = 0;
};

}  // namespace

HostsWriteResult WriteHostsInPlace(Platform& platform, std::u16string_view path, const HostsEditor& editor,
                                   Creation creation, RecoverableWrite* recoverable) {
    BusyRetry busy(platform);
    std::optional<LoosenedAttributes> attributes;
    auto file = busy.Run([&] {
        if (!attributes) attributes.emplace(platform, path);
        return std::make_unique<FileRewrite>(platform, path, creation);
    });
    const std::string& previous = file->Previous();
    std::optional<HostsEdit> edit = editor({previous, file->Created()});
    const std::size_t kept = edit ? std::min(edit->kept, previous.size()) : 0;
    if (edit && recoverable && !recoverable->Begin(previous, std::string_view(previous).substr(0, kept), edit->tail))
        edit.reset();
    if (edit) {
        try {
            busy.Run([&] { file->Replace(kept, edit->tail); });
        } catch (const Failure&) {
            // The write put the old bytes back, unless that failed too.
            if (recoverable) {
                file->Close();
                recoverable->Settle(path);
            }
            throw;
        }
        if (recoverable) recoverable->Finished();
    }
    file->Close();

    HostsWriteResult result;
    // The file is closed: its attributes may be set again.
    result.attributesNotRestored = attributes->Restore();
    if (!edit) return result;
    result.written = true;
    SnapshotBuilder snapshot;
    snapshot.Add(std::string_view(previous).substr(0, kept));
    snapshot.Add(edit->tail);
    result.snapshot = snapshot.Finish();
    // Names resolved from the old file would otherwise be answered from the
    // cache for minutes, and the change look as if it did nothing.
    platform.FlushDnsCache();
    // Security tools quietly put back a hosts file that maps the names they
    // care about; a change they undid at once must not pass for saved. Read
    // through a handle of its own, the file shows what others see of it.
    // The write has gone through whatever becomes of this check.
    try {
        result.readBackDiffers = !busy.Run(
            [&] { return FileHolds(platform, path, std::string_view(previous).substr(0, kept), edit->tail); });
    } catch (const Failure& failure) {
        result.readBackFailed = failure;
    }
    return result;
}

bool FileHolds(Platform& platform, std::u16string_view path, std::string_view head, std::string_view tail) {
    std::uint64_t at = 0;
    bool same = true;
    // Compares `piece`, which starts `offset` bytes into the expected content,
    // with the part of `part` it covers; gives how much of it was compared.
    const auto compare = [&](std::string_view piece, std::uint64_t offset, std::string_view part,
                             std::uint64_t partStart) -> std::size_t {
        if (offset < partStart || offset >= partStart + part.size()) return 0;
        const std::size_t from = static_cast<std::size_t>(offset - partStart);
        const std::size_t length = std::min(piece.size(), part.size() - from);
        if (piece.substr(0, length) != part.substr(from, length)) same = false;
        return length;
    };
    try {
        platform.ReadFilePieces(path, [&](std::string_view piece, std::uint64_t) {
            while (same && !piece.empty()) {
                std::size_t done = compare(piece, at, head, 0);
                if (done == 0) done = compare(piece, at, tail, head.size());
                if (done == 0) {
                    same = false;  // longer than what was written
                    break;
                }
                piece.remove_prefix(done);
                at += done;
            }
        });
    } catch (const Failure& failure) {
        if (failure.Number() == FailureNumber::FileNotFound || failure.Number() == FailureNumber::PathNotFound)
            return false;
        throw;
    }
    return same && at == head.size() + tail.size();
}

}  // namespace quenlix
