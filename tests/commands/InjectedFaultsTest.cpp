#include <gtest/gtest.h>

#include "commands/BackupCommands.h"
#include "commands/EntryCommands.h"
#include "commands/SaveCommands.h"
#include "commands/LoadCommands.h"
#include "commands/ResetCommand.h"
#include "hosts/Backup.h"
#include "hosts/HostsPaths.h"
#include "platform/MessageStyle.h"
#include "support/FakePlatform.h"
#include "support/FakeWindow.h"
#include "ui/CommandRunner.h"

// Every command that writes a file, against every way a write can be refused
// or broken off: the file keeps its bytes, Text1 keeps the user's text, the
// program goes on, and the user is told (except by the one command that never
// reports).
namespace quenlix {
namespace {

using testing::FakePlatform;
using testing::FakeWindow;

enum class Fault { AccessDenied, ReadOnly, DirectoryInTheWay, MissingFolder, TornWrite0, TornWrite1, TornWrite5 };

struct WritePath {
    const char* name;
    Command command;
    bool silent;
};

const WritePath WritePaths[] = {
    {"Command1", AsCommand<AppendAddressLine>(), true},
    {"Command2", AsCommand<AppendEntry>(), false},
    {"Command3", AsCommand<SaveHostsFile>(), false},
    {"Command5", AsCommand<AppendEntryUnlessDefined>(), false},
    {"Command6", AsCommand<RestoreDefaultHosts>(), false},
    {"Command14", AsCommand<BackUpHostsFile>(), false},
    {"Command15", AsCommand<RestoreHostsFromBackup>(), false},
    {"refresh creating the file", AsCommand<RefreshHostsFile>(), false},
};

void Inject(FakePlatform& platform, Fault fault, const std::vector<std::u16string>& paths, bool creating) {
    for (const auto& path : paths) {
        switch (fault) {
            case Fault::AccessDenied: platform.deniedPaths.push_back(path); break;
            case Fault::ReadOnly: if (platform.Has(path)) platform.File(path).readOnly = true; break;
            case Fault::DirectoryInTheWay:
                if (creating || !platform.Has(path)) platform.PutFile(path, "");
                platform.File(path).directory = true;
                platform.File(path).bytes.clear();
                break;
            case Fault::MissingFolder: platform.missingFolders.push_back(path.substr(0, path.rfind(u'\\'))); break;
            case Fault::TornWrite0: platform.writeBudget = 0; break;
            case Fault::TornWrite1: platform.writeBudget = 1; break;
            case Fault::TornWrite5: platform.writeBudget = 5; break;
        }
    }
}

TEST(InjectedFaultsTest, NoWritePathLosesAByteOrTheUsersText) {
    const std::string hostsBytes = "127.0.0.1 localhost\r\n0.0.0.0 ads.example\r\n";
    const std::string backupBytes = "# the previous backup\r\n";
    for (const WritePath& write : WritePaths) {
        for (int f = 0; f <= static_cast<int>(Fault::TornWrite5); ++f) {
            const auto fault = static_cast<Fault>(f);
            const bool creating = write.command == AsCommand<RefreshHostsFile>();
            if (creating && fault == Fault::ReadOnly) continue;  // no file yet to be read-only
            FakePlatform platform;
            FakeWindow window;
            const std::u16string hosts = HostsPath(platform);
            const std::u16string backup = BackupPath(platform);
            if (!creating) platform.PutFile(hosts, hostsBytes);
            platform.PutFile(backup, backupBytes);
            window.text(TextBox::HostsText) = u"unsaved edits";
            if (!creating) window.snapshot = SnapshotBuilder::Of(hostsBytes);  // Text1 came from this file
            window.text(TextBox::Address) = u"1.2.3.4";
            window.text(TextBox::HostName) = u"new.host";
            platform.answers = {Answer::Ok, Answer::Ok};
            // A missing folder or a directory in the way of the backup is a
            // fault of the backup's place; every other fault hits the file
            // the command writes.
            const bool backupWritten = write.command == AsCommand<BackUpHostsFile>();
            Inject(platform, fault, {backupWritten ? backup : hosts}, creating);
            const auto hostsBefore = platform.FileBytes(hosts);
            const auto backupBefore = platform.FileBytes(backup);

            RunCommand(write.command, window, platform);

            const std::string where = std::string(write.name) + ", fault " + std::to_string(f);
            EXPECT_EQ(platform.FileBytes(hosts), hostsBefore) << where;
            EXPECT_EQ(platform.FileBytes(backup), backupBefore) << where;
            EXPECT_EQ(window.text(TextBox::HostsText), u"unsaved edits") << where;
            EXPECT_FALSE(window.closed) << where;
            EXPECT_EQ(platform.openFiles, 0) << where;
            if (write.silent) {
                EXPECT_TRUE(platform.reported.empty() && platform.messages.empty()) << where;
            } else {
                EXPECT_FALSE(platform.reported.empty()) << where << ": the user must be told";
            }
        }
    }
}

}  // namespace
}  // namespace quenlix
