#include "platform/CommandLine.h"

namespace quenlix {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

}  // namespace

std::vector<std::u16string> ArgumentsAfterProgram(std::u16string_view line) {
    std::size_t at = 0;
    if (!line.empty() && line[0] == u'"') {
        const std::size_t close = line.find(u'"', 1);
        at = close == std::u16string_view::npos ? line.size() : close + 1;
    } else {
        while (at < line.size() && !IsBlank(line[at])) ++at;
    }

    std::vector<std::u16string> arguments;
    for (;;) {
        while (at < line.size() && IsBlank(line[at])) ++at;
        if (at == line.size()) return arguments;
        std::u16string argument;
        bool quoted = false;
        while (at < line.size() && (quoted || !IsBlank(line[at]))) {
            std::size_t backslashes = 0;
            while (at < line.size() && line[at] == u'\\') {
                ++backslashes;
                ++at;
            }
            if (at < line.size() && line[at] == u'"') {
                argument.append(backslashes / 2, u'\\');
                if (backslashes % 2 == 1) {
                    argument.push_back(u'"');
                } else if (quoted && at + 1 < line.size() && line[at + 1] == u'"') {
                    // A doubled quote inside quotes is one quote of the
                    // argument, and the quotes go on.
                    argument.push_back(u'"');
                    ++at;
                } else {
                    quoted = !quoted;
                }
                ++at;
                continue;
            }
            argument.append(backslashes, u'\\');
            if (at < line.size() && (quoted || !IsBlank(line[at]))) argument.push_back(line[at++]);
        }
        arguments.push_back(std::move(argument));
    }
}

}  // namespace quenlix
