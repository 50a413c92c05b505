#pragma once

#include <functional>
#include <type_traits>

#include "platform/Platform.h"
#include "platform/WindowState.h"

namespace quenlix {

// What a control runs when it is clicked.
using Command = void (*)(WindowState&, Platform&);
// What a menu item or a key runs: a command, or one bound to what the user
// chose (a group of the hosts text).
using WindowCommand = std::function<void(WindowState&, Platform&)>;

// A handler as a control's command, whether it needs the window, the
// platform or both.
template <auto handler>
constexpr Command AsCommand() {
    if constexpr (std::is_invocable_v<decltype(handler), WindowState&, Platform&>) {
        return handler;
    } else if constexpr (std::is_invocable_v<decltype(handler), Platform&>) {
        return [](WindowState&, Platform& platform) { handler(platform); };
    } else {
        return [](WindowState& window, Platform&) { handler(window); };
    }
}

// Runs `body` and reports whatever it throws, so that no exception crosses a
// Win32 callback: the program's own failures as they are, running out of
// memory as such, anything else as an internal error. Returns whether the
// body ran to its end.
bool RunAndReport(Platform& platform, const std::function<void()>& body);

// Runs one command of the shown window. A failure ends the command at the
// failed step and is reported; the program and every box stay as they were,
// so unsaved edits in the hosts text box survive a refused save.
void RunCommand(const WindowCommand& command, WindowState& window, Platform& platform);

enum class StartupOutcome { ShowWindow, UserDeclined, Failed };

// Runs the load sequence before the window is first shown, after the
// recovery of a write of the hosts file that was cut off. A failure there is
// reported; the entry point then ends the program, as it does when the user
// declines to create a missing hosts file.
StartupOutcome RunStartup(WindowState& window, Platform& platform);

}  // namespace quenlix
