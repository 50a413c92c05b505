#pragma once

#include <string_view>

#include "hosts/HostsStore.h"
#include "hosts/HostsText.h"
#include "hosts/InPlaceWrite.h"

namespace quenlix::testing {

// The commands' writes of the file at `path`, through the write the program
// ships (WriteHostsInPlace), without a journal: a save of `text` that keeps
// the file's encoding, an append of a line, and the stock content.
inline HostsWriteResult SaveText(Platform& platform, std::u16string_view path, std::u16string_view text) {
    return WriteHostsInPlace(platform, path, [&](const HostsNow& now) {
        return HostsEdit{0, BytesToSave(platform, text, HostsEncoding::Ansi, now.bytes).bytes};
    });
}
inline HostsWriteResult AppendLine(Platform& platform, std::u16string_view path, std::u16string_view line) {
    return WriteHostsInPlace(platform, path, [&](const HostsNow& now) {
        return HostsEdit{now.bytes.size(), LineAppendedTo(platform, now.bytes, line)};
    });
}
inline HostsWriteResult WriteStock(Platform& platform, std::u16string_view path,
                                   Creation creation = Creation::OpenOrCreate) {
    return WriteHostsInPlace(platform, path, WholeContent(platform.ToAnsi(DefaultHostsText)), creation);
}

}  // namespace quenlix::testing
