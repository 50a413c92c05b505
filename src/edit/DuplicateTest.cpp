#include "edit/DuplicateTest.h"

#include "edit/StringRules.h"

namespace quenlix {

std::u16string EntryLine(std::u16string_view text2, std::u16string_view text3) {
    std::u16string line;
    line.reserve(text2.size() + 1 + text3.size());
    line.append(text2);
    line.push_back(u' ');
    line.append(text3);
    return line;
}

std::optional<std::u16string_view> FirstDuplicateLine(std::u16string_view upperHostsText,
                                                      std::u16string_view upperEntry) {
    const SubstringSearcher searcher(upperEntry);
    std::size_t begin = 0;
    while (begin < upperHostsText.size()) {
        // The file's line rule: a line ends at CR, an LF right after it goes
        // with it. On the hosts text every CR is followed by LF, so this is
        // the cut at CR LF; it also reads an unterminated last line, as the
        // file itself would.
        std::size_t end = upperHostsText.find(u'\r', begin);
        std::size_t next;
        if (end == std::u16string_view::npos) {
            end = upperHostsText.size();
            next = end;
        } else {
            next = end + 1;
            if (next < upperHostsText.size() && upperHostsText[next] == u'\n') ++next;
        }

        const std::u16string_view kept = TrimSpaces(upperHostsText.substr(begin, end - begin));
        // A kept line is never empty, so "holds" is the plain substring test.
        if (!kept.empty() && kept.front() != u'#' &&
            searcher.Find(kept) != SubstringSearcher::npos) {
            return kept;
        }
        begin = next;
    }
    return std::nullopt;
}

}  // namespace quenlix
