#include "commands/EntryCommands.h"

#include "commands/HostsWriting.h"
#include "commands/LostCharacters.h"
#include "edit/DuplicateLines.h"
#include "hosts/BusyRetry.h"
#include "hosts/HostsPaths.h"
#include "hosts/HostsStore.h"
#include "platform/MessageStyle.h"
#include "platform/Platform.h"
#include "platform/WindowState.h"

namespace quenlix {

namespace {

// The append's question before characters become "?", asked of the user.
MayLoseCharacters AskTheUser(Platform& platform) {
    return [&platform](std::size_t lost) { return MayAppendLosingCharacters(platform, lost); };
}

}  // namespace

void AppendAddressLine(WindowState& window, Platform& platform) {
    const std::u16string line = window.Text(TextBox::Address);
    // This one command never reports: whatever fails from here on is dropped,
    // and the file stays as the failed step left it (a failed append is
    // undone by the store).
    try {
        WriteHostsFile(platform, LineAppended(platform, line, AskTheUser(platform)), Reporting::Silent);
    } catch (const Failure&) {
    }
}

void AppendEntry(WindowState& window, Platform& platform) {
    // The boxes are read once the file is open, as the edit is worked out.
    WriteHostsFile(platform, [&](const HostsNow& now) {
        const std::u16string address = window.Text(TextBox::Address);
        const std::u16string host = window.Text(TextBox::HostName);
        return LineAppended(platform, EntryLine(address, host), AskTheUser(platform))(now);
    });
}

void AppendEntryUnlessDefined(WindowState& window, Platform& platform) {
    const std::u16string path = HostsPath(platform);
    const std::u16string entry = EntryLine(window.Text(TextBox::Address), window.Text(TextBox::HostName));
    const std::u16string upperEntry = platform.ToUpper(entry);

    // Each line is looked at once, as the file is read and decoded: a large
    // file is never held whole, neither as read nor in capitals.
    const auto duplicate =
        BusyRetry(platform).Run([&] { return FirstDuplicateLineInFile(platform, path, upperEntry); });
    if (duplicate) {
        platform.ShowMessage(u"定义有重复\n" + platform.ToLower(*duplicate), Mb::Ok);
        return;
    }
    WriteHostsFile(platform, LineAppended(platform, entry, AskTheUser(platform)));
}

}  // namespace quenlix
