#include "commands/EntryCommands.h"

#include "commands/EntryProblemText.h"
#include "commands/HostsChange.h"
#include "commands/LostCharacters.h"
#include "edit/DuplicateLines.h"
#include "edit/EntryCheck.h"
#include "edit/StringRules.h"
#include "hosts/HostsStore.h"
#include "platform/MessageStyle.h"
#include "platform/Platform.h"
#include "platform/WindowState.h"

namespace quenlix {

namespace {

// The append of `line` to the file as it is now. An entry that Windows would
// not use as written is only appended on the user's Yes: a warning, not a
// ban, since the user may mean it. No, the default, appends nothing.
std::optional<HostsEdit> CheckedAppend(Platform& platform, const HostsNow& now, const std::u16string& line,
                                       const std::optional<EntryProblem>& problem) {
    if (problem && platform.ShowMessage(EntryProblemText(*problem) + u"\n\n是否仍然追加？",
                                        Mb::YesNo | Mb::IconWarning | Mb::DefaultButton2, u"提示") != Answer::Yes)
        return std::nullopt;
    std::size_t lost = 0;
    std::string tail = LineAppendedTo(platform, now.bytes, line, &lost);
    if (lost > 0 && !MayAppendLosingCharacters(platform, lost)) return std::nullopt;
    return HostsEdit{now.bytes.size(), std::move(tail)};
}

}  // namespace

void AppendAddressLine(WindowState& window, Platform& platform) {
    const std::u16string line = window.Text(TextBox::Address);
    // This one command never reports: whatever fails from here on is dropped,
    // and the file stays as the failed step left it (a failed append is
    // undone by the store). Only the user's word is asked for, before an
    // entry Windows would not use, as the other appends ask it.
    try {
        ChangeHostsFile(
            platform, [&](const HostsNow& now) { return CheckedAppend(platform, now, line, FirstLineProblem(line)); },
            Reporting::Silent);
    } catch (const Failure&) {
    }
}

void AppendEntry(WindowState& window, Platform& platform) {
    // The boxes are read once the file is open, as the edit is worked out.
    ChangeHostsFile(platform, [&](const HostsNow& now) {
        const std::u16string address = window.Text(TextBox::Address);
        const std::u16string host = window.Text(TextBox::HostName);
        return CheckedAppend(platform, now, EntryLine(address, host), FirstEntryProblem(address, host));
    });
}

void AppendEntryUnlessDefined(WindowState& window, Platform& platform) {
    const std::u16string address = window.Text(TextBox::Address);
    const std::u16string host = window.Text(TextBox::HostName);
    const std::u16string entry = EntryLine(address, host);
    const std::u16string upperEntry = platform.ToUpper(entry);

    // The duplicate test reads the bytes the append's own open read: a line
    // another program adds meanwhile is tested, or cannot be added until the
    // append is done. Each line is looked at once, decoded a piece at a time:
    // the text is never held whole, neither decoded nor in capitals.
    ChangeHostsFile(platform, [&](const HostsNow& now) -> std::optional<HostsEdit> {
        // A file that is not there has no definitions to test: the command
        // fails as the test's read of it would.
        if (now.missing)
            throw Failure(FailureNumber::FileNotFound, platform.ErrorDescription(FailureNumber::FileNotFound));
        if (const auto duplicate = FirstDuplicateLineIn(platform, now.pieces, upperEntry)) {
            platform.ShowMessage(u"定义有重复\n" + platform.ToLower(*duplicate), Mb::Ok);
            return std::nullopt;
        }
        return CheckedAppend(platform, now, entry, FirstEntryProblem(address, host));
    });
}

}  // namespace quenlix
