// Switching entries and groups on random texts: every line keeps its bytes
// but for one mark at its first non-blank character, the groups stay the
// groups, and switching twice gives back the bytes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzText.h"
#include "edit/EntrySwitch.h"
#include "edit/HostsLine.h"

namespace {

using namespace quenlix;

// `to` is `from` with a '#', or "# ", put before its first non-blank character.
bool MarkPut(std::u16string_view from, std::u16string_view to) {
    const std::size_t k = FirstNonBlank(to);
    if (k == to.size() || to[k] != u'#' || to.size() <= from.size() || to.size() > from.size() + 2) return false;
    const std::size_t n = to.size() - from.size();
    return (n == 1 || to[k + 1] == u' ') && to.substr(0, k) == from.substr(0, k) && to.substr(k + n) == from.substr(k);
}

// Applies the edit, and checks that it changed one mark per line at most.
std::u16string Applied(const std::u16string& before, const std::optional<HostsTextEdit>& edit) {
    if (!edit) return before;
    std::u16string after = before;
    after.replace(edit->range.begin, edit->range.end - edit->range.begin, edit->text);
    auto a = TextLineAt(before, 0), b = TextLineAt(after, 0);
    for (; a && b; a = TextLineAt(before, a->next), b = TextLineAt(after, b->next)) {
        const std::u16string_view x = std::u16string_view(before).substr(a->begin, a->end - a->begin);
        const std::u16string_view y = std::u16string_view(after).substr(b->begin, b->end - b->begin);
        fuzz::Expect(x == y || (MarkPut(x, y) && y.size() == x.size() + 2) || MarkPut(y, x),
                     "a line changed beyond its mark");
        fuzz::Expect(before.substr(a->end, a->next - a->end) == after.substr(b->end, b->next - b->end),
                     "a break changed");
    }
    fuzz::Expect(!a && !b, "the number of lines changed");
    fuzz::ExpectEqual(ReadGroups(after).size(), ReadGroups(before).size(), "the number of groups");
    return after;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzText input(data, size);
    const std::uint8_t from = input.Byte(), length = input.Byte(), pick = input.Byte();
    const std::u16string text = input.Next();
    const std::size_t begin = from % (text.size() + 1);
    TextRange selection{begin, begin + length % (text.size() - begin + 1)};

    // Four switches of the same lines: the second pair repeats the first,
    // and a text whose entries are all on comes back after two.
    std::u16string texts[5] = {text};
    for (int i = 1; i < 5; ++i) {
        const auto edit = SwitchEntries(texts[i - 1], selection);
        texts[i] = Applied(texts[i - 1], edit);
        if (edit) selection = edit->select;
    }
    fuzz::ExpectEqual(texts[4], texts[2], "switching twice");
    if (texts[1].size() <= text.size()) fuzz::ExpectEqual(texts[3], texts[1], "switching twice from all on");

    // A group switched, then twice more.
    const std::size_t groups = ReadGroups(text).size();
    if (groups == 0) return 0;
    std::u16string switched[4] = {text};
    for (int i = 1; i < 4; ++i)
        switched[i] =
            Applied(switched[i - 1], SwitchGroup(switched[i - 1], ReadGroups(switched[i - 1])[pick % groups]));
    fuzz::ExpectEqual(switched[3], switched[1], "switching a group twice");
    return 0;
}
