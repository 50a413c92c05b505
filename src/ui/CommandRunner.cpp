#include "ui/CommandRunner.h"

#include <new>
#include <optional>
#include <stdexcept>

#include "platform/Platform.h"
#include "ui/Startup.h"

namespace quenlix {

namespace {

// Runs a command and turns whatever it throws into the failure to report.
// Besides the platform's own failures, a text too large for memory can fail
// a command on a huge hosts file; that is reported like any other failure
// rather than tearing down the window with the user's edits in it.
template <typename Body>
std::optional<Failure> Attempt(Body body) {
    try {
        body();
        return std::nullopt;
    } catch (const Failure& failure) {
        return failure;
    } catch (const std::bad_alloc&) {
        return Failure(8, u"存储空间不足，无法处理此命令。");  // ERROR_NOT_ENOUGH_MEMORY
    } catch (const std::length_error&) {
        return Failure(8, u"存储空间不足，无法处理此命令。");
    }
}

}  // namespace

void RunCommand(Command command, WindowState& window, Platform& platform) {
    if (auto failure = Attempt([&] { command(window, platform); })) platform.ReportFailure(*failure);
}

bool RunStartup(WindowState& window, Platform& platform) {
    if (auto failure = Attempt([&] { Form_Load(window, platform); })) {
        platform.ReportFailure(*failure);
        platform.EndProgram();
        return false;
    }
    return true;
}

}  // namespace quenlix
