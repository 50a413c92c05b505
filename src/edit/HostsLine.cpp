#include "edit/HostsLine.h"

#include "edit/EntryCheck.h"
#include "platform/AsciiCase.h"

namespace quenlix {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string_view TrimBlanks(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Whether `text` ends with the word `word` (ASCII, any case) standing on its
// own after a blank; gives what comes before that blank.
std::optional<std::u16string_view> BeforeLastWord(std::u16string_view text, std::u16string_view word) {
    if (text.size() <= word.size() || !IsBlank(text[text.size() - word.size() - 1])) return std::nullopt;
    const std::u16string_view last = text.substr(text.size() - word.size());
    for (std::size_t i = 0; i < word.size(); ++i)
        if (AsciiLower(last[i]) != word[i]) return std::nullopt;
    return TrimBlanks(text.substr(0, text.size() - word.size() - 1));
}

}  // namespace

std::size_t FirstNonBlank(std::u16string_view line) {
    std::size_t at = 0;
    while (at < line.size() && IsBlank(line[at])) ++at;
    return at;
}

HostsLineFields ReadHostsLine(std::u16string_view line) {
    HostsLineFields fields;
    ReadHostsLine(line, fields);
    return fields;
}

void ReadHostsLine(std::u16string_view line, HostsLineFields& fields) {
    fields.address = {};
    fields.names.clear();
    fields.commentAt = line.find(u'#');
    const std::u16string_view data = line.substr(0, fields.commentAt);
    bool first = true;
    for (std::size_t at = 0;;) {
        while (at < data.size() && IsBlank(data[at])) ++at;
        if (at == data.size()) break;
        const std::size_t begin = at;
        while (at < data.size() && !IsBlank(data[at])) ++at;
        const std::u16string_view field = data.substr(begin, at - begin);
        if (first)
            fields.address = field;
        else
            fields.names.push_back(field);
        first = false;
    }
}

bool IsEntry(const HostsLineFields& fields) {
    return !fields.names.empty() && (IsIpv4Address(fields.address) || IsIpv6Address(fields.address));
}

bool IsEntryText(std::u16string_view line) {
    line = line.substr(0, line.find(u'#'));
    std::size_t at = FirstNonBlank(line);
    const std::size_t begin = at;
    while (at < line.size() && !IsBlank(line[at])) ++at;
    const std::u16string_view address = line.substr(begin, at - begin);
    if (FirstNonBlank(line.substr(at)) == line.size() - at) return false;  // no name
    return IsIpv4Address(address) || IsIpv6Address(address);
}

std::optional<SwitchedOffEntry> FindSwitchedOffEntry(std::u16string_view line) {
    const std::size_t mark = FirstNonBlank(line);
    if (mark == line.size() || line[mark] != u'#') return std::nullopt;
    std::size_t entryAt = mark + 1;
    if (entryAt < line.size() && line[entryAt] == u' ') ++entryAt;
    if (!IsEntryText(line.substr(entryAt))) return std::nullopt;
    return SwitchedOffEntry{mark, entryAt};
}

std::optional<GroupMark> ReadGroupMark(std::u16string_view line) {
    const std::u16string_view text = TrimBlanks(line);
    if (text.empty() || text.front() != u'#') return std::nullopt;
    std::size_t equals = 1;
    while (equals < text.size() && text[equals] == u'=') ++equals;
    if (equals - 1 >= 4) {
        const std::u16string_view name = TrimBlanks(text.substr(equals));
        return GroupMark{name.empty() ? GroupMark::Kind::End : GroupMark::Kind::Start, name};
    }
    if (equals > 1 || FindSwitchedOffEntry(line)) return std::nullopt;
    const std::u16string_view words = TrimBlanks(text.substr(1));
    if (const auto name = BeforeLastWord(words, u"start"); name && !name->empty())
        return GroupMark{GroupMark::Kind::Start, *name, GroupMark::Spelling::Words};
    if (const auto name = BeforeLastWord(words, u"end"); name && !name->empty())
        return GroupMark{GroupMark::Kind::End, *name, GroupMark::Spelling::Words};
    return std::nullopt;
}

std::optional<TextLine> TextLineAt(std::u16string_view text, std::size_t begin) {
    if (begin >= text.size()) return std::nullopt;
    std::size_t end = begin;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
    std::size_t next = end;
    if (next < text.size()) next += text[next] == u'\r' && next + 1 < text.size() && text[next + 1] == u'\n' ? 2 : 1;
    return TextLine{begin, end, next};
}

}  // namespace quenlix
