#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/ScriptCommands.h"
#include "hosts/HostsPaths.h"
#include "platform/CommandLine.h"
#include "support/FakePlatform.h"

namespace quenlix {
namespace {

using testing::FakePlatform;

constexpr std::u16string_view Hosts = u"C:\\WINDOWS\\system32\\drivers\\etc\\hosts";

// Standard output and standard error as two texts, a line each.
struct RecordedOutput : ScriptOutput {
    std::u16string results, errors;
    void Result(std::u16string_view line) override { results.append(line).append(u"\n"); }
    void Error(std::u16string_view line) override { errors.append(line).append(u"\n"); }
};

enum class Arrange { Nothing, Denied, DeniedNoRights, DeclinedPrompt, Busy, NoFile };

// One command line against a hosts file: the exit code, the file after it
// ("=" when unchanged) and a piece of what it said (on either stream).
struct Case {
    std::u16string line;
    std::string before;
    int exit;
    std::string after;
    std::u16string says;
    Arrange arrange = Arrange::Nothing;
};

const std::string Stock = "127.0.0.1 localhost\r\n::1 localhost\r\n";

TEST(ScriptCommandsTest, CommandLinesToExitCodesOutputAndBytes) {
    const Case cases[] = {
        // Reading the command line: CommandLineToArgvW's rules, any case, both prefixes.
        {u"q.exe", Stock, 2, "=", u"没有指定命令"},
        {u"q.exe /frobnicate", Stock, 2, "=", u"未知的命令或选项：/frobnicate"},
        {u"q.exe /add 1.2.3.4", Stock, 2, "=", u"/add 缺少参数"},
        {u"q.exe /resolve a b", Stock, 2, "=", u"参数过多：b"},
        {u"q.exe /check /add 1.2.3.4 a", Stock, 2, "=", u"一次只能执行一个命令"},
        {u"q.exe /check /force", Stock, 2, "=", u"不能用于 /check"},
        {u"q.exe /remove a /force", Stock, 2, "=", u"不能用于 /remove"},
        {u"q.exe /?", Stock, 0, "=", u"Exit codes:"},
        {u"q.exe -HELP", Stock, 0, "=", u"退出代码"},
        // /add: its own line, in the file's encoding, once.
        {u"q.exe /ADD 1.2.3.4 a.example b.example", Stock, 0, Stock + "1.2.3.4 a.example b.example\r\n", u"已追加"},
        {u"q.exe -add 1.2.3.4 a.example", "127.0.0.1 localhost", 0, "127.0.0.1 localhost\r\n1.2.3.4 a.example\r\n", u""},
        {u"q.exe /add 1.2.3.4 \"中文.example\" /utf8", "", 0, "1.2.3.4 \xe4\xb8\xad\xe6\x96\x87.example\r\n", u""},
        {u"q.exe /add ::1 LocalHost.", Stock, 0, "=", u"没有改动"},
        {u"q.exe /add 1.2.3 a.example", Stock, 3, "=", u"“1.2.3” 不是有效的"},
        {u"q.exe /add 1.2.3 a.example /force", Stock, 0, Stock + "1.2.3 a.example\r\n", u""},
        {u"q.exe /add 1.2.3.4 a b c d e f g h i j", Stock, 3, "=", u"一行中有 10 个主机名"},
        {u"q.exe /add 1.2.3.4 \xD55C.example", Stock, 3, "=", u"/utf8"},
        {u"q.exe /add 1.2.3.4 \xD55C.example /utf8", Stock, 0, Stock + "1.2.3.4 \xed\x95\x9c.example\r\n", u""},
        {u"q.exe /add 1.2.3.4 a.example", Stock, 5, "=", u"错误 5", Arrange::Denied},
        {u"q.exe /add 1.2.3.4 a.example", Stock, 5, "=", u"错误 5", Arrange::DeniedNoRights},
        {u"q.exe /add 1.2.3.4 a.example /elevate", Stock, 5, "=", u"错误 1223", Arrange::DeclinedPrompt},
        {u"q.exe /add 1.2.3.4 a.example", Stock, 32, "=", u"错误 32", Arrange::Busy},
        // /remove: the names go, the rest of each line stays; an empty line goes whole.
        {u"q.exe /remove b.example", "1.2.3.4 a.example\tb.example # x\r\n1.2.3.4 b.example\r\n# 1.2.3.4 b.example\r\n", 0,
         "1.2.3.4 a.example # x\r\n# 1.2.3.4 b.example\r\n", u"已从 2 行中删去主机名，其中 1 行已整行删除"},
        {u"q.exe /remove LOCALHOST.", Stock, 0, "", u""},
        {u"q.exe /remove nowhere.example", Stock, 1, "=", u"没有改动"},
        // /disable and /enable: by name or by group, one mark a line.
        {u"q.exe /disable localhost", Stock, 0, "# 127.0.0.1 localhost\r\n# ::1 localhost\r\n", u"已停用"},
        {u"q.exe /enable localhost", "#127.0.0.1 localhost\n# ::1 localhost\n", 0, "127.0.0.1 localhost\n::1 localhost\n", u"已启用"},
        {u"q.exe /enable localhost", Stock, 1, "=", u"没有改动"},
        {u"q.exe /disable \"开发 环境\"", "#==== 开发 环境\r\n1.2.3.4 a\r\n#====\r\n1.2.3.4 b\r\n", 0,
         "#==== 开发 环境\r\n# 1.2.3.4 a\r\n#====\r\n1.2.3.4 b\r\n", u""},
        // /check, /resolve and /compress.
        {u"q.exe /check", Stock, 0, "=", u"没有发现问题"},
        {u"q.exe /check", Stock + "1.2.3 x\r\n", 1, "=", u"第 3 行：“1.2.3” 不是有效的"},
        {u"q.exe /resolve LocalHost", Stock, 0, "=", u"由第 1 行解析为 127.0.0.1"},
        {u"q.exe /resolve a.example", "# 1.2.3.4 a.example\r\n", 1, "=", u"没有生效的条目"},
        {u"q.exe /check", "", 2, "<missing>", u"错误 2", Arrange::NoFile},
        {u"q.exe /compress", "1.2.3.4 a\r\n1.2.3.4 b\r\n# end", 0, "1.2.3.4 a b\r\n# end", u"压缩前 2 行条目，压缩后 1 行"},
        {u"q.exe /compress", Stock, 0, "=", u"没有改动"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.line));
        FakePlatform platform;
        if (c.arrange != Arrange::NoFile) platform.PutFile(Hosts, c.before);
        if (c.arrange == Arrange::Denied) platform.deniedPaths = {std::u16string(Hosts)};
        if (c.arrange == Arrange::DeniedNoRights || c.arrange == Arrange::DeclinedPrompt) {
            platform.administrator = false;
            platform.writeDeniedPaths = {std::u16string(Hosts)};
        }
        if (c.arrange == Arrange::DeclinedPrompt)
            platform.elevatedInstance = [](std::u16string_view) -> ProgramExit {
                throw Failure(FailureNumber::Cancelled, u"操作已被用户取消。");
            };
        if (c.arrange == Arrange::Busy) {
            platform.busyPaths = {std::u16string(Hosts)};
            platform.busyFor = std::chrono::hours(1);
        }
        RecordedOutput output;
        EXPECT_EQ(RunScriptCommandLine(platform, output, ArgumentsAfterProgram(c.line)), c.exit)
            << ::testing::PrintToString(output.errors);
        EXPECT_EQ(platform.FileBytes(Hosts).value_or("<missing>"), c.after == "=" ? c.before : c.after);
        EXPECT_NE((output.results + output.errors).find(c.says), std::u16string::npos)
            << ::testing::PrintToString(output.results + u"/" + output.errors);
        EXPECT_TRUE(platform.messages.empty()) << "never a message box";
        // A history copy of every change (kept before the hand-off to the
        // second instance, too), and none of a command that changed nothing.
        const bool changed = c.after != "=" && c.after != "<missing>" && !c.before.empty();
        EXPECT_EQ(platform.FilesIn(HistoryFolder(platform)).size(),
                  changed || c.arrange == Arrange::DeclinedPrompt ? 1u : 0u);
    }
}

}  // namespace
}  // namespace quenlix
