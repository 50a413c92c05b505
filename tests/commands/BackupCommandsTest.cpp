#include <gtest/gtest.h>

#include "commands/BackupCommands.h"
#include "hosts/HostsPaths.h"
#include "platform/MessageStyle.h"
#include "support/FakePlatform.h"

namespace quenlix {
namespace {

using testing::FakePlatform;

constexpr std::u16string_view Hosts = u"C:\\WINDOWS\\system32\\drivers\\etc\\hosts";

struct BackupCommandsTest : ::testing::Test {
    BackupCommandsTest() { platform.programDirectory = u"D:\\My Tools\\工具"; }
    FakePlatform platform;
    const std::u16string backup = u"D:\\My Tools\\工具\\备份hosts";
};

TEST_F(BackupCommandsTest, BackUpCopiesReportsAndOffersExplorer) {
    platform.PutFile(Hosts, "first");
    platform.answers = {6};
    BackUpHostsFile(platform);
    EXPECT_EQ(platform.FileBytes(backup), "first");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].prompt, u"备份成功\nD:\\My Tools\\工具\\\n\n是否打开备份Hosts文件位置");
    EXPECT_EQ(platform.messages[0].style, Mb::YesNo | Mb::IconInformation | Mb::SystemModal | Mb::SetForeground);
    EXPECT_EQ(platform.messages[0].title, u"提示");
    ASSERT_EQ(platform.started.size(), 1u);
    EXPECT_EQ(platform.started[0].commandLine, u"explorer /select,D:\\My Tools\\工具\\备份hosts");

    platform.PutFile(Hosts, "second");
    platform.answers = {7};
    BackUpHostsFile(platform);
    EXPECT_EQ(platform.FileBytes(backup), "second") << "a second backup replaces the first";
    EXPECT_EQ(platform.started.size(), 1u) << "No starts nothing";
    EXPECT_EQ(platform.dnsCacheFlushes, 0) << "the hosts file did not change";
}

TEST_F(BackupCommandsTest, AHiddenOrSystemFileIsStillTheFileToBackUpAndRestore) {
    platform.PutFile(Hosts, "hosts");
    platform.File(Hosts).hidden = true;
    platform.File(Hosts).system = true;
    platform.answers = {Answer::No};
    BackUpHostsFile(platform);
    EXPECT_EQ(platform.FileBytes(backup), "hosts");
    platform.File(backup).hidden = true;
    platform.PutFile(Hosts, "changed");
    RestoreHostsFromBackup(platform);
    EXPECT_EQ(platform.FileBytes(Hosts), "hosts");
}

TEST_F(BackupCommandsTest, NoHostsFileNoBackup) {
    BackUpHostsFile(platform);
    EXPECT_FALSE(platform.Has(backup));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].prompt, u"未在计算机系统默认位置发现Hosts文件");
    EXPECT_EQ(platform.messages[0].style, Mb::Ok | Mb::IconWarning | Mb::SystemModal | Mb::SetForeground);
    EXPECT_EQ(platform.messages[0].title, u"错误");
}

TEST_F(BackupCommandsTest, RestoreCopiesTheBackupBackAndKeepsIt) {
    platform.PutFile(backup, "saved");
    platform.PutFile(Hosts, "current");
    RestoreHostsFromBackup(platform);
    EXPECT_EQ(platform.FileBytes(Hosts), "saved");
    EXPECT_EQ(platform.FileBytes(backup), "saved");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].prompt, u"备份Hosts文件还原到系统Hosts成功");
    EXPECT_EQ(platform.messages[0].style, Mb::Ok | Mb::IconInformation | Mb::SystemModal | Mb::SetForeground);
    EXPECT_EQ(platform.dnsCacheFlushes, 1) << "the restored file takes effect at once";
}

TEST_F(BackupCommandsTest, RestoreWithoutABackupSaysSoAndChangesNothing) {
    platform.PutFile(Hosts, "current");
    RestoreHostsFromBackup(platform);
    EXPECT_EQ(platform.FileBytes(Hosts), "current");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].prompt, u"未在程序目录下发现Hosts备份文件");
    EXPECT_EQ(platform.messages[0].style, Mb::Ok | Mb::IconWarning | Mb::SystemModal | Mb::SetForeground);
}

TEST_F(BackupCommandsTest, AFailedRestoreKeepsTheHostsFileAndShowsNoSuccess) {
    platform.PutFile(backup, "saved and longer");
    platform.PutFile(Hosts, "current");
    platform.writeBudget = 5;
    EXPECT_THROW(RestoreHostsFromBackup(platform), Failure);
    EXPECT_EQ(platform.FileBytes(Hosts), "current");
    EXPECT_EQ(platform.FileBytes(backup), "saved and longer");
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(BackupCommandsTest, AFailedBackupKeepsThePreviousBackup) {
    platform.PutFile(backup, "previous");
    platform.PutFile(Hosts, "current hosts");
    platform.writeBudget = 2;
    EXPECT_THROW(BackUpHostsFile(platform), Failure);
    EXPECT_EQ(platform.FileBytes(backup), "previous");
}

}  // namespace
}  // namespace quenlix
