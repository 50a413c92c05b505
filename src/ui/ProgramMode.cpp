#include "ui/ProgramMode.h"

#include "commands/StagedWrite.h"

namespace quenlix {

ProgramMode ModeOf(const std::vector<std::u16string>& arguments) {
    if (arguments.empty()) return ProgramMode::Window;
    if (arguments[0] == StagedWriteSwitch) return ProgramMode::StagedWrite;
    return ProgramMode::Script;
}

}  // namespace quenlix
