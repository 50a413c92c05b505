#include "commands/DiagnosisCommands.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "commands/EntryProblemText.h"
#include "commands/LostCharacters.h"
#include "edit/EntryCheck.h"
#include "edit/EntryPacking.h"
#include "edit/HostsCheck.h"
#include "edit/HostsLine.h"
#include "edit/NameTrace.h"
#include "edit/NamedLines.h"
#include "edit/StringRules.h"
#include "hosts/AnsiCodec.h"
#include "hosts/HostsEncoding.h"
#include "platform/Platform.h"
#include "platform/WindowState.h"

namespace quenlix {

namespace {

const std::u16string CrLf = u"\r\n";

// More than a reader goes through in Text4, and few enough for the box to
// take at once: it wraps every line it is given, and under Wine 10,000 lines
// took it seconds. The command line lists every finding.
constexpr std::size_t MostFindingsListed = 1000;

std::u16string LineText(std::size_t line) { return u"第 " + DecimalText(line) + u" 行："; }

std::u16string FindingText(Platform& platform, const HostsFinding& finding) {
    using Kind = HostsFinding::Kind;
    std::u16string text = LineText(finding.line);
    switch (finding.kind) {
        case Kind::Address: return text + EntryProblemText({EntryProblem::Kind::Address, finding.text});
        case Kind::NoName: return text + u"地址" + QuotedText(finding.text) + u"后面没有主机名，Windows 不会使用这一行。";
        case Kind::HostName: return text + EntryProblemText({EntryProblem::Kind::HostName, finding.text});
        case Kind::TooManyNames:
            return text + EntryProblemText({EntryProblem::Kind::TooManyNames, {}, finding.number});
        case Kind::MappedEarlier:
            return text + QuotedText(finding.text) + u" 已由第 " + DecimalText(finding.number) +
                   u" 行映射，Windows 通常只使用第 " + DecimalText(finding.number) + u" 行。";
        case Kind::Protected:
            return text + QuotedText(finding.text) +
                   u" 受 Microsoft Defender 保护：它发现这样的条目时，可能把整个 Hosts 文件还原为默认内容。";
        case Kind::LostCharacters: return text + LostCharactersText(platform, finding.number);
    }
    return text;
}

// How many characters of a line a save in the ANSI code page would ask
// about; nothing to count in UTF-8 and UTF-16, which hold every character.
LostCharacterCount LostCharactersIn(Platform& platform, HostsEncoding encoding) {
    if (encoding != HostsEncoding::Ansi) return {};
    // One codec for every line of the text: it asks the system about each
    // distinct character once and keeps the answer. A codec a line asked
    // again on every line that holds Chinese, and took Wine seconds for a
    // blocklist of 100,000 lines.
    auto codec = std::make_shared<AnsiCodec>(platform);
    auto bytes = std::make_shared<std::string>();
    return [codec, bytes](std::u16string_view line) {
        bytes->clear();
        return codec->AppendEncoded(*bytes, line);
    };
}

std::u16string Joined(const std::vector<std::u16string>& lines) {
    std::u16string joined;
    for (const std::u16string& line : lines) joined += (joined.empty() ? u"" : CrLf) + line;
    return joined;
}

std::u16string_view TrimBlanks(std::u16string_view text) {
    const std::size_t begin = FirstNonBlank(text);
    std::size_t end = text.size();
    while (end > begin && (text[end - 1] == u' ' || text[end - 1] == u'\t')) --end;
    return text.substr(begin, end - begin);
}

std::u16string StepText(const TraceStep& step, std::u16string_view name) {
    using Kind = TraceStep::Kind;
    const std::u16string text = LineText(step.line);
    switch (step.kind) {
        case Kind::Answers: break;
        case Kind::Commented: return text + QuotedText(name) + u"写在“#”之后，是注释，Windows 不会读取。";
        case Kind::PastNinth:
            return text + QuotedText(name) + u" 是这一行的第 " + DecimalText(step.number) + u" 个主机名，Windows 只使用前 " +
                   DecimalText(MostNamesOnALine) + u" 个。";
        case Kind::BadAddress: return text + EntryProblemText({EntryProblem::Kind::Address, step.address});
        case Kind::InvalidName: return text + EntryProblemText({EntryProblem::Kind::HostName, name});
        case Kind::MappedEarlier:
            return text + u"第 " + DecimalText(step.number) + u" 行已经映射了" + QuotedText(name) +
                   u"，这一行通常不起作用。";
    }
    return text;
}

}  // namespace

HostsReport HostsCheckReport(Platform& platform, std::u16string_view text, HostsEncoding encoding,
                             std::size_t mostListed) {
    const HostsCheck check = CheckHostsText(text, LostCharactersIn(platform, encoding));
    const bool many = check.entryLines > ManyEntryLines;
    HostsReport report;
    report.count = check.findings.size() + many;
    report.lines.push_back(u"共 " + DecimalText(check.lines) + u" 行，其中 " + DecimalText(check.entryLines) +
                           u" 行条目、" + DecimalText(check.names) + u" 个主机名；" +
                           (report.count == 0 ? u"没有发现问题。" : u"发现 " + DecimalText(report.count) + u" 个问题。"));
    const std::size_t listed = std::min(check.findings.size(), mostListed);
    for (std::size_t i = 0; i < listed; ++i) report.lines.push_back(FindingText(platform, check.findings[i]));
    if (listed < check.findings.size())
        report.lines.push_back(u"……另有 " + DecimalText(check.findings.size() - listed) + u" 个问题没有列出。");
    if (many)
        report.lines.push_back(u"条目超过 " + DecimalText(ManyEntryLines) +
                               u" 行，Windows 的 DNS Client 服务读取时可能停顿很久（有时在登录时长达数分钟）；"
                               u"“压缩条目”可以把同一地址的条目合并为每行 " +
                               DecimalText(MostNamesOnALine) + u" 个主机名。");
    return report;
}

HostsReport NameTraceReport(std::u16string_view text, std::u16string_view name, bool unsaved) {
    HostsReport report;
    std::vector<std::u16string> reasons;
    for (const TraceStep& step : TraceHostName(text, name)) {
        if (step.kind != TraceStep::Kind::Answers) {
            reasons.push_back(StepText(step, name));
            continue;
        }
        ++report.count;
        report.lines.push_back(QuotedText(name) + u" 由第 " + DecimalText(step.line) + u" 行解析为 " +
                               std::u16string(step.address) + u"。");
    }
    if (report.count == 0) report.lines.push_back(QuotedText(name) + u" 在 Hosts 文件中没有生效的条目。");
    report.lines.insert(report.lines.end(), reasons.begin(), reasons.end());
    // The text box may differ from the file; and past the file, the browser
    // decides too: its own cache, and secure DNS, which asks a server over
    // HTTPS without a look at the hosts file.
    const std::u16string_view unsavedNote =
        unsaved ? u"Text1 中的修改尚未保存，保存到 Hosts 文件后才会生效；" : u"";
    report.lines.push_back(std::u16string(unsavedNote) +
                           u"浏览器有自己的 DNS 缓存，可能要重启浏览器后才生效；启用了安全 DNS（DNS over HTTPS）的浏览器不读取 "
                           u"Hosts 文件。");
    return report;
}

void ShowHostsCheck(WindowState& window, Platform& platform) {
    const HostsEncoding encoding = window.HostsFileEncoding();
    HostsReport report;
    // The findings point into the lent text: their words are written before
    // it goes back.
    window.ReadHostsText(
        [&](std::u16string_view text) { report = HostsCheckReport(platform, text, encoding, MostFindingsListed); });
    window.SetText(TextBox::Results, Joined(report.lines));
}

void ShowNameTrace(WindowState& window, Platform&) {
    const std::u16string typed = window.Text(TextBox::HostName);
    const std::u16string_view name = TrimBlanks(typed);
    if (name.empty()) {
        window.SetText(TextBox::Results, u"请先在 Text3 中输入要测试的主机名。");
        return;
    }
    const bool unsaved = window.HostsTextModified();
    HostsReport report;
    window.ReadHostsText([&](std::u16string_view text) { report = NameTraceReport(text, name, unsaved); });
    window.SetText(TextBox::Results, Joined(report.lines));
}

void PackEntryLines(WindowState& window, Platform&) {
    PackedEntries packed;
    window.ReadHostsText([&](std::u16string_view text) { packed = PackEntries(text); });
    if (!packed.Changed()) {
        window.SetText(TextBox::Results, u"没有可以压缩的条目：地址相同的相邻条目行已经每行最多 " +
                                             DecimalText(MostNamesOnALine) + u" 个主机名。");
        return;
    }
    window.ReplaceHostsText(packed.range, packed.replacement, {packed.range.begin, packed.range.begin});
    window.SetText(TextBox::Results, u"压缩前 " + DecimalText(packed.entryLinesBefore) + u" 行条目，压缩后 " +
                                         DecimalText(packed.entryLinesAfter) + u" 行；主机名 " +
                                         DecimalText(packed.names) + u" 个，一个不少。");
}

void SelectLineNamedInResults(WindowState& window) {
    const std::u16string results = window.Text(TextBox::Results);
    const std::size_t caret = window.ResultsClickPosition();
    std::optional<TextRange> line;
    window.ReadHostsText([&](std::u16string_view text) { line = LineNamedInResults(text, results, caret); });
    if (line) window.SelectHostsText(*line);
}

}  // namespace quenlix
