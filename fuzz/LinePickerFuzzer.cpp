// LineAtCaret at every caret of the text (and past its end) and
// SplitPickedLine on each picked line, against the position-by-position
// transcriptions.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzText.h"
#include "edit/LinePicker.h"
#include "edit/ReferenceSearches.h"

namespace {

using quenlix::PickedLine;

// The picker's split as written: the first character decides a comment; else
// the first space (searched from position 1) splits address from host.
PickedLine ReferenceSplit(std::u16string_view line) {
    if (line.size() >= 1 && line[0] == u'#') {
        return {PickedLine::Kind::Comment, std::u16string(line), u""};
    }
    const std::size_t q = quenlix::reference::FindFrom(line, u" ", 1);
    if (q >= 1) {
        return {PickedLine::Kind::Entry, std::u16string(line.substr(0, q - 1)),
                quenlix::reference::Trim(line.substr(q - 1))};
    }
    return {PickedLine::Kind::Other, u"", u""};
}

void CheckSplit(std::u16string_view line) {
    const PickedLine fast = quenlix::SplitPickedLine(line);
    const PickedLine slow = ReferenceSplit(line);
    quenlix::fuzz::ExpectEqual(static_cast<std::size_t>(fast.kind), static_cast<std::size_t>(slow.kind),
                               "SplitPickedLine kind");
    quenlix::fuzz::ExpectEqual(fast.address, slow.address, "SplitPickedLine address");
    quenlix::fuzz::ExpectEqual(fast.host, slow.host, "SplitPickedLine host");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quenlix;
    fuzz::FuzzText input(data, size);
    const fuzz::ExactText textBuffer(input.Next());
    const std::u16string_view text = textBuffer;

    CheckSplit(text);
    // One past the end and far past it: a caret the box reports beyond the
    // text must still pick the last line.
    for (std::size_t k = 0; k <= text.size() + 2; ++k) {
        const std::u16string_view line = LineAtCaret(text, k);
        fuzz::ExpectEqual(line, reference::LineAtCaret(text, k), "LineAtCaret");
        fuzz::Expect(line.empty() || (line.data() >= text.data() &&
                                      line.data() + line.size() <= text.data() + text.size()),
                     "LineAtCaret returns a view into the text");
        CheckSplit(line);
    }
    fuzz::ExpectEqual(LineAtCaret(text, SIZE_MAX), reference::LineAtCaret(text, SIZE_MAX),
                      "LineAtCaret at the largest caret");
    return 0;
}
