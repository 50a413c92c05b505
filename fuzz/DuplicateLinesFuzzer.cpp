// Command5's duplicate test against the literal two-step version: first the
// list of kept lines read by the file's line rule, then the search in each.

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzText.h"
#include "edit/DuplicateLines.h"
#include "edit/ReferenceSearches.h"

namespace {

std::u16string AsciiUpper(std::u16string s) {
    for (char16_t& c : s) {
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    }
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quenlix;
    fuzz::FuzzText input(data, size);
    const bool upperCase = input.Byte() & 1;
    const std::u16string text2 = input.Next();
    const std::u16string text3 = input.Next();
    const std::u16string typedHosts = input.Next();

    const std::u16string entry = EntryLine(fuzz::ExactText(text2), fuzz::ExactText(text3));
    fuzz::ExpectEqual(entry, text2 + u" " + text3, "EntryLine");

    // Command5 upper-cases both sides; half the inputs keep their case, so
    // that lower-case letters reach the comparison too.
    const fuzz::ExactText soughtBuffer(upperCase ? AsciiUpper(entry) : entry);
    const fuzz::ExactText hostsBuffer(upperCase ? AsciiUpper(typedHosts) : typedHosts);
    const std::u16string_view sought = soughtBuffer;
    const std::u16string_view hosts = hostsBuffer;

    const std::optional<std::u16string_view> fast = FirstDuplicateLine(hosts, sought);
    fuzz::ExpectEqual(fast, reference::FirstDuplicateLine(hosts, sought), "FirstDuplicateLine");
    fuzz::Expect(!fast || (fast->data() >= hosts.data() &&
                           fast->data() + fast->size() <= hosts.data() + hosts.size()),
                 "FirstDuplicateLine returns a view into the text");
    return 0;
}
