// Command5's duplicate test against the literal two-step version: first the
// list of kept lines read by the file's line rule, then the search in each.

#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <span>
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
    const std::uint8_t mode = input.Byte();
    const bool upperCase = mode & 1;
    const std::size_t stretch = 1 + (mode >> 1) % 24;
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

    // The same test on the text handed over a stretch at a time, cut every
    // few units wherever that falls (inside a CR LF too); the case mapping
    // is the caller's, so none here.
    DuplicateLineSearch search(sought, [](std::span<char16_t>) {});
    std::u16string copy(hosts);
    for (std::size_t begin = 0; begin < copy.size(); begin += stretch)
        search.Add(std::span<char16_t>(copy).subspan(begin, std::min(stretch, copy.size() - begin)));
    const std::optional<std::u16string> stretched = search.Finish();
    fuzz::Expect(stretched.has_value() == fast.has_value() && (!fast || *stretched == *fast),
                 "DuplicateLineSearch in stretches");
    return 0;
}
