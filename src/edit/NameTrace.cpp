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

// Whether `line` holds `unit` in either ASCII case.
bool HoldsFoldedUnit(std::u16string_view line, char16_t unit) {
    const char16_t lower = AsciiLower(unit);
    return std::any_of(line.begin(), line.end(), [lower](char16_t c) { return AsciiLower(c) == lower; });
}

}  // namespace

std::vector<TraceStep> TraceHostName(std::u16string_view text, std::u16string_view name) {
    std::vector<TraceStep> steps;
    HostsLineFields fields;
    HostsLineFields commentFields;
    const bool validName = IsHostName(name);
    std::size_t answering[2] = {0, 0};  // the line that answers for IPv4, IPv6
    std::size_t number = 0;
    // Only a line that holds the name's first letter can name it: the rest
    // are passed over without being read into fields.
    const std::u16string_view bare = WithoutTrailingDot(name);
    for (auto line = TextLineAt(text, 0); line; line = TextLineAt(text, line->next)) {
        ++number;
        const std::u16string_view content = text.substr(line->begin, line->end - line->begin);
        if (bare.empty() || !HoldsFoldedUnit(content, bare.front())) continue;
        ReadHostsLine(content, fields);
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
        if (fields.commentAt != NoPosition && CommentNames(content.substr(fields.commentAt), name, commentFields))
            steps.push_back({number, TraceStep::Kind::Commented, {}});
    }
    return steps;
}

}  // namespace quenlix
