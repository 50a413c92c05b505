#pragma once

#include <string>
#include <utility>

#include "commands/ElevatedWrite.h"
#include "platform/CommandLine.h"
#include "support/FakePlatform.h"

namespace quenlix::testing {

// A stand-in for the elevated launcher of the fast tests: it runs the second
// instance's own code (RunStagedWrite) at once, in this process, on the same
// in-memory system, with the rights an elevated process has there (no path
// is denied to it), and gives back its exit code. The arguments are split as
// the real instance splits its command line. `meanwhile` runs first: what
// other programs do between the question and the write.
inline std::function<ProgramExit(std::u16string_view)> SecondInstanceHere(FakePlatform& platform,
                                                                         std::function<void()> meanwhile = {}) {
    return [&platform, meanwhile](std::u16string_view arguments) -> ProgramExit {
        if (meanwhile) meanwhile();
        const auto denied = std::exchange(platform.deniedPaths, {});
        const auto writeDenied = std::exchange(platform.writeDeniedPaths, {});
        const bool administrator = std::exchange(platform.administrator, true);
        const std::uint32_t code =
            RunStagedWrite(platform, ArgumentsAfterProgram(u"\"C:\\Tools\\Quenlix.exe\" " + std::u16string(arguments)));
        platform.deniedPaths = denied;
        platform.writeDeniedPaths = writeDenied;
        platform.administrator = administrator;
        return code;
    };
}

// A stand-in for a launcher whose question the user declined.
inline std::function<ProgramExit(std::u16string_view)> DeclinedByTheUser() {
    return [](std::u16string_view) -> ProgramExit {
        throw Failure(FailureNumber::Cancelled, u"操作已被用户取消。");
    };
}

}  // namespace quenlix::testing
