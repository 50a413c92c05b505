#include <gtest/gtest.h>

#include "hosts/Backup.h"
#include "support/FakePlatform.h"
#include "support/FakeWindow.h"
#include "system/ShellViews.h"

namespace quenlix {
namespace {

using testing::FakePlatform;
using testing::FakeWindow;

constexpr std::u16string_view Hosts = u"C:\\WINDOWS\\system32\\drivers\\etc\\hosts";

TEST(ShellViewsTest, CommandLinesAreFormedExactlyAndStartedNormally) {
    FakePlatform platform;
    FakeWindow window;
    Command11(window, platform);
    Command12(window, platform);
    Command12(window, platform);
    ASSERT_EQ(platform.started.size(), 3u);
    EXPECT_EQ(platform.started[0].commandLine, u"explorer /select,C:\\WINDOWS\\system32\\drivers\\etc\\hosts");
    EXPECT_EQ(platform.started[1].commandLine, u"Notepad.exe C:\\WINDOWS\\system32\\drivers\\etc\\hosts");
    for (const auto& s : platform.started) EXPECT_EQ(s.windowStyle, 1);
    EXPECT_TRUE(platform.messages.empty()) << "a missing hosts file is Notepad's affair";
}

struct BackupTest : ::testing::Test {
    BackupTest() { platform.programDirectory = u"D:\\My Tools\\工具"; }
    FakePlatform platform;
    FakeWindow window;
    const std::u16string backup = u"D:\\My Tools\\工具\\备份hosts";
};

TEST_F(BackupTest, BackUpCopiesReportsAndOffersExplorer) {
    platform.PutFile(Hosts, "first");
    platform.answers = {6};
    Command14(window, platform);
    EXPECT_EQ(platform.FileBytes(backup), "first");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].prompt, u"备份成功\nD:\\My Tools\\工具\\\n\n是否打开备份Hosts文件位置");
    EXPECT_EQ(platform.messages[0].style, 69700u);
    EXPECT_EQ(platform.messages[0].title, u"提示");
    ASSERT_EQ(platform.started.size(), 1u);
    EXPECT_EQ(platform.started[0].commandLine, u"explorer /select,D:\\My Tools\\工具\\备份hosts");

    platform.PutFile(Hosts, "second");
    platform.answers = {7};
    Command14(window, platform);
    EXPECT_EQ(platform.FileBytes(backup), "second") << "a second backup replaces the first";
    EXPECT_EQ(platform.started.size(), 1u) << "No starts nothing";
}

TEST_F(BackupTest, NoHostsFileNoBackup) {
    platform.PutFile(Hosts, "x");
    platform.File(Hosts).hidden = true;  // the ordinary-file lookup does not see it
    Command14(window, platform);
    EXPECT_FALSE(platform.Has(backup));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].prompt, u"未在计算机系统默认位置发现Hosts文件");
    EXPECT_EQ(platform.messages[0].style, 69680u);
    EXPECT_EQ(platform.messages[0].title, u"错误");
}

TEST_F(BackupTest, RestoreCopiesTheBackupBackAndKeepsIt) {
    platform.PutFile(backup, "saved");
    platform.PutFile(Hosts, "current");
    Command15(window, platform);
    EXPECT_EQ(platform.FileBytes(Hosts), "saved");
    EXPECT_EQ(platform.FileBytes(backup), "saved");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].prompt, u"备份Hosts文件还原到系统Hosts成功");
    EXPECT_EQ(platform.messages[0].style, 69696u);
    EXPECT_EQ(window.text(TextBox::Text1), u"Text1") << "no box changes";
}

TEST_F(BackupTest, RestoreWithoutABackupSaysSoAndChangesNothing) {
    platform.PutFile(Hosts, "current");
    Command15(window, platform);
    EXPECT_EQ(platform.FileBytes(Hosts), "current");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].prompt, u"未在程序目录下发现Hosts备份文件");
    EXPECT_EQ(platform.messages[0].style, 69680u);
}

TEST_F(BackupTest, AFailedRestoreKeepsTheHostsFileAndShowsNoSuccess) {
    platform.PutFile(backup, "saved and longer");
    platform.PutFile(Hosts, "current");
    platform.writeBudget = 5;
    EXPECT_THROW(Command15(window, platform), Failure);
    EXPECT_EQ(platform.FileBytes(Hosts), "current");
    EXPECT_EQ(platform.FileBytes(backup), "saved and longer");
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(BackupTest, AFailedBackupKeepsThePreviousBackup) {
    platform.PutFile(backup, "previous");
    platform.PutFile(Hosts, "current hosts");
    platform.writeBudget = 2;
    EXPECT_THROW(Command14(window, platform), Failure);
    EXPECT_EQ(platform.FileBytes(backup), "previous");
}

}  // namespace
}  // namespace quenlix
