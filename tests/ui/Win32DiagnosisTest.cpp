#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <set>
#include <string>

#include "commands/DiagnosisCommands.h"
#include "ui/Win32FormTestSupport.h"

// 检查 Hosts 文件, 解析测试 and 压缩条目 on the real window, and a
// double-click on a finding.
namespace quenlix::testing {
namespace {

struct Win32DiagnosisTest : Win32FormTest {
    std::wstring TextOf(std::string_view box) { return WindowTextOf(Child(box)); }

    // The hosts file as `bytes`, read into Text1 by 刷新, filled in pieces if long.
    void LoadHosts(const std::string& bytes) {
        WriteBytes(windows.HostsPath(), bytes);
        Click("Command4");
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (form->Filling() && std::chrono::steady_clock::now() < deadline) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            Pump();
        }
        ASSERT_FALSE(form->Filling());
    }

    // A double-click of the left button on the character `at` of a box, in
    // the middle of its row (halfway to the row below), scrolled into view
    // first as a user would.
    void DoubleClickOn(HWND box, std::size_t at) {
        SendMessageW(box, EM_SETSEL, at, at);
        SendMessageW(box, EM_SCROLLCARET, 0, 0);
        const LRESULT place = SendMessageW(box, EM_POSFROMCHAR, at, 0);
        const LRESULT row = SendMessageW(box, EM_LINEFROMCHAR, at, 0);
        const LRESULT below = SendMessageW(box, EM_POSFROMCHAR, SendMessageW(box, EM_LINEINDEX, row + 1, 0), 0);
        const LPARAM where = MAKELPARAM(LOWORD(place) + 2, (HIWORD(place) + HIWORD(below)) / 2);
        PostMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, where);
        PostMessageW(box, WM_LBUTTONUP, 0, where);
        PostMessageW(box, WM_LBUTTONDBLCLK, MK_LBUTTON, where);
        PostMessageW(box, WM_LBUTTONUP, 0, where);
        Pump();
    }

    std::pair<DWORD, DWORD> SelectionOf(std::string_view box) {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(Child(box), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
};

TEST_F(Win32DiagnosisTest, TheCheckWritesItsFindingsAndADoubleClickSelectsTheLine) {
    LoadHosts("# crafted\r\n0.0.0.0 ads.example\r\n1.2.3 broken.example\r\n0.0.0.0 ADS.example.\r\n"
              "127.0.0.1 telemetry.microsoft.com\r\n");
    SetFocus(Child("Text1"));
    PressKey(VK_F8);
    const std::wstring findings = TextOf("Text4");
    EXPECT_EQ(findings,
              L"共 5 行，其中 3 行条目、3 个主机名；发现 3 个问题。\r\n"
              L"第 3 行：“1.2.3” 不是有效的 IPv4 或 IPv6 地址，Windows 不会使用这一行。\r\n"
              L"第 4 行：“ADS.example.” 已由第 2 行映射，Windows 通常只使用第 2 行。\r\n"
              L"第 5 行：“telemetry.microsoft.com” 受 Microsoft Defender 保护：它发现这样的条目时，可能把整个 Hosts "
              L"文件还原为默认内容。");

    // As a user does: the right-hand group brought into view, Text4 clicked
    // into first (which may scroll it), then the finding double-clicked.
    Click("Command10");
    SetFocus(Child("Text4"));
    Pump();
    DoubleClickOn(Child("Text4"), findings.find(L"第 4 行") + 1);
    const std::wstring text1 = TextOf("Text1");
    const auto line4 = static_cast<DWORD>(text1.find(L"0.0.0.0 ADS"));
    EXPECT_EQ(SelectionOf("Text1"), std::make_pair(line4, line4 + 20));
    EXPECT_EQ(GetFocus(), Child("Text1"));
    EXPECT_TRUE(platform.reported.empty());
}

TEST_F(Win32DiagnosisTest, TheTraceOfAnAnsweredNameAndOfACommentedOne) {
    LoadHosts("0.0.0.0 ads.example\r\n#0.0.0.0 off.example\r\n");
    SendMessageW(Child("Text3"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Ads.Example"));
    ShowNameTrace(*form, platform);
    EXPECT_EQ(TextOf("Text4").substr(0, TextOf("Text4").find(L"\r\n")), L"“Ads.Example” 由第 1 行解析为 0.0.0.0。");
    SendMessageW(Child("Text3"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"off.example"));
    ShowNameTrace(*form, platform);
    EXPECT_TRUE(TextOf("Text4").starts_with(L"“off.example” 在 Hosts 文件中没有生效的条目。\r\n"
                                            L"第 2 行：“off.example”写在“#”之后，是注释，Windows 不会读取。\r\n"));
}

// A blocklist of 100,000 lines packs in one edit that one undo takes back;
// saved, the file answers the same names with about a ninth of the lines and
// keeps every byte that is not an entry.
TEST_F(Win32DiagnosisTest, APackedBlocklistSavesWithANinthOfTheLines) {
    const std::string head = "# blocklist\r\n#==== ads\r\n";
    const std::string tail = "#====\r\n# 0.0.0.0 kept.example\r\n127.0.0.1 localhost # here\r\n";
    std::string entries;
    for (int i = 0; i < 100000; ++i) entries += "0.0.0.0 n" + std::to_string(i) + ".example\r\n";
    LoadHosts(head + entries + tail);
    const std::wstring before = TextOf("Text1");

    PackEntryLines(*form, platform);
    EXPECT_EQ(TextOf("Text4"), L"压缩前 100001 行条目，压缩后 11113 行；主机名 100001 个，一个不少。");
    EXPECT_TRUE(form->HostsTextModified());
    SendMessageW(Child("Text1"), EM_UNDO, 0, 0);
    EXPECT_EQ(TextOf("Text1"), before) << "one undo takes the packing back whole";
    PackEntryLines(*form, platform);
    Click("Command3");

    const std::string saved = ReadBytes(windows.HostsPath());
    ASSERT_TRUE(saved.starts_with(head));
    ASSERT_TRUE(saved.ends_with(tail));
    const std::string packed = saved.substr(head.size(), saved.size() - head.size() - tail.size());
    std::set<std::string> names;
    std::size_t lines = 0;
    for (std::size_t at = 0; at < packed.size(); ++lines) {
        const std::size_t end = packed.find("\r\n", at);
        ASSERT_NE(end, std::string::npos);
        const std::string line = packed.substr(at, end - at);
        ASSERT_TRUE(line.starts_with("0.0.0.0 ")) << line;
        for (std::size_t n = 8; n < line.size();) {
            const std::size_t space = std::min(line.find(' ', n), line.size());
            names.insert(line.substr(n, space - n));
            n = space + 1;
        }
        at = end + 2;
    }
    EXPECT_EQ(lines, 11112u);
    EXPECT_EQ(names.size(), 100000u);
    EXPECT_TRUE(names.contains("n0.example") && names.contains("n99999.example"));
    EXPECT_FALSE(form->HostsTextModified());
    EXPECT_TRUE(platform.reported.empty());
}

}  // namespace
}  // namespace quenlix::testing
