#include "hosts/HostsWrite.h"

#include <algorithm>
#include <memory>

#include "hosts/BusyRetry.h"
#include "hosts/HostsStore.h"
#include "hosts/SafeWrite.h"

namespace quenlix {

HostsEditor LineAppended(Platform& platform, std::u16string line) {
    return [&platform, line = std::move(line)](const HostsNow& now) -> std::optional<HostsEdit> {
        return HostsEdit{now.bytes.size(), LineAppendedTo(platform, now.bytes, line)};
    };
}

HostsEditor WholeContent(std::string bytes) {
    return [bytes = std::move(bytes)](const HostsNow&) -> std::optional<HostsEdit> { return HostsEdit{0, bytes}; };
}

std::optional<HostsWritten> WriteHostsInPlace(Platform& platform, std::u16string_view path,
                                              const HostsEditor& editor, Creation creation) {
    BusyRetry busy(platform);
    auto file = busy.Run([&] { return std::make_unique<FileRewrite>(platform, path, creation); });
    const std::string& previous = file->Previous();
    const std::optional<HostsEdit> edit = editor({previous, file->Created()});
    if (!edit) return std::nullopt;
    const std::size_t kept = std::min(edit->kept, previous.size());
    busy.Run([&] { file->Replace(kept, edit->tail); });

    SnapshotBuilder snapshot;
    snapshot.Add(std::string_view(previous).substr(0, kept));
    snapshot.Add(edit->tail);
    return HostsWritten{snapshot.Finish()};
}

}  // namespace quenlix
