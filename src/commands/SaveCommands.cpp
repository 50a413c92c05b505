#include "commands/SaveCommands.h"

#include <string>

#include "commands/HostsWriting.h"
#include "commands/LostCharacters.h"
#include "hosts/HostsEncoding.h"
#include "hosts/HostsPaths.h"
#include "hosts/HostsStore.h"
#include "platform/MessageStyle.h"
#include "platform/Platform.h"
#include "platform/WindowState.h"

namespace quenlix {

namespace {

// Whether the hosts file, read afresh, holds the bytes of `snapshot`.
bool HostsFileHolds(Platform& platform, const FileSnapshot& snapshot) {
    try {
        SnapshotBuilder now;
        platform.ReadFilePieces(HostsPath(platform), [&](std::string_view piece, std::uint64_t) { now.Add(piece); });
        return now.Finish() == snapshot;
    } catch (const Failure&) {
        return false;
    }
}

}  // namespace

void SaveHostsFile(WindowState& window, Platform& platform) {
    // The edit is worked out from the bytes read through the handle that then
    // writes, and nobody else may write the file in between: a change that
    // reached the file after the load (an entry appended since, a restored
    // file, another program's change) is either seen here and asked about,
    // or not made at all.
    HostsEncoding encoding = HostsEncoding::Ansi;
    const HostsWriteResult result = WriteHostsFile(platform, [&](const HostsNow& now) -> std::optional<HostsEdit> {
        const std::string_view current = now.bytes;
        if (!now.missing && window.HostsSnapshot() != SnapshotBuilder::Of(current) &&
            platform.ShowMessage(u"Hosts 文件在上次读取后已被修改（可能是刚追加的条目、还原的内容或其他程序的改动）。"
                                 u"\n\n继续保存将覆盖这些修改。是否继续保存？",
                                 Mb::YesNo | Mb::IconWarning | Mb::DefaultButton2, u"提示") != Answer::Yes)
            return std::nullopt;

        // The file keeps its encoding; one that is gone or empty meanwhile
        // keeps the one it had when the hosts text box was filled, so its
        // characters survive.
        encoding = current.empty() ? window.HostsFileEncoding() : DetectEncoding(current);

        // The hosts text box can hold a whole hosts file of many megabytes:
        // it is encoded straight from the box's own text, with no copy of it
        // on the way.
        const auto encode = [&](HostsEncoding as, std::size_t* lost) {
            std::string bytes;
            window.ReadHostsText([&](std::u16string_view text) { bytes = EncodeHostsText(platform, text, as, lost); });
            return bytes;
        };
        std::size_t lost = 0;
        HostsEdit edit{0, encode(encoding, &lost)};
        // Characters the ANSI code page cannot hold are never written as "?"
        // without the user's word; UTF-8 holds them all.
        if (lost > 0 && encoding == HostsEncoding::Ansi) {
            switch (platform.ShowMessage(LostCharactersText(platform, lost) + u"\n\n是否改用 UTF-8 编码保存？",
                                         Mb::YesNoCancel | Mb::IconWarning, u"提示")) {
                case Answer::Yes:
                    encoding = HostsEncoding::Utf8;
                    edit.tail = encode(encoding, nullptr);
                    break;
                case Answer::No: break;
                default: return std::nullopt;
            }
        }
        // A UTF-16 file of an odd size ends in a byte that is no character;
        // the text never held it, and the save keeps it.
        const std::size_t mark = MarkOf(encoding).size();
        if (IsUtf16(encoding) && current.size() > mark && (current.size() - mark) % 2 != 0)
            edit.tail.push_back(current.back());
        return edit;
    });
    // A file that does not hold the text after all has not saved it: the
    // text stays unsaved, and the next save asks before it overwrites the
    // file.
    if (!result.written || result.readBackDiffers) return;
    // Written but not checked: saved only once the file, read again after
    // the user was told, shows the new bytes.
    if (result.readBackFailed && !HostsFileHolds(platform, result.snapshot)) return;
    window.SetHostsSnapshot(result.snapshot, encoding);
    window.MarkHostsTextSaved();
}

bool MayCloseWindow(WindowState& window, Platform& platform) {
    if (!window.HostsTextModified()) return true;
    switch (platform.ShowMessage(u"Text1 中的修改尚未保存到 Hosts 文件。\n\n是否在关闭前保存？",
                                 Mb::YesNoCancel | Mb::IconWarning, u"提示")) {
        case Answer::Yes:
            SaveHostsFile(window, platform);
            return !window.HostsTextModified();  // not saved when the user kept the file as it was
        case Answer::No: return true;
        default: return false;
    }
}

}  // namespace quenlix
