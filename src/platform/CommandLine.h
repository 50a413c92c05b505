#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quenlix {

// The arguments of a whole Windows command line after the program's name,
// split by the rules of CommandLineToArgvW: the name ends at the next quote
// when it starts with one, else at the first space or tab; the arguments are
// separated by spaces and tabs, quotes group, and backslashes count only
// before a quote (2n of them give n and a quote that groups, 2n + 1 give n
// and a quote of the argument). What QuoteArgument writes comes back
// unchanged.
std::vector<std::u16string> ArgumentsAfterProgram(std::u16string_view commandLine);

}  // namespace quenlix
