#pragma once

#include <string>
#include <string_view>

namespace quenlix {

// `argument` written as one argument of a Windows command line: in quotes,
// with its backslashes and quotes written so that CommandLineToArgvW, and the
// C runtime that parses a program's command line by the same rules, give back
// exactly `argument` - spaces, quotes and trailing backslashes included. It
// is always quoted, so that an empty argument stays an argument. The
// characters cmd reads (&, ^, %, <, >, |) need nothing here: no cmd ever
// reads a command line the program builds.
std::u16string QuoteArgument(std::u16string_view argument);

}  // namespace quenlix
