#include "edit/NameTrace.h"

#include <algorithm>

#include "edit/EntryCheck.h"
#include "edit/HostNames.h"
#include "edit/HostsLine.h"
#include "platform/AsciiCase.h"

namespace quenlix {

namespace {

// Whether the comment that begins at `hash` names `name` as a field of its
// own, whatever marks and blanks stand before the fields.
bool CommentNames(std::u16string_view comment, std::u16string_view name, HostsLineFields& fields) {
    const std::size_t text = comment.find_first_not_of(u"# \t");
    if (text == std::u16string_view::npos) return false;
    comment.remove_prefix(text);
    // Every field counts here, the first too: "#a.example" names it.
    ReadHostsLine(comment, fields);
    if (SameHostName(fields.address, name)) return true;
    if (fields.commentAt != NoPosition) return CommentNames(comment.substr(fields.commentAt), name, fields);
    return std::any_of(fields.names.begin(), fields.names.end(),
                       [&](std::u16string_view field) { return SameHostName(field, name); });
}

// Whether `text` holds `part`, ASCII letter case aside: a comment that does
// not is passed over without being read into fields.
bool HoldsFolded(std::u16string_view text, std::u16string_view part) {
    if (part.empty()) return false;
    for (std::size_t at = 0; at + part.size() <= text.size(); ++at) {
        std::size_t i = 0;
        while (i < part.size() && AsciiLower(text[at + i]) == AsciiLower(part[i])) ++i;
        if (i == part.size()) return true;
    }
    return false;
}

}  // namespace

std::vector<TraceStep> TraceHostName(std::u16string_view text, std::u16string_view name) {
    std::vector<TraceStep> steps;
    HostsLineFields fields;
    HostsLineFields commentFields;
    const bool validName = IsHostName(name);
    std::size_t answering[2] = {0, 0};  // the line that answers for IPv4, IPv6
    const std::u16string_view bare = WithoutTrailingDot(name);
    std::size_t number = 0;
    for (auto line = ReadHostsLineAt(text, 0, fields); line; line = ReadHostsLineAt(text, line->next, fields)) {
        ++number;
        const std::u16string_view content = text.substr(line->begin, line->end - line->begin);
        if (!fields.names.empty()) {
            const auto found = std::find_if(fields.names.begin(), fields.names.end(),
                                            [&](std::u16string_view field) { return SameHostName(field, name); });
            if (found != fields.names.end()) {
                const std::size_t position = static_cast<std::size_t>(found - fields.names.begin()) + 1;
                const bool v4 = IsIpv4Address(fields.address);
                if (!v4 && !IsIpv6Address(fields.address)) {
                    steps.push_back({number, TraceStep::Kind::BadAddress, fields.address});
                } else if (position > MostNamesOnALine) {
                    steps.push_back({number, TraceStep::Kind::PastNinth, fields.address, position});
                } else if (!validName) {
                    steps.push_back({number, TraceStep::Kind::InvalidName, fields.address});
                } else if (std::size_t& first = answering[v4 ? 0 : 1]; first != 0) {
                    // Which of two lines answers is not documented; Windows
                    // reads the file from the top and, as can be seen,
                    // answers with the first.
                    steps.push_back({number, TraceStep::Kind::MappedEarlier, fields.address, first});
                } else {
                    first = number;
                    steps.push_back({number, TraceStep::Kind::Answers, fields.address});
                }
                continue;
            }
        }
        if (fields.commentAt != NoPosition && HoldsFolded(content.substr(fields.commentAt), bare) &&
            CommentNames(content.substr(fields.commentAt), name, commentFields))
            steps.push_back({number, TraceStep::Kind::Commented, {}});
    }
    return steps;
}

}  // namespace quenlix
