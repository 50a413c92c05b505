#include <gtest/gtest.h>

#include <string>

#include "commands/DiagnosisCommands.h"
#include "edit/StringRules.h"
#include "support/FakePlatform.h"
#include "support/FakeWindow.h"

namespace quenlix {
namespace {

using testing::FakePlatform;
using testing::FakeWindow;

// Distinct names, one entry a line.
std::u16string Blocklist(std::size_t lines) {
    std::u16string text;
    for (std::size_t i = 0; i < lines; ++i) text += u"0.0.0.0 n" + std::u16string(1, u'a' + i % 26) + DecimalText(i) + u"\r\n";
    return text;
}

// `lines` lines of a refused address, and the findings the window lists
// for them: the first thousand, and how many more there are.
std::u16string RefusedLines(std::size_t lines) {
    std::u16string text;
    for (std::size_t i = 0; i < lines; ++i) text += u"1.2.3 a\r\n";
    return text;
}
std::u16string RefusedFindings(std::size_t lines) {
    std::u16string text = u"共 " + DecimalText(lines) + u" 行，其中 0 行条目、0 个主机名；发现 " + DecimalText(lines) + u" 个问题。";
    for (std::size_t i = 1; i <= 1000; ++i)
        text += u"\r\n第 " + DecimalText(i) + u" 行：“1.2.3” 不是有效的 IPv4 或 IPv6 地址，Windows 不会使用这一行。";
    return text + u"\r\n……另有 " + DecimalText(lines - 1000) + u" 个问题没有列出。";
}

constexpr std::u16string_view Browsers =
    u"浏览器有自己的 DNS 缓存，可能要重启浏览器后才生效；启用了安全 DNS（DNS over HTTPS）的浏览器不读取 Hosts 文件。";

TEST(DiagnosisCommandsTest, CheckTraceAndPackingAsWindowsReadsTheText) {
    enum Command { Check, Trace, Pack };
    const std::u16string lostNote = u"有 1 个字符无法用 ANSI 编码（代码页 936）保存，将被写成“?”。";
    const std::u16string packMe =
        u"# header\r\n0.0.0.0 a\r\n0.0.0.0\tb c\r\n0.0.0.0 A.\r\n#==== grp\r\n0.0.0.0 d\r\n0.0.0.0 e # keep\r\n"
        u"0.0.0.0 f\r\n0.0.0.0 g\r\n#0.0.0.0 h\r\n0.0.0.0 i\r\n0.0.0.0 j";
    const std::u16string traced =
        u"# 0.0.0.0 ads.example\r\n0.0.0.0 a b c d e f g h i ads.example\r\n1.2.3 ads.example\r\n"
        u"0.0.0.0 ADS.example.\r\n::1 ads.example # x\r\n127.0.0.1 ads.example\r\n";
    const struct {
        Command command;
        std::u16string text1, text3;
        bool modified;
        std::u16string text4;
        std::u16string text1After = {};  // empty: Text1 stays as it was
    } cases[] = {
        {Check, u"127.0.0.1\tlocalhost  # loopback\r\n::1 \t localhost\r\nfe80::1%12 router\r\n", u"", false,
         u"共 3 行，其中 3 行条目、3 个主机名；没有发现问题。"},
        {Check, u"1.2.3 a\r\n1.2.3.4\r\n1.2.3.4 b!d ok\r\n0.0.0.0 a b c d e f g h i j\r\n", u"", false,
         u"共 4 行，其中 2 行条目、11 个主机名；发现 4 个问题。\r\n"
         u"第 1 行：“1.2.3” 不是有效的 IPv4 或 IPv6 地址，Windows 不会使用这一行。\r\n"
         u"第 2 行：地址“1.2.3.4”后面没有主机名，Windows 不会使用这一行。\r\n"
         u"第 3 行：主机名“b!d”无效（只能包含字母、数字、“-”和“_”）。\r\n"
         u"第 4 行：一行中有 10 个主机名，Windows 只使用前 9 个。"},
        {Check, u"0.0.0.0 Ads.example\r\n::1 ads.example\r\n127.0.0.1 x ads.example.\r\n0.0.0.0 watson.microsoft.com",
         u"", false,
         u"共 4 行，其中 4 行条目、5 个主机名；发现 2 个问题。\r\n"
         u"第 3 行：“ads.example.” 已由第 1 行映射，Windows 通常只使用第 1 行。\r\n"
         u"第 4 行：“watson.microsoft.com” 受 Microsoft Defender 保护：它发现这样的条目时，可能把整个 Hosts 文件还原为默认内容。"},
        {Check, std::u16string(u"1.2.3.4 a\0b\r\n# é\u2603\r\n# \u2603\u2603\r\n", 25), u"", false,
         u"共 3 行，其中 1 行条目、1 个主机名；发现 3 个问题。\r\n第 1 行：主机名“a\u2400b”无效（只能包含字母、数字、“-”和“_”）。\r\n"
         u"第 2 行：" + lostNote + u"\r\n第 3 行：有 2 个字符无法用 ANSI 编码（代码页 936）保存，将被写成“?”。"},
        {Check, RefusedLines(1002), u"", false, RefusedFindings(1002)},
        {Check, Blocklist(30001), u"", false,
         u"共 30001 行，其中 30001 行条目、30001 个主机名；发现 1 个问题。\r\n条目超过 30000 行，Windows 的 DNS Client "
         u"服务读取时可能停顿很久（有时在登录时长达数分钟）；“压缩条目”可以把同一地址的条目合并为每行 9 个主机名。"},
        {Trace, traced, u" ads.example ", false,
         u"“ads.example” 由第 4 行解析为 0.0.0.0。\r\n“ads.example” 由第 5 行解析为 ::1。\r\n"
         u"第 1 行：“ads.example”写在“#”之后，是注释，Windows 不会读取。\r\n"
         u"第 2 行：“ads.example” 是这一行的第 10 个主机名，Windows 只使用前 9 个。\r\n"
         u"第 3 行：“1.2.3” 不是有效的 IPv4 或 IPv6 地址，Windows 不会使用这一行。\r\n"
         u"第 6 行：第 4 行已经映射了“ads.example”，这一行通常不起作用。\r\n" + std::u16string(Browsers)},
        {Trace, u"#0.0.0.0 x.example\r\n0.0.0.0 x.example.org", u"X.EXAMPLE", true,
         u"“X.EXAMPLE” 在 Hosts 文件中没有生效的条目。\r\n第 1 行：“X.EXAMPLE”写在“#”之后，是注释，Windows 不会读取。\r\n"
         u"Text1 中的修改尚未保存，保存到 Hosts 文件后才会生效；" + std::u16string(Browsers)},
        {Trace, u"0.0.0.0 a", u" \t", false, u"请先在 Text3 中输入要测试的主机名。"},
        {Pack, packMe, u"", false, u"压缩前 9 行条目，压缩后 5 行；主机名 9 个，一个不少。",
         u"# header\r\n0.0.0.0 a b c\r\n#==== grp\r\n0.0.0.0 d\r\n0.0.0.0 e # keep\r\n0.0.0.0 f g\r\n#0.0.0.0 h\r\n"
         u"0.0.0.0 i j"},
        {Pack, u"0.0.0.0 a b c d e f\n0.0.0.0 g h i j k\n# end", u"", false,
         u"压缩前 2 行条目，压缩后 2 行；主机名 11 个，一个不少。", u"0.0.0.0 a b c d e f g h i\n0.0.0.0 j k\n# end"},
        {Pack, u"0.0.0.0 a b\r\n1.1.1.1 c\r\n0.0.0.0 a b c d e f g h i j\r\n0.0.0.0 k\r\n", u"", false,
         u"没有可以压缩的条目：地址相同的相邻条目行已经每行最多 9 个主机名。"},
    };
    for (const auto& c : cases) {
        FakeWindow window;
        FakePlatform platform;
        window.text(TextBox::HostsText) = c.text1;
        window.text(TextBox::HostName) = c.text3;
        window.modified = c.modified;
        (c.command == Check ? ShowHostsCheck : c.command == Trace ? ShowNameTrace : PackEntryLines)(window, platform);
        const std::string row = ::testing::PrintToString(c.text1.substr(0, 60));
        EXPECT_EQ(window.text(TextBox::Results), c.text4) << row;
        EXPECT_EQ(window.text(TextBox::HostsText), c.text1After.empty() ? c.text1 : c.text1After) << row;
        EXPECT_EQ(window.replacements, c.text1After.empty() ? 0 : 1) << row;
    }
}

TEST(DiagnosisCommandsTest, ADoubleClickOnAResultSelectsTheLineItNames) {
    const std::u16string text1 = u"a\r\nb\r\n0.0.0.0 x\r\nb\r\nc";
    const struct {
        std::u16string text4;
        std::size_t caret;
        std::u16string selected;  // empty: the selection stays
    } cases[] = {
        {u"共 5 行…\r\n第 3 行：…", 12, u"0.0.0.0 x"},
        {u"“x” 由第 5 行解析为 1.1.1.1。", 3, u"c"},
        {u"第 6 行：…", 2, u""},   // no such line
        {u"b\r\nb\r\nb\r\n", 7, u"b"},  // the third copy, of two lines: the first again
        {u"b\r\nb\r\n", 4, u"b"},
        {u"第3行", 1, u""},
    };
    for (const auto& c : cases) {
        FakeWindow window;
        window.text(TextBox::HostsText) = text1;
        window.text(TextBox::Results) = c.text4;
        window.resultsClick = c.caret;
        window.selection = {0, 0};
        SelectLineNamedInResults(window);
        const TextRange s = window.HostsTextSelection();
        EXPECT_EQ(text1.substr(s.begin, s.end - s.begin), c.selected) << ::testing::PrintToString(c.text4);
    }
    FakeWindow window;
    window.text(TextBox::HostsText) = text1;
    window.text(TextBox::Results) = u"b\r\nb";
    window.resultsClick = 4;
    SelectLineNamedInResults(window);
    EXPECT_EQ(window.HostsTextSelection(), (TextRange{17, 18}));  // the second "b", not the first
}

}  // namespace
}  // namespace quenlix
