#include <gtest/gtest.h>

#include "commands/SystemCommands.h"
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

TEST(SystemCommandsTest, AnAdministratorStartsTheGrantOnEachClickAndIsToldDone) {
    FakePlatform platform;
    platform.answers = {1, 1};
    GrantEveryoneAccess(platform);
    GrantEveryoneAccess(platform);
    ASSERT_EQ(platform.started.size(), 2u);
    EXPECT_EQ(platform.started[0].commandLine,
              u"cmd /c cacls.exe C:\\Windows\\System32\\drivers\\etc\\hosts /e /t /p everyone:F");
    EXPECT_EQ(platform.started[0].windowStyle, 2);
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[1].prompt, u"完成");
    EXPECT_EQ(platform.messages[1].style, 64u);
    EXPECT_EQ(platform.messages[1].title, u"提示");
}

TEST(SystemCommandsTest, WithoutRightsNothingStartsAndAWarningShows) {
    FakePlatform platform;
    platform.administrator = false;
    GrantEveryoneAccess(platform);
    EXPECT_TRUE(platform.started.empty());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].prompt, u"需管理员权限运行");
    EXPECT_EQ(platform.messages[0].style, 48u);
}

TEST(SystemCommandsTest, AGrantThatCannotStartIsAFailure) {
    FakePlatform platform;
    platform.startFails = true;
    EXPECT_THROW(GrantEveryoneAccess(platform), Failure);
    EXPECT_TRUE(platform.messages.empty()) << "no 完成 for a grant that never started";
}

}  // namespace
}  // namespace quenlix
