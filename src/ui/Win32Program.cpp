#include "ui/Win32Program.h"

#include <memory>

#include "platform/Win32Platform.h"
#include "ui/Win32MainWindow.h"
#include "ui/Win32MessageLoop.h"

namespace quenlix {

int RunForm1(HINSTANCE instance, int showCommand) {
    Win32Platform platform;
    std::unique_ptr<Win32MainWindow> form1;
    try {
        form1 = std::make_unique<Win32MainWindow>(instance, platform);
    } catch (const Failure& failure) {
        platform.ReportFailure(failure);
        return 1;
    }
    if (!form1->Open(showCommand)) return 1;
    return RunMessageLoop(form1->Handle());
}

}  // namespace quenlix
