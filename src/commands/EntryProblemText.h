#pragma once

#include <string>
#include <string_view>

#include "edit/EntryCheck.h"

namespace quenlix {

// What the appends ask about, and what the check of the whole text reports,
// in the same words for the same problem.
std::u16string EntryProblemText(const EntryProblem& problem);

// `text` between quotation marks, a NUL shown as the box shows it (U+2400):
// a NUL would end the text of a message or of a box.
std::u16string QuotedText(std::u16string_view text);

}  // namespace quenlix
