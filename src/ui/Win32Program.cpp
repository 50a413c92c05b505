#include "ui/Win32Program.h"

#include <memory>
#include <string>
#include <vector>

#include "commands/ElevatedWrite.h"
#include "commands/ScriptCommands.h"
#include "platform/Win32Console.h"
#include "platform/CommandLine.h"
#include "platform/Win32Platform.h"
#include "platform/Win32Text.h"
#include "ui/Win32MainWindow.h"
#include "ui/Win32MessageLoop.h"

namespace quenlix {

int RunMainWindow(HINSTANCE instance, int showCommand, std::size_t piecewiseFrom) {
    Win32Platform platform;
    // Started with arguments, the program is the second instance of a write
    // that the first could not make, and does that and nothing else: no
    // window, no message box, an exit code.
    const std::vector<std::u16string> arguments = ArgumentsAfterProgram(FromWide(GetCommandLineW()));
    if (!arguments.empty() && arguments[0] == StagedWriteSwitch)
        return static_cast<int>(RunStagedWrite(platform, arguments));
    if (!arguments.empty()) {
        Win32Console console;
        return RunScriptCommandLine(platform, console, arguments);
    }

    std::unique_ptr<Win32MainWindow> form1;
    const auto create = [&] {
        form1 = std::make_unique<Win32MainWindow>(instance, platform, DpiFunctions::OfUser32(), piecewiseFrom);
    };
    if (!RunAndReport(platform, create)) return 1;
    switch (form1->Open(showCommand)) {
        case StartupOutcome::Failed: return 1;
        case StartupOutcome::UserDeclined: return 0;  // the user chose to end: not a failure
        case StartupOutcome::ShowWindow: break;
    }
    return RunMessageLoop(form1->Handle());
}

}  // namespace quenlix
