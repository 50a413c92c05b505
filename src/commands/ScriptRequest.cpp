#include "commands/ScriptRequest.h"

#include <array>
#include <optional>
#include <string_view>

#include "platform/AsciiCase.h"

namespace quenlix {

namespace {

using Command = ScriptRequest::Command;

enum class Option { Force, Utf8, Elevate };

struct CommandRule {
    std::u16string_view name;
    Command command;
    std::size_t fewestOperands;
    std::size_t mostOperands;
    // Whether it writes the file: only those take /utf8 and /elevate.
    bool writes;
};

constexpr std::size_t Any = static_cast<std::size_t>(-1);

constexpr std::array<CommandRule, 9> Commands{{
    {u"add", Command::Add, 2, Any, true},
    {u"remove", Command::Remove, 1, Any, true},
    {u"disable", Command::Disable, 1, 1, true},
    {u"enable", Command::Enable, 1, 1, true},
    {u"check", Command::Check, 0, 0, false},
    {u"resolve", Command::Resolve, 1, 1, false},
    {u"compress", Command::Compress, 0, 0, true},
    {u"?", Command::Help, 0, 0, false},
    {u"help", Command::Help, 0, 0, false},
}};

bool IsOption(std::u16string_view argument) {
    return argument.size() > 1 && (argument.front() == u'/' || argument.front() == u'-');
}

std::u16string Lowered(std::u16string_view text) {
    std::u16string lowered(text);
    for (char16_t& c : lowered) c = AsciiLower(c);
    return lowered;
}

std::optional<Option> OptionNamed(std::u16string_view name) {
    if (name == u"force") return Option::Force;
    if (name == u"utf8") return Option::Utf8;
    if (name == u"elevate") return Option::Elevate;
    return std::nullopt;
}

const CommandRule* CommandNamed(std::u16string_view name) {
    for (const CommandRule& rule : Commands)
        if (rule.name == name) return &rule;
    return nullptr;
}

ScriptUsageError Usage(std::u16string message) {
    return {std::move(message) + u"\n运行 Quenlix.exe /? 查看用法。"};
}

}  // namespace

std::variant<ScriptRequest, ScriptUsageError> ReadScriptRequest(const std::vector<std::u16string>& arguments) {
    ScriptRequest request;
    const CommandRule* rule = nullptr;
    std::vector<std::u16string_view> options;
    for (const std::u16string& argument : arguments) {
        if (!IsOption(argument)) {
            request.operands.push_back(argument);
            continue;
        }
        const std::u16string name = Lowered(std::u16string_view(argument).substr(1));
        if (const CommandRule* named = CommandNamed(name)) {
            if (rule != nullptr) return Usage(u"一次只能执行一个命令：" + argument);
            rule = named;
        } else if (const std::optional<Option> option = OptionNamed(name)) {
            (*option == Option::Force ? request.force : *option == Option::Utf8 ? request.utf8 : request.elevate) = true;
            options.push_back(argument);
        } else {
            return Usage(u"未知的命令或选项：" + argument);
        }
    }
    if (rule == nullptr) return Usage(u"没有指定命令。");
    request.command = rule->command;
    if (request.operands.size() < rule->fewestOperands)
        return Usage(u"/" + std::u16string(rule->name) + u" 缺少参数。");
    if (request.operands.size() > rule->mostOperands)
        return Usage(u"/" + std::u16string(rule->name) + u" 的参数过多：" + request.operands[rule->mostOperands]);
    for (const std::u16string_view option : options) {
        const bool forAdd = Lowered(option.substr(1)) == u"force";
        if (forAdd ? rule->command != Command::Add : !rule->writes)
            return Usage(u"选项 " + std::u16string(option) + u" 不能用于 /" + std::u16string(rule->name) + u"。");
    }
    return request;
}

std::u16string ScriptUsageText() {
    return u"用法：Quenlix.exe 命令 [参数] [选项]\n"
           u"不带参数运行时打开窗口。命令和选项以 / 或 - 开头，不区分大小写。\n"
           u"\n"
           u"  /add 地址 主机名...      在单独的一行追加一个条目（已有相同的生效条目时不改动）\n"
           u"  /remove 主机名...        从所有生效的条目中删去这些主机名；没有主机名的行整行删除\n"
           u"  /disable 主机名或分组    停用（注释掉）指向该主机名的条目，或该分组中的条目\n"
           u"  /enable 主机名或分组     启用这些条目\n"
           u"  /check                   检查整个 Hosts 文件，每行输出一个问题\n"
           u"  /resolve 主机名          说明 Windows 会用哪一行解析这个主机名\n"
           u"  /compress                把同一地址的连续条目合并为每行最多 9 个主机名\n"
           u"  /?、/help                显示本说明\n"
           u"\n"
           u"选项：\n"
           u"  /force     追加条目检查认为无效的条目\n"
           u"  /utf8      文件的 ANSI 代码页无法表示某些字符时改用 UTF-8 保存\n"
           u"  /elevate   没有写入权限时以管理员身份完成修改（Windows 将请求确认）\n"
           u"\n"
           u"每次改动前都会保存历史副本；不改动任何内容时不写入文件。\n"
           u"\n"
           u"退出代码：\n"
           u"  0   完成，或无需改动；/check 没有发现问题；/resolve 找到生效的条目\n"
           u"  1   /check 发现问题；/resolve 没有生效的条目；/remove、/enable、/disable 没有可改动的内容\n"
           u"  2   用法错误：未知的命令、缺少或多余的参数\n"
           u"  3   条目检查拒绝了该条目（未加 /force），或有字符会丢失（未加 /utf8）\n"
           u"  5   拒绝访问（未加 /elevate），或拒绝了管理员权限的确认\n"
           u"  10  写入后读回的内容与写入的不同（可能是安全软件）\n"
           u"  32  多次重试后文件仍被其他程序占用\n"
           u"  其他 其他失败的 Win32 错误代码\n"
           u"\n"
           u"Usage: Quenlix.exe command [arguments] [options]\n"
           u"Without arguments it opens the window. Commands and options start with / or -, in any letter case.\n"
           u"\n"
           u"  /add address name...     appends one entry on a line of its own (no change if the same entry is on)\n"
           u"  /remove name...          takes the names off every entry that is on; a line left with no name goes\n"
           u"  /disable name-or-group   switches off (comments out) the entries of that name, or of that group\n"
           u"  /enable name-or-group    switches them on\n"
           u"  /check                   checks the whole hosts file, one finding a line\n"
           u"  /resolve name            tells which line Windows answers the name with\n"
           u"  /compress                packs runs of entries of one address, up to nine names a line\n"
           u"  /?, /help                shows this text\n"
           u"\n"
           u"Options:\n"
           u"  /force     appends an entry the entry check refuses\n"
           u"  /utf8      saves as UTF-8 where the file's ANSI code page cannot hold a character\n"
           u"  /elevate   without the right to write, makes the change as administrator (Windows asks)\n"
           u"\n"
           u"Every change keeps a history copy first; a command that changes nothing writes nothing.\n"
           u"\n"
           u"Exit codes:\n"
           u"  0   done, or nothing to do; /check found nothing; /resolve found an entry that answers\n"
           u"  1   /check found problems; /resolve found no entry that answers; /remove, /enable or /disable\n"
           u"      found nothing to change\n"
           u"  2   usage: unknown command, missing or extra argument\n"
           u"  3   the entry check refused the entry (no /force), or characters would be lost (no /utf8)\n"
           u"  5   access denied (no /elevate), or the administrator prompt was declined\n"
           u"  10  the file read back differently from what was written (security software?)\n"
           u"  32  the file stayed busy after the retries\n"
           u"  other  the Win32 error number of any other failure\n";
}

}  // namespace quenlix
