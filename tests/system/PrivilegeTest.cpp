#include <gtest/gtest.h>

#include "support/FakePlatform.h"
#include "support/FakeWindow.h"
#include "system/Privilege.h"

namespace quenlix {
namespace {

using testing::FakePlatform;
using testing::FakeWindow;

TEST(IsAdministratorTest, AsksForTheBuiltinAdministratorsGroupAndReleasesIt) {
    FakePlatform platform;  // hands out only S-1-5-32-544
    platform.administrator = true;
    EXPECT_TRUE(IsAdministrator(platform));
    platform.administrator = false;
    EXPECT_FALSE(IsAdministrator(platform));
    EXPECT_EQ(platform.sidsAllocated, 2);
    EXPECT_EQ(platform.sidsFreed, 2);
}

TEST(IsAdministratorTest, AFailedMembershipCallIsFalseAndStillReleases) {
    FakePlatform platform;
    platform.membershipCallFails = true;
    EXPECT_FALSE(IsAdministrator(platform));
    EXPECT_EQ(platform.sidsFreed, 1);
}

TEST(IsAdministratorTest, AFailedAllocationIsFalseAndFreesNothing) {
    FakePlatform platform;
    platform.sidAllocationFails = true;
    EXPECT_FALSE(IsAdministrator(platform));
    EXPECT_EQ(platform.sidsFreed, 0);
}

TEST(GrantCommandTest, AnAdministratorStartsTheGrantOnEachClickAndIsToldDone) {
    FakePlatform platform;
    FakeWindow window;
    platform.answers = {1, 1};
    Command13(window, platform);
    Command13(window, platform);
    ASSERT_EQ(platform.started.size(), 2u);
    EXPECT_EQ(platform.started[0].commandLine,
              u"cmd /c cacls.exe C:\\Windows\\System32\\drivers\\etc\\hosts /e /t /p everyone:F");
    EXPECT_EQ(platform.started[0].windowStyle, 2);
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[1].prompt, u"完成");
    EXPECT_EQ(platform.messages[1].style, 64u);
    EXPECT_EQ(platform.messages[1].title, u"提示");
}

TEST(GrantCommandTest, WithoutRightsNothingStartsAndAWarningShows) {
    FakePlatform platform;
    FakeWindow window;
    platform.administrator = false;
    Command13(window, platform);
    EXPECT_TRUE(platform.started.empty());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].prompt, u"需管理员权限运行");
    EXPECT_EQ(platform.messages[0].style, 48u);
}

TEST(GrantCommandTest, AGrantThatCannotStartIsAFailure) {
    FakePlatform platform;
    FakeWindow window;
    platform.startFails = true;
    EXPECT_THROW(Command13(window, platform), Failure);
    EXPECT_TRUE(platform.messages.empty()) << "no 完成 for a grant that never started";
}

}  // namespace
}  // namespace quenlix
