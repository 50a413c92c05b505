#include "commands/EntryCommands.h"

#include "commands/HostsWriting.h"
#include "edit/DuplicateLines.h"
#include "hosts/BusyRetry.h"
#include "hosts/HostsPaths.h"
#include "hosts/HostsStore.h"
#include "platform/MessageStyle.h"
#include "platform/Platform.h"
#include "platform/WindowState.h"

namespace quenlix {

void AppendText2(WindowState& window, Platform& platform) {
    const std::u16string line = window.Text(TextBox::Text2);
    // This one command never reports: whatever fails from here on is dropped,
    // and the file stays as the failed step left it (a failed append is
    // undone by the store).
    try {
        WriteHostsFile(platform, LineAppended(platform, line), Reporting::Silent);
    } catch (const Failure&) {
    }
}

void AppendEntry(WindowState& window, Platform& platform) {
    // The boxes are read once the file is open, as the edit is worked out.
    WriteHostsFile(platform, [&](const HostsNow& now) -> std::optional<HostsEdit> {
        const std::u16string address = window.Text(TextBox::Text2);
        const std::u16string host = window.Text(TextBox::Text3);
        return HostsEdit{now.bytes.size(), LineAppendedTo(platform, now.bytes, EntryLine(address, host))};
    });
}

void AppendEntryUnlessDefined(WindowState& window, Platform& platform) {
    const std::u16string path = HostsPath(platform);
    const std::u16string text = BusyRetry(platform).Run([&] { return ReadHostsText(platform, path); });
    const std::u16string entry = EntryLine(window.Text(TextBox::Text2), window.Text(TextBox::Text3));

    // The platform's case mapping works character by character, so mapping
    // the text a block of lines at a time equals mapping it whole, and a
    // large file is not held a second time in capitals.
    const auto toUpper = [&](std::u16string_view piece) { return platform.ToUpper(piece); };
    if (const auto duplicate = FirstDuplicateLineByBlocks(text, platform.ToUpper(entry), toUpper)) {
        platform.ShowMessage(u"定义有重复\n" + platform.ToLower(*duplicate), Mb::Ok);
        return;
    }
    WriteHostsFile(platform, LineAppended(platform, entry));
}

}  // namespace quenlix
