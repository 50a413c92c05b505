#include "commands/ScriptCommands.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <new>
#include <optional>
#include <variant>

#include "commands/DiagnosisCommands.h"
#include "commands/EntryProblemText.h"
#include "commands/HostsChange.h"
#include "commands/LostCharacters.h"
#include "commands/ScriptRequest.h"
#include "edit/EntryCheck.h"
#include "edit/EntryPacking.h"
#include "edit/EntrySwitch.h"
#include "edit/NamedEntries.h"
#include "edit/StringRules.h"
#include "hosts/HostsFileReader.h"
#include "hosts/HostsPaths.h"
#include "hosts/HostsStore.h"

namespace quenlix {

namespace {

using Command = ScriptRequest::Command;

// What a command makes of the file's text: the one edit, or nothing to do
// (with its exit code and what to say).
struct TextChange {
    std::optional<HostsTextEdit> edit;
    std::u16string said;
    int exit = ScriptExit::Done;
};
using TextChanger = std::function<TextChange(std::u16string_view text)>;

std::u16string Joined(const std::vector<std::u16string>& words, std::u16string_view between) {
    std::u16string joined;
    for (const std::u16string& word : words) joined += (joined.empty() ? u"" : std::u16string(between)) + word;
    return joined;
}

// The bytes of a change: only what follows the first byte that differs is
// written, so an append writes its own line and nothing else.
HostsEdit EditOf(std::string_view old, std::string bytes) {
    const std::size_t common = std::min(old.size(), bytes.size());
    const std::size_t kept = static_cast<std::size_t>(
        std::mismatch(old.begin(), old.begin() + static_cast<std::ptrdiff_t>(common), bytes.begin()).first -
        old.begin());
    return {kept, bytes.substr(kept)};
}

class ScriptRun {
public:
    ScriptRun(Platform& platform, ScriptOutput& output, const ScriptRequest& request)
        : platform_(platform), output_(output), request_(request) {}

    int Run() {
        switch (request_.command) {
            case Command::Help: output_.Result(ScriptUsageText()); return ScriptExit::Done;
            case Command::Check: return Check();
            case Command::Resolve: return Resolve();
            case Command::Add: return Add();
            case Command::Remove: return Change([&](std::u16string_view text) { return Remove(text); });
            case Command::Disable:
            case Command::Enable: return Change([&](std::u16string_view text) { return Switch(text); });
            case Command::Compress: return Change([&](std::u16string_view text) { return Compress(text); });
        }
        return ScriptExit::Usage;
    }

private:
    int Check() {
        const HostsFile file = ReadHostsFile(platform_, HostsPath(platform_));
        const HostsReport report = HostsCheckReport(platform_, file.text, file.encoding, SIZE_MAX);
        for (const std::u16string& line : report.lines) output_.Result(line);
        return report.count == 0 ? ScriptExit::Done : ScriptExit::NotFound;
    }

    int Resolve() {
        const HostsFile file = ReadHostsFile(platform_, HostsPath(platform_));
        const HostsReport report = NameTraceReport(file.text, request_.operands[0], false);
        for (const std::u16string& line : report.lines) output_.Result(line);
        return report.count > 0 ? ScriptExit::Done : ScriptExit::NotFound;
    }

    int Add() {
        const std::u16string& address = request_.operands[0];
        const std::vector<std::u16string> names(request_.operands.begin() + 1, request_.operands.end());
        const std::u16string line = address + u" " + Joined(names, u" ");
        if (const auto problem = FirstEntryProblem(address, Joined(names, u" ")); problem && !request_.force) {
            output_.Error(EntryProblemText(*problem) + u"加上 /force 仍可追加。");
            return ScriptExit::Refused;
        }
        return Change([&](std::u16string_view text) -> TextChange {
            if (EntryIsOn(text, address, names)) return {std::nullopt, u"没有改动：已有相同的生效条目。"};
            // On a line of its own: a last line without its break gets one.
            const bool breakFirst = !text.empty() && text.back() != u'\r' && text.back() != u'\n';
            std::u16string added = (breakFirst ? u"\r\n" : u"") + line + u"\r\n";
            return {HostsTextEdit{{text.size(), text.size()}, std::move(added), {}}, u"已追加：" + line};
        });
    }

    TextChange Remove(std::u16string_view text) {
        std::optional<NamesRemoved> removed = RemoveNames(text, request_.operands);
        if (!removed) return {std::nullopt, u"没有改动：没有生效的条目包含这些主机名。", ScriptExit::NotFound};
        return {std::move(removed->edit), u"已从 " + DecimalText(removed->linesChanged) + u" 行中删去主机名，其中 " +
                                              DecimalText(removed->linesRemoved) + u" 行已整行删除。"};
    }

