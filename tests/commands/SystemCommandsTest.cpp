#include <gtest/gtest.h>

#include "commands/SystemCommands.h"
#include "platform/MessageStyle.h"
#include "support/FakePlatform.h"

namespace quenlix {
namespace {

using testing::FakePlatform;

TEST(SystemCommandsTest, CommandLinesAreFormedExactlyAndStartedNormally) {
    FakePlatform platform;
    ShowHostsInExplorer(platform);
    OpenHostsInNotepad(platform);
    OpenHostsInNotepad(platform);
    ASSERT_EQ(platform.started.size(), 3u);
    EXPECT_EQ(platform.started[0].commandLine, u"explorer /select,C:\\WINDOWS\\system32\\drivers\\etc\\hosts");
    EXPECT_EQ(platform.started[1].commandLine, u"Notepad.exe C:\\WINDOWS\\system32\\drivers\\etc\\hosts");
    for (const auto& s : platform.started) EXPECT_EQ(s.windowStyle, 1);
    EXPECT_TRUE(platform.messages.empty()) << "a missing hosts file is Notepad's affair";
}

// Who may grant, what cacls gave back, and what the user is told: "完成"
// only when cacls ended in time and said it succeeded.
TEST(SystemCommandsTest, TheGrantRunsTheSystemsCaclsAndSaysDoneOnlyWhenItSucceeded) {
    const struct {
        const char* what;
        bool administrator;
        ProgramExit exit;
        std::u16string_view prompt;
        std::uint32_t style;
    } cases[] = {
        {"succeeded", true, 0u, u"完成", Mb::IconInformation},
        {"refused", true, 5u, u"未能更改 Hosts 文件的访问权限（cacls 退出代码 5）。", Mb::IconWarning},
        {"crashed", true, 0xC0000005u, u"未能更改 Hosts 文件的访问权限（cacls 退出代码 3221225477）。", Mb::IconWarning},
        {"did not end", true, std::nullopt, u"未能更改 Hosts 文件的访问权限（cacls 在 30 秒内没有结束）。",
         Mb::IconWarning},
        {"no rights", false, 0u, u"需管理员权限运行", Mb::IconWarning},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakePlatform platform;
        platform.administrator = c.administrator;
        platform.programExit = c.exit;
        platform.everyoneGroupName = u"Tout le monde";
        GrantEveryoneAccess(platform);
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].prompt, c.prompt);
        EXPECT_EQ(platform.messages[0].style, c.style);
        EXPECT_EQ(platform.messages[0].title, u"提示");
        EXPECT_TRUE(platform.started.empty()) << "no command line for a shell";
        if (!c.administrator) {
            EXPECT_TRUE(platform.ran.empty());
            continue;
        }
        ASSERT_EQ(platform.ran.size(), 1u);
        EXPECT_EQ(platform.ran[0].program, u"cacls.exe");
        EXPECT_EQ(platform.ran[0].arguments,
                  u"\"C:\\WINDOWS\\system32\\drivers\\etc\\hosts\" /e /t /p \"Tout le monde:F\"");
        EXPECT_EQ(platform.ran[0].windowStyle, WindowStyle::MinimizedInactive);
        EXPECT_EQ(platform.ran[0].timeout, std::chrono::seconds(30));
    }
}

TEST(SystemCommandsTest, AGrantThatCannotStartIsAFailure) {
    FakePlatform platform;
    platform.startFails = true;
    EXPECT_THROW(GrantEveryoneAccess(platform), Failure);
    EXPECT_TRUE(platform.messages.empty()) << "no 完成 for a grant that never started";
}

}  // namespace
}  // namespace quenlix
