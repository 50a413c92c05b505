#pragma once

#include <string_view>

namespace quenlix {

// Where the command line for scripts writes: results to standard output,
// errors to standard error, a line at a time. Never a message box, never a
// wait for input.
class ScriptOutput {
public:
    virtual ~ScriptOutput() = default;
    virtual void Result(std::u16string_view line) = 0;
    virtual void Error(std::u16string_view line) = 0;
};

}  // namespace quenlix
