#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "platform/WindowState.h"

namespace quenlix {

// Which line of the hosts text a line of the results box names, so that a
// double-click on it can select that line. Lines are cut as TextLineAt cuts
// them and counted from 1, as the check and the trace count them.
//
// A result line names line n when it begins "第 n 行" (the check's findings,
// the trace's reasons) or holds "由第 n 行" (the trace's answers). Otherwise,
// a result line that is a whole line of the hosts text (what the searches
// for equal lines and for lines containing a text write) names that line:
// the k-th copy of one line among the results names the k-th line of the
// hosts text that reads so, the count starting over when the hosts text has
// fewer.
std::optional<TextRange> LineNamedInResults(std::u16string_view hostsText, std::u16string_view results,
                                            std::size_t caret);

}  // namespace quenlix
