#include <gtest/gtest.h>

#include "commands/LoadCommands.h"
#include "hosts/HostsPaths.h"
#include "platform/MessageStyle.h"
#include "support/FakePlatform.h"
#include "support/FakeWindow.h"
#include "ui/CommandRunner.h"

namespace quenlix {
namespace {

using testing::FakePlatform;
using testing::FakeWindow;

constexpr std::u16string_view Admin = u"Hosts (已获得管理员权限)";
constexpr std::u16string_view NotAdmin = u"Hosts (未获得管理员权限)";

struct LoadCommandsTest : ::testing::Test {
    FakePlatform platform;
    FakeWindow window;
    std::u16string hosts = HostsPath(platform);
};

TEST_F(LoadCommandsTest, APresentFileIsLoadedWithOrWithoutRights) {
    platform.PutFile(hosts, "127.0.0.1 localhost\n::1 localhost");
    EXPECT_EQ(LoadHostsWindow(window, platform), LoadOutcome::ShowWindow);
    EXPECT_EQ(window.title, Admin);
    EXPECT_EQ(window.texts[0], u"127.0.0.1 localhost\n::1 localhost\r\n");

    platform.administrator = false;
    platform.PutFile(hosts, "a\r\n");
    EXPECT_EQ(LoadHostsWindow(window, platform), LoadOutcome::ShowWindow);
    EXPECT_EQ(window.title, NotAdmin);
    EXPECT_EQ(window.texts[0], u"a\r\n");
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(LoadCommandsTest, AMissingFileWithoutRightsWarnsAndKeepsTheHostsText) {
    platform.administrator = false;
    EXPECT_EQ(LoadHostsWindow(window, platform), LoadOutcome::ShowWindow);
    EXPECT_EQ(window.title, NotAdmin);
    EXPECT_EQ(window.texts[0], u"Text1");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].prompt, u"未发现Hosts文件，创建Hosts文件需管理员权限运行！");
    EXPECT_EQ(platform.messages[0].style, Mb::Ok | Mb::IconWarning);
    EXPECT_EQ(platform.messages[0].title, u"提示");
    EXPECT_FALSE(platform.Has(hosts));
}

// The file is created and loaded whatever cacls does; the message says
// whether the rights were changed.
TEST_F(LoadCommandsTest, AMissingFileWithRightsAndOkIsCreatedGrantedAndLoaded) {
    const struct {
        ProgramExit exit;
        std::u16string_view prompt;
        std::uint32_t style;
        std::u16string_view title;
    } cases[] = {
        {0u, u"已生成Hosts文件,并获得访问权限", Mb::Ok | Mb::IconInformation | Mb::SystemModal | Mb::SetForeground, u"标题"},
        {5u, u"已生成Hosts文件，但未能更改它的访问权限（cacls 退出代码 5）。", Mb::Ok | Mb::IconWarning | Mb::SystemModal | Mb::SetForeground, u"提示"},
        {std::nullopt, u"已生成Hosts文件，但未能更改它的访问权限（cacls 在 30 秒内没有结束）。", Mb::Ok | Mb::IconWarning | Mb::SystemModal | Mb::SetForeground, u"提示"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exit ? static_cast<int>(*c.exit) : -1);
        FakePlatform platform;
        FakeWindow window;
        platform.programExit = c.exit;
        platform.answers = {1, 1};
        EXPECT_EQ(LoadHostsWindow(window, platform), LoadOutcome::ShowWindow);
        ASSERT_EQ(platform.messages.size(), 2u);
        EXPECT_EQ(platform.messages[0].prompt, u"未发现Hosts文件，确定要创建Hosts文件吗？");
        EXPECT_EQ(platform.messages[0].style, Mb::OkCancel | Mb::IconQuestion);
        EXPECT_EQ(platform.messages[1].prompt, c.prompt);
        EXPECT_EQ(platform.messages[1].style, c.style);
        EXPECT_EQ(platform.messages[1].title, c.title);
        ASSERT_EQ(platform.ran.size(), 1u);
        EXPECT_EQ(platform.ran[0].program, u"cacls.exe");
        EXPECT_EQ(platform.ran[0].arguments, u"\"" + hosts + u"\" /e /t /p \"Everyone:F\"");
        EXPECT_EQ(platform.FileBytes(hosts)->size(), 836u);
        EXPECT_EQ(window.texts[0].size(), 836u);
        EXPECT_FALSE(window.closed);
    }
}

// A hidden or system hosts file (some security tools set those attributes)
// is the user's file: loaded, never offered for creation.
TEST_F(LoadCommandsTest, AHiddenOrSystemFileIsLoadedAsItIs) {
    for (const bool hidden : {false, true}) {
        platform.PutFile(hosts, "127.0.0.1 mine\r\n");
        platform.File(hosts).hidden = hidden;
        platform.File(hosts).system = !hidden;
        EXPECT_EQ(LoadHostsWindow(window, platform), LoadOutcome::ShowWindow);
        EXPECT_EQ(window.texts[0], u"127.0.0.1 mine\r\n");
        EXPECT_TRUE(platform.messages.empty());
        EXPECT_EQ(platform.FileBytes(hosts), "127.0.0.1 mine\r\n");
    }
}

// A file that appears while the offer to create one is open is loaded as it
// is, not written over with the stock content.
TEST_F(LoadCommandsTest, AFileThatAppearsMeanwhileIsLoadedNotReplaced) {
    platform.answers = {Answer::Ok};
    platform.whileAsking = [&] { platform.PutFile(hosts, "127.0.0.1 other\r\n"); };
    EXPECT_EQ(LoadHostsWindow(window, platform), LoadOutcome::ShowWindow);
    EXPECT_EQ(platform.FileBytes(hosts), "127.0.0.1 other\r\n");
    EXPECT_EQ(window.texts[0], u"127.0.0.1 other\r\n");
    EXPECT_EQ(platform.messages.size(), 1u) << "no report of a creation that did not happen";
    EXPECT_TRUE(platform.started.empty()) << "no grant for a file the program did not create";
}

// Shown in part, a file would be saved in part: one too large for Text1 is
// not shown at all, and nothing is written.
TEST_F(LoadCommandsTest, AFileTooLargeForTheHostsTextBoxIsRefusedWithAMessage) {
    window.capacity = 8;
    platform.PutFile(hosts, "127.0.0.1 x\r\n");
    EXPECT_EQ(LoadHostsWindow(window, platform), LoadOutcome::ShowWindow);
    EXPECT_EQ(window.texts[0], u"Text1");
    EXPECT_FALSE(window.snapshot);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].prompt,
              u"Hosts 文件太大（13 个字符），Text1 最多只能显示 8 个字符，因此没有读入。\n\nHosts 文件没有被改动。");
    EXPECT_EQ(platform.messages[0].style, Mb::Ok | Mb::IconWarning);
    EXPECT_EQ(platform.FileBytes(hosts), "127.0.0.1 x\r\n");
}

