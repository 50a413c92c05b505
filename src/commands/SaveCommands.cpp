#include "commands/SaveCommands.h"

#include <string>

#include "commands/HostsChange.h"
#include "commands/LostCharacters.h"
#include "hosts/HostsEncoding.h"
#include "hosts/HostsPaths.h"
#include "hosts/HostsStore.h"
#include "platform/FileSnapshot.h"
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

// The bytes of the hosts text box as a save writes them over `current`,
// encoded straight from the box's own text: it can hold a whole hosts file
// of many megabytes, and no copy of it is made on the way.
SaveBytes HostsTextToSave(WindowState& window, Platform& platform, std::string_view current,
                          std::optional<HostsEncoding> as = {}) {
    std::optional<SaveBytes> save;
    window.ReadHostsText([&](std::u16string_view text) {
        save = BytesToSave(platform, text, window.HostsFileEncoding(), current, as);
    });
    return std::move(*save);
}

// The save's edit of the file as it is now, with the save's questions, and
// the encoding it writes: no edit when the user keeps the file as it is.
std::optional<HostsEdit> SaveEdit(WindowState& window, Platform& platform, const HostsNow& now,
                                  HostsEncoding& encoding) {
    // A change that reached the file after the load (an entry appended
    // since, a restored file, another program's change) is asked about.
    if (!now.missing && window.HostsSnapshot() != SnapshotBuilder::Of(now.bytes) &&
        platform.ShowMessage(u"Hosts 文件在上次读取后已被修改（可能是刚追加的条目、还原的内容或其他程序的改动）。"
                             u"\n\n继续保存将覆盖这些修改。是否继续保存？",
                             Mb::YesNo | Mb::IconWarning | Mb::DefaultButton2, u"提示") != Answer::Yes)
        return std::nullopt;
    SaveBytes save = HostsTextToSave(window, platform, now.bytes);
    // Characters the ANSI code page cannot hold are never written as "?"
    // without the user's word; UTF-8 holds them all.
    if (save.lost > 0 && save.encoding == HostsEncoding::Ansi) {
        switch (platform.ShowMessage(LostCharactersText(platform, save.lost) + u"\n\n是否改用 UTF-8 编码保存？",
                                     Mb::YesNoCancel | Mb::IconWarning, u"提示")) {
            case Answer::Yes: save = HostsTextToSave(window, platform, now.bytes, HostsEncoding::Utf8); break;
            case Answer::No: break;
            default: return std::nullopt;
        }
    }
    encoding = save.encoding;
    return HostsEdit{0, std::move(save.bytes)};
}

}  // namespace

void SaveHostsFile(WindowState& window, Platform& platform) {
    // The edit is worked out from the bytes read through the handle that then
    // writes, and nobody else may write the file in between: what the save
    // asks about is what it overwrites.
    HostsEncoding encoding = HostsEncoding::Ansi;
    const HostsWriteResult result =
        ChangeHostsFile(platform, [&](const HostsNow& now) { return SaveEdit(window, platform, now, encoding); });
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
