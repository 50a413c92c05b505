#include "commands/EntryProblemText.h"

#include <algorithm>

#include "edit/StringRules.h"

namespace quenlix {

std::u16string QuotedText(std::u16string_view text) {
    std::u16string quoted = u"“" + std::u16string(text) + u"”";
    std::replace(quoted.begin(), quoted.end(), u'\0', u'\u2400');
    return quoted;
}

std::u16string EntryProblemText(const EntryProblem& problem) {
    switch (problem.kind) {
        case EntryProblem::Kind::LineBreak: return u"要追加的文字中有换行，会写成不止一行。";
        case EntryProblem::Kind::Address:
            return QuotedText(problem.text) + u" 不是有效的 IPv4 或 IPv6 地址，Windows 不会使用这一行。";
        case EntryProblem::Kind::HostName:
            return u"主机名" + QuotedText(problem.text) + u"无效（只能包含字母、数字、“-”和“_”）。";
        case EntryProblem::Kind::TooManyNames:
            return u"一行中有 " + DecimalText(problem.names) + u" 个主机名，Windows 只使用前 " +
                   DecimalText(MostNamesOnALine) + u" 个。";
    }
    return {};
}

}  // namespace quenlix
