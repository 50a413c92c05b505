#include "hosts/HostsWrite.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "hosts/BusyRetry.h"
#include "hosts/HostsStore.h"
#include "hosts/SafeWrite.h"
#include "platform/FileAttribute.h"

namespace quenlix {

HostsEditor LineAppended(Platform& platform, std::u16string line) {
    return [&platform, line = std::move(line)](const HostsNow& now) -> std::optional<HostsEdit> {
        return HostsEdit{now.bytes.size(), LineAppendedTo(platform, now.bytes, line)};
    };
}

HostsEditor WholeContent(std::string bytes) {
    return [bytes = std::move(bytes)](const HostsNow&) -> std::optional<HostsEdit> { return HostsEdit{0, bytes}; };
}

namespace {

// The attributes that keep a write out (read-only) or that a file written
// through a fresh handle could lose: security tools set them to guard the
// hosts file, and the user wants them kept.
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
                                   Creation creation) {
    BusyRetry busy(platform);
    std::optional<LoosenedAttributes> attributes;
    HostsWriteResult result;
    {
        auto file = busy.Run([&] {
            if (!attributes) attributes.emplace(platform, path);
            return std::make_unique<FileRewrite>(platform, path, creation);
        });
        const std::string& previous = file->Previous();
        const std::optional<HostsEdit> edit = editor({previous, file->Created()});
        if (edit) {
            const std::size_t kept = std::min(edit->kept, previous.size());
            busy.Run([&] { file->Replace(kept, edit->tail); });
            SnapshotBuilder snapshot;
            snapshot.Add(std::string_view(previous).substr(0, kept));
            snapshot.Add(edit->tail);
            result.written = true;
            result.snapshot = snapshot.Finish();
        }
    }
    // The file is closed: its attributes may be set again.
    result.attributesNotRestored = attributes->Restore();
    // Names resolved from the old file would otherwise be answered from the
    // cache for minutes, and the change look as if it did nothing.
    if (result.written) platform.FlushDnsCache();
    return result;
}

}  // namespace quenlix
