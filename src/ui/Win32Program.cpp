#include "ui/Win32Program.h"

#include <memory>

#include "commands/ScriptCommands.h"
#include "commands/StagedWrite.h"
#include "platform/Win32Console.h"
#include "platform/Win32Platform.h"
#include "ui/Win32MainWindow.h"
#include "ui/Win32MessageLoop.h"

namespace quenlix {

int RunMainWindow(HINSTANCE instance, int showCommand, std::size_t piecewiseFrom) {
    Win32Platform platform;
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

int RunStagedWriteProgram(const std::vector<std::u16string>& arguments) {
    Win32Platform platform;
    return static_cast<int>(RunStagedWrite(platform, arguments));
}

int RunScriptProgram(const std::vector<std::u16string>& arguments) {
    Win32Platform platform;
    Win32Console console;
    return RunScriptCommandLine(platform, console, arguments);
}

}  // namespace quenlix