    TextChange Switch(std::u16string_view text) {
        const bool on = request_.command == Command::Enable;
        const std::u16string& name = request_.operands[0];
        std::optional<HostsTextEdit> edit = SetEntriesNamed(text, name, on);
        if (!edit)
            return {std::nullopt, u"没有改动：没有" + std::u16string(on ? u"停用" : u"生效") + u"的条目属于" + QuotedText(name) + u"。",
                    ScriptExit::NotFound};
        return {std::move(edit), std::u16string(on ? u"已启用" : u"已停用") + QuotedText(name) + u"的条目。"};
    }

    TextChange Compress(std::u16string_view text) {
        PackedEntries packed = PackEntries(text);
        if (!packed.Changed())
            return {std::nullopt, u"没有改动：地址相同的相邻条目行已经每行最多 " + DecimalText(MostNamesOnALine) + u" 个主机名。"};
        return {HostsTextEdit{packed.range, std::move(packed.replacement), {}},
                u"压缩前 " + DecimalText(packed.entryLinesBefore) + u" 行条目，压缩后 " +
                    DecimalText(packed.entryLinesAfter) + u" 行；主机名 " + DecimalText(packed.names) + u" 个，一个不少。"};
    }

    // One change of the file through the window's write, worked out from the
    // bytes read through the write's own handle.
    int Change(const TextChanger& change) {
        TextChange outcome;
        std::size_t lost = 0;
        const HostsEditor editor = [&](const HostsNow& now) -> std::optional<HostsEdit> {
            FileText file = DecodeFileText(platform_, now.bytes);
            outcome = change(file.text);
            if (!outcome.edit) return std::nullopt;
            const HostsTextEdit& edit = *outcome.edit;
            lost = 0;
            // An append encodes only what it adds: a large file is not
            // encoded again to find that its bytes stay.
            const bool appends = edit.range.begin == file.text.size() && edit.range.end == file.text.size();
            if (appends && !file.oddLastByte) {
                std::string tail = EncodeText(platform_, edit.text, file.encoding, &lost);
                if (lost == 0 || file.encoding != HostsEncoding::Ansi) return HostsEdit{now.bytes.size(), std::move(tail)};
            }
            file.text.replace(edit.range.begin, edit.range.end - edit.range.begin, edit.text);
            lost = 0;
            std::string bytes = EncodeFileText(platform_, file, &lost);
            if (lost > 0 && file.encoding == HostsEncoding::Ansi) {
                if (!request_.utf8) return std::nullopt;
                file.encoding = HostsEncoding::Utf8;
                bytes = EncodeFileText(platform_, file);
                lost = 0;
            }
            return EditOf(now.bytes, std::move(bytes));
        };
        const HostsWriteResult result = ChangeHostsFileUnasked(platform_, editor, request_.elevate);
        if (lost > 0) {
            output_.Error(LostCharactersText(platform_, lost) + u"加上 /utf8 可改用 UTF-8 保存。");
            return ScriptExit::Refused;
        }
        if (!result.written) {
            output_.Result(outcome.said);
            return outcome.exit;
        }
        output_.Result(outcome.said);
        if (result.attributesNotRestored)
            output_.Error(u"Hosts 文件已写入，但未能恢复它原有的只读、隐藏或系统属性（错误 " +
                          DecimalText(result.attributesNotRestored->Number()) + u"：" +
                          result.attributesNotRestored->Description() + u"）。");
        if (result.readBackDiffers) {
            output_.Error(u"Hosts 文件写入后被其他程序改动（可能是安全软件），当前内容与写入的内容不一致。");
            return ScriptExit::ReadBackDiffers;
        }
        return ScriptExit::Done;
    }

    Platform& platform_;
    ScriptOutput& output_;
    const ScriptRequest& request_;
};

int ExitCodeOf(const Failure& failure) {
    switch (failure.Number()) {
        case FailureNumber::AccessDenied:
        case FailureNumber::Cancelled: return ScriptExit::AccessDenied;
        case FailureNumber::SharingViolation:
        case FailureNumber::LockViolation: return ScriptExit::Busy;
        case 0: return 1;
        default: return static_cast<int>(failure.Number());
    }
}

}  // namespace

int RunScriptCommandLine(Platform& platform, ScriptOutput& output, const std::vector<std::u16string>& arguments) {
    const auto read = ReadScriptRequest(arguments);
    if (const auto* usage = std::get_if<ScriptUsageError>(&read)) {
        output.Error(usage->message);
        return ScriptExit::Usage;
    }
    try {
        return ScriptRun(platform, output, std::get<ScriptRequest>(read)).Run();
    } catch (const Failure& failure) {
        output.Error(u"错误 " + DecimalText(failure.Number()) + u"：" + failure.Description());
        return ExitCodeOf(failure);
    } catch (const std::bad_alloc&) {
        output.Error(u"错误 8：存储空间不足，无法处理此命令。");
        return static_cast<int>(FailureNumber::NotEnoughMemory);
    }
}

}  // namespace quenlix
