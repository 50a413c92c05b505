#include "ui/CommandRunner.h"

#include "platform/Platform.h"
#include "ui/Startup.h"

namespace quenlix {

void RunCommand(Command command, WindowState& window, Platform& platform) {
    try {
        command(window, platform);
    } catch (const Failure& failure) {
        platform.ReportFailure(failure);
    }
}

bool RunStartup(WindowState& window, Platform& platform) {
    try {
        Form_Load(window, platform);
        return true;
    } catch (const Failure& failure) {
        platform.ReportFailure(failure);
        platform.EndProgram();
        return false;
    }
}

}  // namespace quenlix
