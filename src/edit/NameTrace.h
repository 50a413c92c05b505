#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace quenlix {

// One line that names the traced name, and what Windows makes of it there.
struct TraceStep {
    enum class Kind {
        Answers,        // this line answers for its address family
        Commented,      // the name stands after a '#'
        PastNinth,      // the name is the tenth or later on its line
        BadAddress,     // the line's address is not one Windows accepts
        InvalidName,    // the name is not one Windows accepts
        MappedEarlier,  // an earlier line already answers for this address family
    };
    // Counted from 1.
    std::size_t line;
    Kind kind;
    // The line's address (Answers, BadAddress, MappedEarlier).
    std::u16string_view address;
    // Where the name stands among the line's names, counted from 1
    // (PastNinth); the line that answers (MappedEarlier).
    std::size_t number = 0;
};

// Every line of `text` that names `name`, in line order, as Windows' resolver
// reads them: letter case and a trailing dot do not matter. At most one line
// answers for IPv4 and one for IPv6.
std::vector<TraceStep> TraceHostName(std::u16string_view text, std::u16string_view name);

}  // namespace quenlix
