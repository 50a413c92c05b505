#include "ui/CommandRunner.h"

#include "commands/LoadCommands.h"
#include "commands/WriteRecovery.h"

namespace quenlix {

bool RunAndReport(Platform& platform, const std::function<void()>& body) {
    // A text too large for memory can fail a command on a huge hosts file;
    // that is reported like any other failure rather than tearing down the
    // window with the user's edits in it.
    try {
        body();
        return true;
    } catch (...) {
        platform.ReportFailure(CurrentFailure());
    }
    return false;
}

void RunCommand(const WindowCommand& command, WindowState& window, Platform& platform) {
    RunAndReport(platform, [&] { command(window, platform); });
}

StartupOutcome RunStartup(WindowState& window, Platform& platform) {
    // A torn hosts file is mended before it is shown; whatever becomes of
    // that, the load goes on.
    RunAndReport(platform, [&] { RecoverCutOffWrite(platform); });
    LoadOutcome outcome = LoadOutcome::ShowWindow;
    if (!RunAndReport(platform, [&] { outcome = LoadHostsWindow(window, platform); })) return StartupOutcome::Failed;
    return outcome == LoadOutcome::Quit ? StartupOutcome::UserDeclined : StartupOutcome::ShowWindow;
}

}  // namespace quenlix
