// Switching entries and groups on random texts: every line keeps its bytes
// but for one mark at its first non-blank character, the groups stay the
// groups, and switching twice gives back the bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzText.h"
#include "edit/EntrySwitch.h"
#include "edit/HostsLine.h"

namespace {

using namespace quenlix;
using fuzz::Expect;
using fuzz::ExpectEqual;

// `to` is `from` with "# " put before its first non-blank character.
bool MarkPut(std::u16string_view from, std::u16string_view to) {
    const std::size_t k = FirstNonBlank(from);
    return to.size() == from.size() + 2 && to.substr(0, k) == from.substr(0, k) && to.substr(k, 2) == u"# " &&
           to.substr(k + 2) == from.substr(k);
}

// `to` is `from` without the '#' that is its first non-blank character, and
// without the one space after it if there is one.
bool MarkTaken(std::u16string_view from, std::u16string_view to) {
    const std::size_t k = FirstNonBlank(from);
    if (k == from.size() || from[k] != u'#' || from.size() <= to.size()) return false;
    const std::size_t n = from.size() - to.size();
    return (n == 1 || (n == 2 && from[k + 1] == u' ')) && to.substr(0, k) == from.substr(0, k) &&
           to.substr(k) == from.substr(k + n);
}

void ExpectOneMarkPerLine(std::u16string_view before, std::u16string_view after) {
    auto a = TextLineAt(before, 0), b = TextLineAt(after, 0);
    for (; a && b; a = TextLineAt(before, a->next), b = TextLineAt(after, b->next)) {
        const std::u16string_view x = before.substr(a->begin, a->end - a->begin);
        const std::u16string_view y = after.substr(b->begin, b->end - b->begin);
        Expect(x == y || MarkPut(x, y) || MarkTaken(x, y), "a line changed beyond its mark");
        Expect(before.substr(a->end, a->next - a->end) == after.substr(b->end, b->next - b->end), "a break changed");
    }
    Expect(!a && !b, "the number of lines changed");
}

std::u16string Applied(std::u16string text, const HostsTextEdit& edit) {
    return text.replace(edit.range.begin, edit.range.end - edit.range.begin, edit.text);
}

std::u16string Marks(std::u16string_view text) {
    std::u16string out;
    for (const HostsGroup& group : ReadGroups(text)) out += group.name + u"|";
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzText input(data, size);
    const std::uint8_t from = input.Byte(), length = input.Byte(), pick = input.Byte();
    const std::u16string text = input.Next();
    const std::size_t begin = from % (text.size() + 1);
    TextRange selection{begin, begin + length % (text.size() - begin + 1)};

    // Four switches of the same lines: the second pair repeats the first.
    std::u16string texts[5] = {text};
    for (int i = 1; i < 5; ++i) {
        const auto edit = SwitchEntries(texts[i - 1], selection);
        texts[i] = edit ? Applied(texts[i - 1], *edit) : texts[i - 1];
        if (edit) selection = edit->select;
        ExpectOneMarkPerLine(texts[i - 1], texts[i]);
        ExpectEqual(Marks(texts[i]), Marks(text), "the groups after switching entries");
    }
    ExpectEqual(texts[4], texts[2], "switching twice");
    if (texts[1].size() <= text.size()) ExpectEqual(texts[3], texts[1], "switching twice from all on");

    // A group switched, then twice more.
    const std::size_t groups = ReadGroups(text).size();
    if (groups == 0) return 0;
    std::u16string switched[4] = {text};
    for (int i = 1; i < 4; ++i) {
        const auto edit = SwitchGroup(switched[i - 1], ReadGroups(switched[i - 1]).at(pick % groups));
        switched[i] = edit ? Applied(switched[i - 1], *edit) : switched[i - 1];
        ExpectOneMarkPerLine(switched[i - 1], switched[i]);
    }
    ExpectEqual(switched[3], switched[1], "switching a group twice");
    return 0;
}
