#include <gtest/gtest.h>

#include "hosts/HostsPaths.h"
#include "support/FakePlatform.h"
#include "support/FakeWindow.h"
#include "ui/CommandRunner.h"
#include "ui/Startup.h"
#include "ui/WidthToggle.h"

namespace quenlix {
namespace {

using testing::FakePlatform;
using testing::FakeWindow;

constexpr std::u16string_view Admin = u"Hosts (已获得管理员权限)";
constexpr std::u16string_view NotAdmin = u"Hosts (未获得管理员权限)";

struct StartupTest : ::testing::Test {
    FakePlatform platform;
    FakeWindow window;
    std::u16string hosts = HostsPath(platform);
};

TEST_F(StartupTest, APresentFileIsLoadedWithOrWithoutRights) {
    platform.PutFile(hosts, "127.0.0.1 localhost\n::1 localhost");
    Form_Load(window, platform);
    EXPECT_EQ(window.title, Admin);
    EXPECT_EQ(window.texts[0], u"127.0.0.1 localhost\n::1 localhost\r\n");

    platform.administrator = false;
    platform.PutFile(hosts, "a\r\n");
    Form_Load(window, platform);
    EXPECT_EQ(window.title, NotAdmin);
    EXPECT_EQ(window.texts[0], u"a\r\n");
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(StartupTest, AMissingFileWithoutRightsWarnsAndKeepsText1) {
    platform.administrator = false;
    Form_Load(window, platform);
    EXPECT_EQ(window.title, NotAdmin);
    EXPECT_EQ(window.texts[0], u"Text1");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].prompt, u"未发现Hosts文件，创建Hosts文件需管理员权限运行！");
    EXPECT_EQ(platform.messages[0].style, 48u);
    EXPECT_EQ(platform.messages[0].title, u"提示");
    EXPECT_FALSE(platform.Has(hosts));
}

TEST_F(StartupTest, AMissingFileWithRightsAndOkIsCreatedGrantedAndLoaded) {
    platform.answers = {1, 1};
    Form_Load(window, platform);
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[0].prompt, u"未发现Hosts文件，确定要创建Hosts文件吗？");
    EXPECT_EQ(platform.messages[0].style, 33u);
    EXPECT_EQ(platform.messages[1].prompt, u"已生成Hosts文件,并获得访问权限");
    EXPECT_EQ(platform.messages[1].style, 69696u);
    EXPECT_EQ(platform.messages[1].title, u"标题");
    ASSERT_EQ(platform.started.size(), 1u);
    EXPECT_EQ(platform.started[0].windowStyle, 2);
    EXPECT_EQ(platform.FileBytes(FixedHostsPath::Stock)->size(), 836u);
    EXPECT_EQ(window.texts[0].size(), 836u);
    EXPECT_FALSE(platform.ended);
}

TEST_F(StartupTest, CancelEndsTheProgramBeforeTheWindowWithoutAFile) {
    platform.answers = {2};
    EXPECT_TRUE(RunStartup(window, platform));
    EXPECT_TRUE(platform.ended);
    EXPECT_FALSE(platform.Has(hosts));
    EXPECT_TRUE(platform.started.empty());
}

TEST_F(StartupTest, TheRightsAreAskedAgainBeforeTheOfferToCreate) {
    platform.answers = {2};
    Form_Load(window, platform);
    EXPECT_EQ(platform.sidsAllocated, 2);
}

TEST_F(StartupTest, RefreshesKeepOneSuffixAndShowTheFileAsItIsNow) {
    platform.PutFile(hosts, "one\r\n");
    for (int i = 0; i < 3; ++i) Command4(window, platform);
    EXPECT_EQ(window.title, Admin);
    platform.administrator = false;
    platform.PutFile(hosts, "two\r\n");
    Command4(window, platform);
    EXPECT_EQ(window.title, NotAdmin);
    EXPECT_EQ(window.texts[0], u"two\r\n");

    platform.RemoveFile(hosts);  // deleted behind the program's back
    Command4(window, platform);
    EXPECT_EQ(window.texts[0], u"two\r\n");
    EXPECT_EQ(platform.messages.size(), 1u);
}

// After the window is shown, a failure is reported and the program goes on
// with every box as it was: unsaved edits are not thrown away.
TEST_F(StartupTest, AFailedRefreshIsReportedAndKeepsTheWindow) {
    platform.PutFile(hosts, "x\r\n");
    platform.deniedPaths = {hosts};
    window.texts[0] = u"unsaved edits";
    RunCommand(Command4, window, platform);
    ASSERT_EQ(platform.reported.size(), 1u);
    EXPECT_EQ(platform.reported[0].Number(), testing::AccessDenied);
    EXPECT_FALSE(platform.ended);
    // The load empties Text1 before it reads; a failed read must not leave it so.
    EXPECT_EQ(window.texts[0], u"unsaved edits");
}

TEST_F(StartupTest, AFailureBeforeTheWindowIsShownEndsTheProgram) {
    platform.PutFile(hosts, "x\r\n");
    platform.deniedPaths = {hosts};
    EXPECT_FALSE(RunStartup(window, platform));
    EXPECT_EQ(platform.reported.size(), 1u);
    EXPECT_TRUE(platform.ended);
}

TEST(WidthToggleTest, OnlyExactlyTheNarrowWidthWidens) {
    FakePlatform platform;
    testing::FakeWindow window;
    std::vector<float> widths;
    for (int i = 0; i < 3; ++i) {
        Command10(window, platform);
        widths.push_back(window.outerWidth);
    }
    EXPECT_EQ(widths, (std::vector<float>{12700, 9300, 12700}));
    for (float odd : {9299.f, 9301.f, 9300.5f}) {
        window.outerWidth = odd;
        Command10(window, platform);
        EXPECT_EQ(window.outerWidth, 9300) << odd;
    }
}

}  // namespace
}  // namespace quenlix

namespace quenlix {
namespace {

TEST(CommandRunnerTest, RunningOutOfMemoryIsReportedNotFatal) {
    testing::FakePlatform platform;
    testing::FakeWindow window;
    RunCommand([](WindowState&, Platform&) { throw std::bad_alloc(); }, window, platform);
    ASSERT_EQ(platform.reported.size(), 1u);
    EXPECT_EQ(platform.reported[0].Number(), 8u);
    EXPECT_FALSE(platform.ended);
}

}  // namespace
}  // namespace quenlix
