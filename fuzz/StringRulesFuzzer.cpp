// The finding, cutting and trimming helpers against the position-by-position
// transcriptions, and the prepared substring search against the standard
// library's find.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzText.h"
#include "edit/ReferenceSearches.h"
#include "edit/SearcherFindFrom.h"
#include "edit/StringRules.h"

namespace {

void CheckCut(std::u16string_view text, std::u16string_view delimiter) {
    const std::vector<std::u16string_view> fast = quenlix::CutAt(text, delimiter);
    const std::vector<std::u16string> slow = quenlix::reference::CutAt(text, delimiter);
    quenlix::fuzz::ExpectEqual(fast.size(), slow.size(), "CutAt piece count");
    for (std::size_t i = 0; i < fast.size(); ++i) {
        quenlix::fuzz::ExpectEqual(fast[i], slow[i], "CutAt piece");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quenlix;
    fuzz::FuzzText input(data, size);
    const fuzz::ExactText textBuffer(input.Next());
    const fuzz::ExactText soughtBuffer(input.Next());
    const std::u16string_view text = textBuffer;
    const std::u16string_view sought = soughtBuffer;

    for (std::size_t start = 0; start <= text.size() + 2; ++start) {
        fuzz::ExpectEqual(testing::FindFrom(text, sought, start), reference::FindFrom(text, sought, start),
                          "FindFrom");
    }
    fuzz::ExpectEqual(testing::FindFrom(text, sought, SIZE_MAX), reference::FindFrom(text, sought, SIZE_MAX),
                      "FindFrom from the largest start");

    const SubstringSearcher searcher(sought);
    fuzz::ExpectEqual(searcher.Find(text), text.find(sought),
                      "SubstringSearcher::Find");

    CheckCut(text, sought);
    CheckCut(text, u"\r\n");
    CheckCut(text, u",");

    fuzz::ExpectEqual(TrimSpaces(text), reference::Trim(text), "TrimSpaces");
    fuzz::ExpectEqual(TrimSpaces(sought), reference::Trim(sought), "TrimSpaces");
    return 0;
}
