#include "hosts/InPlaceWrite.h"

#include <algorithm>
#include <utility>

#include "hosts/SafeWrite.h"
#include "platform/FileAttribute.h"

namespace quenlix {

HostsEditor WholeContent(std::string bytes) {
    return [bytes = std::move(bytes)](const HostsNow&) -> std::optional<HostsEdit> { return HostsEdit{0, bytes}; };
}

namespace {

// The attributes security tools set to guard the hosts file: read-only keeps
// every write out, and the user who asked for the write wants all three kept
// once it is done.
constexpr std::uint32_t Guarding = FileAttribute::ReadOnly | FileAttribute::Hidden | FileAttribute::System;

}  // namespace

// A file's guarding attributes, taken off for one write and put back after
// it, whatever becomes of the write.
class InPlaceWrite::LoosenedAttributes {
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

InPlaceWrite::InPlaceWrite(Platform& platform, std::u16string_view path, Creation creation)
    : platform_(platform), path_(path), busy_(platform) {
    file_ = busy_.Run([&] {
        if (!attributes_) attributes_ = std::make_unique<LoosenedAttributes>(platform, path);
        return std::make_unique<FileRewrite>(platform, path, creation);
    });
}

// A write given up before Finish (the edit failed) closes the file before
// the attributes go back.
InPlaceWrite::~InPlaceWrite() { file_.reset(); }

HostsNow InPlaceWrite::Now() const {
    return {file_->Previous(), file_->Created(), [this](const PieceReader& piece) { file_->ReadPrevious(piece); }};
}

HostsWriteResult InPlaceWrite::Finish(std::optional<HostsEdit> edit, RecoverableWrite* recoverable) {
    const std::string_view previous = file_->Previous();  // until the write
    const std::size_t kept = edit ? std::min(edit->kept, previous.size()) : 0;
    const std::string_view head = previous.substr(0, kept);
    if (edit && recoverable && !recoverable->Begin(previous, head, edit->tail)) edit.reset();
    HostsWriteResult result;
    if (edit) {
        SnapshotBuilder snapshot;
        snapshot.Add(head);
        snapshot.Add(edit->tail);
        result.snapshot = snapshot.Finish();
        try {
            busy_.Run([&] { file_->Write(kept, edit->tail); });
        } catch (const Failure&) {
            // The write put the old bytes back, unless that failed too.
            if (recoverable) {
                file_->Close();
                recoverable->Settle(path_);
            }
            throw;
        }
        if (recoverable) recoverable->Finished();
    }
    file_->Close();

    // The file is closed: its attributes may be set again.
    result.attributesNotRestored = attributes_->Restore();
    if (!edit) return result;
    result.written = true;
    // Names resolved from the old file would otherwise be answered from the
    // cache for minutes, and the change look as if it did nothing.
    platform_.FlushDnsCache();
    // Security tools quietly put back a hosts file that maps the names they
    // care about; a change they undid at once must not pass for saved. Read
    // through a handle of its own, the file shows what others see of it.
    // The write has gone through whatever becomes of this check.
    try {
        result.readBackDiffers = !busy_.Run([&] { return FileHolds(platform_, path_, result.snapshot); });
    } catch (const Failure& failure) {
        result.readBackFailed = failure;
    }
    return result;
}

HostsWriteResult WriteHostsInPlace(Platform& platform, std::u16string_view path, const HostsEditor& editor,
                                   Creation creation, RecoverableWrite* recoverable) {
    InPlaceWrite write(platform, path, creation);
    return write.Finish(editor(write.Now()), recoverable);
}

bool FileHolds(Platform& platform, std::u16string_view path, const FileSnapshot& snapshot) {
    SnapshotBuilder seen;
    try {
        platform.ReadFilePieces(path, [&](std::string_view piece, std::uint64_t) { seen.Add(piece); });
    } catch (const Failure& failure) {
        if (IsMissingFile(failure)) return false;
        throw;
    }
    return seen.Finish() == snapshot;
}

}  // namespace quenlix
