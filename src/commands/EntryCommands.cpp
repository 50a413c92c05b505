#include "commands/EntryCommands.h"

#include "edit/DuplicateTest.h"
#include "hosts/HostsEncoding.h"
#include "hosts/HostsPaths.h"
#include "hosts/HostsStore.h"
#include "hosts/SafeWrite.h"
#include "platform/MessageStyle.h"
#include "platform/Platform.h"
#include "platform/WindowState.h"

namespace quenlix {

void AppendText2(WindowState& window, Platform& platform) {
    const std::u16string path = HostsPath(platform);
    const std::u16string line = window.Text(TextBox::Text2);
    // This one command never reports: whatever fails from here on is dropped,
    // and the file stays as the failed step left it (a failed append is
    // undone by the store).
    try {
        AppendHostsLine(platform, path, line);
    } catch (const Failure&) {
    }
}

void AppendEntry(WindowState& window, Platform& platform) {
    AppendingFile file(platform, HostsPath(platform));
    const std::u16string address = window.Text(TextBox::Text2);
    const std::u16string host = window.Text(TextBox::Text3);
    file.Append(EncodeLine(platform, EntryLine(address, host), DetectEncoding(file.ReadAll())));
}

void SaveHostsFile(WindowState& window, Platform& platform) {
    const std::u16string path = HostsPath(platform);

    // The file as it is now: the save keeps its encoding, and asks before it
    // overwrites what reached the file since Text1 was filled or saved (an
    // entry appended since, a restored file, another program's change).
    HostsEncoding encoding = HostsEncoding::Ansi;
    if (const auto current = ReadFileStateIfPresent(platform, path)) {
        encoding = current->encoding;
        if (window.HostsSnapshot() != current->snapshot &&
            platform.ShowMessage(u"Hosts 文件在上次读取后已被修改（可能是刚追加的条目、还原的内容或其他程序的改动）。"
                                 u"\n\n继续保存将覆盖这些修改。是否继续保存？",
                                 Mb::YesNo | Mb::IconWarning | Mb::DefaultButton2, u"提示") != Answer::Yes)
            return;
    }

    // Text1 can hold a whole hosts file of many megabytes: it is encoded
    // straight from the box's own text, with no copy of it on the way.
    std::string bytes;
    window.ReadText1([&](std::u16string_view text) { bytes = EncodeHostsText(platform, text, encoding); });
    ReplaceFileContent(platform, path, bytes);
    window.SetHostsSnapshot(SnapshotBuilder::Of(bytes));
    window.MarkText1Saved();
}

void AppendEntryUnlessDefined(WindowState& window, Platform& platform) {
    const std::u16string path = HostsPath(platform);
    const std::u16string text = ReadHostsText(platform, path);
    const std::u16string entry = EntryLine(window.Text(TextBox::Text2), window.Text(TextBox::Text3));

    // The platform's case mapping works character by character, so mapping
    // the text a block of lines at a time equals mapping it whole, and a
    // large file is not held a second time in capitals.
    const auto toUpper = [&](std::u16string_view piece) { return platform.ToUpper(piece); };
    if (const auto duplicate = FirstDuplicateLineByBlocks(text, platform.ToUpper(entry), toUpper)) {
        platform.ShowMessage(u"定义有重复\n" + platform.ToLower(*duplicate), Mb::Ok);
        return;
    }
    AppendHostsLine(platform, path, entry);
}

bool MayCloseWindow(WindowState& window, Platform& platform) {
    if (!window.Text1Modified()) return true;
    switch (platform.ShowMessage(u"Text1 中的修改尚未保存到 Hosts 文件。\n\n是否在关闭前保存？",
                                 Mb::YesNoCancel | Mb::IconWarning, u"提示")) {
        case Answer::Yes:
            SaveHostsFile(window, platform);
            return !window.Text1Modified();  // not saved when the user kept the file as it was
        case Answer::No: return true;
        default: return false;
    }
}

}  // namespace quenlix
