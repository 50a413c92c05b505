#include "platform/QuoteArgument.h"

namespace quenlix {

std::u16string QuoteArgument(std::u16string_view argument) {
    std::u16string quoted = u"\"";
    std::size_t backslashes = 0;
    for (const char16_t c : argument) {
        if (c == u'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes mean something only right before a quote: there they
        // are halved, and an odd one left over makes the quote a character
        // of the argument instead of its end.
        quoted.append(c == u'"' ? backslashes * 2 + 1 : backslashes, u'\\');
        backslashes = 0;
        quoted += c;
    }
    // The closing quote halves the backslashes before it too.
    quoted.append(backslashes * 2, u'\\');
    quoted += u'"';
    return quoted;
}

}  // namespace quenlix
