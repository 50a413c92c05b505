// The three searches of Command7, Command8 and Command9 against the nested
// loops, the term-by-term search and the remainder walk they replace.

#include <cstddef>
#include <cstdint>

#include "FuzzText.h"
#include "edit/ReferenceSearches.h"
#include "edit/Searches.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quenlix;
    fuzz::FuzzText input(data, size);
    const fuzz::ExactText text1Buffer(input.Next());
    const fuzz::ExactText text2Buffer(input.Next());
    const std::u16string_view text1 = text1Buffer;
    const std::u16string_view text2 = text2Buffer;

    fuzz::ExpectEqual(FindEqualLines(text1, text2), reference::FindEqualLines(text1, text2),
                      "FindEqualLines");
    fuzz::ExpectEqual(FindPresentTerms(text1, text2), reference::FindPresentTerms(text1, text2),
                      "FindPresentTerms");
    fuzz::ExpectEqual(FindLinesContaining(text1, text2), reference::FindLinesContaining(text1, text2),
                      "FindLinesContaining");
    return 0;
}