TEST_F(LoadCommandsTest, CancelQuitsWithoutAFile) {
    platform.answers = {2};
    EXPECT_EQ(LoadHostsWindow(window, platform), LoadOutcome::Quit);
    EXPECT_FALSE(platform.Has(hosts));
    EXPECT_TRUE(platform.ran.empty());
}

TEST_F(LoadCommandsTest, TheRightsAreAskedAgainBeforeTheOfferToCreate) {
    platform.answers = {2};
    LoadHostsWindow(window, platform);
    EXPECT_EQ(platform.administratorQueries, 2);
}

TEST_F(LoadCommandsTest, RefreshesKeepOneSuffixAndShowTheFileAsItIsNow) {
    platform.PutFile(hosts, "one\r\n");
    for (int i = 0; i < 3; ++i) RefreshHostsFile(window, platform);
    EXPECT_EQ(window.title, Admin);
    platform.administrator = false;
    platform.PutFile(hosts, "two\r\n");
    RefreshHostsFile(window, platform);
    EXPECT_EQ(window.title, NotAdmin);
    EXPECT_EQ(window.texts[0], u"two\r\n");

    platform.RemoveFile(hosts);  // deleted behind the program's back
    RefreshHostsFile(window, platform);
    EXPECT_EQ(window.texts[0], u"two\r\n");
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_FALSE(window.closed);
}

TEST_F(LoadCommandsTest, ARefreshAsksBeforeThrowingAwayUnsavedEdits) {
    platform.PutFile(hosts, "on disk\r\n");
    for (const int answer : {Answer::Cancel, Answer::Ok}) {
        platform.messages.clear();
        window.texts[0] = u"typed";
        window.modified = true;
        platform.answers = {answer};
        RefreshHostsFile(window, platform);
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].prompt, u"Text1 中的修改尚未保存。\n\n是否放弃这些修改并重新读取 Hosts 文件？");
        EXPECT_EQ(platform.messages[0].style, Mb::OkCancel | Mb::IconWarning | Mb::DefaultButton2);
        EXPECT_EQ(platform.messages[0].title, u"提示");
        EXPECT_EQ(window.texts[0], answer == Answer::Ok ? u"on disk\r\n" : u"typed");
        EXPECT_EQ(window.modified, answer != Answer::Ok);
    }
    platform.messages.clear();
    RefreshHostsFile(window, platform);
    EXPECT_TRUE(platform.messages.empty()) << "no unsaved edits, no question";
}

TEST_F(LoadCommandsTest, DecliningToCreateTheFileOnARefreshClosesTheWindow) {
    platform.answers = {2};
    RefreshHostsFile(window, platform);
    EXPECT_TRUE(window.closed);
    EXPECT_FALSE(platform.Has(hosts));
}

// After the window is shown, a failure is reported and the program goes on
// with every box as it was: unsaved edits are not thrown away.
TEST_F(LoadCommandsTest, AFailedRefreshIsReportedAndKeepsTheWindow) {
    platform.PutFile(hosts, "x\r\n");
    platform.deniedPaths = {hosts};
    window.texts[0] = u"unsaved edits";
    RunCommand(AsCommand<RefreshHostsFile>(), window, platform);
    ASSERT_EQ(platform.reported.size(), 1u);
    EXPECT_EQ(platform.reported[0].Number(), testing::AccessDenied);
    EXPECT_FALSE(window.closed);
    // A failed read must not leave Text1 emptied or half filled.
    EXPECT_EQ(window.texts[0], u"unsaved edits");
}

}  // namespace
}  // namespace quenlix
