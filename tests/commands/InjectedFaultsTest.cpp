#include <gtest/gtest.h>

#include <algorithm>

#include "commands/BackupCommands.h"
#include "commands/ElevatedWrite.h"
#include "commands/EntryCommands.h"
#include "commands/HostsChange.h"
#include "commands/SaveCommands.h"
#include "commands/LoadCommands.h"
#include "commands/ResetCommand.h"
#include "hosts/HostsPaths.h"
#include "hosts/BusyRetry.h"
#include "hosts/HostsHistory.h"
#include "hosts/WriteJournal.h"
#include "platform/CommandLine.h"
#include "platform/FileAttribute.h"
#include "platform/MessageStyle.h"
#include "support/ElevatedInstanceStandIn.h"
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

// A read-only file whose attributes the user may not change either: the write
// cannot take the attribute off.
enum class Fault { AccessDenied, ReadOnlyAndLocked, DirectoryInTheWay, MissingFolder, TornWrite0, TornWrite1, TornWrite5 };

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
            case Fault::ReadOnlyAndLocked:
                if (platform.Has(path)) platform.File(path).readOnly = true;
                platform.attributeChangesAllowed = 0;
                break;
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

// The platform and window every write path starts from: a hosts file that
// the hosts text box was filled from (none for the create branch), a backup, an entry in
// the boxes, and OK to every question.
struct Arranged {
    FakePlatform platform;
    FakeWindow window;
    std::u16string hosts = HostsPath(platform);
    std::u16string backup = BackupPath(platform);

    Arranged(const WritePath& write, const std::string& hostsBytes) {
        const bool creating = write.command == AsCommand<RefreshHostsFile>();
        if (!creating) platform.PutFile(hosts, hostsBytes);
        platform.PutFile(backup, "# the previous backup\r\n");
        window.text(TextBox::HostsText) = u"unsaved edits";
        window.modified = true;
        if (!creating) window.snapshot = SnapshotBuilder::Of(hostsBytes);
        window.text(TextBox::Address) = u"1.2.3.4";
        window.text(TextBox::HostName) = u"new.host";
        platform.answers = {Answer::Ok, Answer::Ok};
    }
};

TEST(InjectedFaultsTest, NoWritePathLosesAByteOrTheUsersText) {
    const std::string hostsBytes = "127.0.0.1 localhost\r\n0.0.0.0 ads.example\r\n";
    const std::string backupBytes = "# the previous backup\r\n";
    for (const WritePath& write : WritePaths) {
        for (int f = 0; f <= static_cast<int>(Fault::TornWrite5); ++f) {
            const auto fault = static_cast<Fault>(f);
            const bool creating = write.command == AsCommand<RefreshHostsFile>();
            if (creating && fault == Fault::ReadOnlyAndLocked) continue;  // no file yet to be read-only
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
            EXPECT_EQ(platform.dnsCacheFlushes, 0) << where << ": nothing changed, nothing to flush";
            EXPECT_FALSE(platform.Has(WriteJournalPath(platform))) << where << ": an undone write needs no recovery";
            if (write.silent) {
                EXPECT_TRUE(platform.reported.empty() && platform.messages.empty()) << where;
            } else {
                EXPECT_FALSE(platform.reported.empty()) << where << ": the user must be told";
            }
        }
    }
}

// The DNS Client and virus scanners hold the hosts file for a moment: every
// command that writes it waits and then writes as it would have, and one held
// for good is reported, after two seconds of growing waits, as a file that
// another program uses, with the file as it was.
// Before every change the bytes the hosts file held go to the history, and
// the journal of the write is gone once it is flushed; a copy that cannot be
// kept is a question, whose safe answer writes nothing.
TEST(InjectedFaultsTest, EveryWritePathKeepsWhatTheFileHeldOrAsksFirst) {
    const std::string hostsBytes = "127.0.0.1 localhost\r\n0.0.0.0 ads.example\r\n";
    enum class Copy { Kept, DiskFull, NoProfileAnsweredNo, NoProfileAnsweredYes };
    for (const WritePath& write : WritePaths) {
        if (write.command == AsCommand<BackUpHostsFile>()) continue;  // writes the backup, not the hosts file
        const bool creating = write.command == AsCommand<RefreshHostsFile>();
        for (int c = 0; c <= static_cast<int>(Copy::NoProfileAnsweredYes); ++c) {
            const auto copy = static_cast<Copy>(c);
            const std::string where = std::string(write.name) + ", case " + std::to_string(c);
            Arranged arranged(write, hostsBytes);
            FakePlatform& platform = arranged.platform;
            const std::u16string history = HistoryFolder(platform);
            std::u16string question;
            if (copy == Copy::DiskFull) {
                platform.ownFilesFail = true;
                question = u"无法保存 Hosts 文件当前内容的历史副本（错误 112：磁盘空间不足。）。\n\n"
                           u"是否在没有副本的情况下仍然修改 Hosts 文件？";
            } else if (copy != Copy::Kept) {
                platform.missingFolders = {platform.localAppDataDirectory};
                question = u"无法保存 Hosts 文件当前内容的历史副本（错误 3：系统找不到指定的路径。）。\n\n"
                           u"是否在没有副本的情况下仍然修改 Hosts 文件？";
            }
            if (!question.empty())
                platform.answersByPrompt[question] = copy == Copy::NoProfileAnsweredYes ? Answer::Yes : Answer::No;

            RunCommand(write.command, arranged.window, platform);

            EXPECT_TRUE(platform.reported.empty()) << where;
            EXPECT_FALSE(platform.Has(WriteJournalPath(platform))) << where;
            const bool asked = !question.empty();
            const auto found = std::find_if(platform.messages.begin(), platform.messages.end(),
                                            [&](const auto& message) { return message.prompt == question; });
            ASSERT_EQ(found != platform.messages.end(), asked) << where;
            if (asked) {
                EXPECT_EQ(found->style, Mb::YesNo | Mb::IconWarning | Mb::DefaultButton2) << where;
                EXPECT_EQ(found->title, u"提示") << where;
            }
            const bool written = copy != Copy::DiskFull && copy != Copy::NoProfileAnsweredNo;
            if (creating) {
                // A missing file has nothing to keep; its journal is what
                // cannot be written here.
                EXPECT_EQ(platform.Has(arranged.hosts), written) << where;
                EXPECT_TRUE(platform.FilesInFolder(history).empty()) << where;
                continue;
            }
            EXPECT_EQ(platform.FileBytes(arranged.hosts) != hostsBytes, written) << where;
            if (copy == Copy::Kept) {
                ASSERT_EQ(platform.FilesInFolder(history).size(), 1u) << where;
                EXPECT_EQ(platform.FileBytes(history + u"\\hosts_2026-12-07_18-30-12.txt"), hostsBytes) << where;
            }
        }
    }
}

TEST(InjectedFaultsTest, AHostsFileBusyForAMomentIsWaitedForAndOneBusyForGoodIsReported) {
    using namespace std::chrono_literals;
    const std::string hostsBytes = "127.0.0.1 localhost\r\n";
    struct Busy {
        const char* name;
        std::chrono::milliseconds openFor, writesFor;
        std::uint32_t failure;
    };
    const Busy holds[] = {
        {"held open for 500 ms", 500ms, 0ms, FailureNumber::SharingViolation},
        {"locked for 500 ms", 500ms, 0ms, FailureNumber::LockViolation},
        {"writes locked for 500 ms", 0ms, 500ms, FailureNumber::LockViolation},
        {"held open for 5 s", 5000ms, 0ms, FailureNumber::SharingViolation},
        {"writes locked for 5 s", 0ms, 5000ms, FailureNumber::LockViolation},
    };
    for (const WritePath& write : WritePaths) {
        if (write.command == AsCommand<BackUpHostsFile>()) continue;  // writes the backup, not the hosts file
        Arranged undisturbed(write, hostsBytes);
        RunCommand(write.command, undisturbed.window, undisturbed.platform);
        ASSERT_TRUE(undisturbed.platform.reported.empty()) << write.name;

        for (const Busy& hold : holds) {
            const std::string where = std::string(write.name) + ", " + hold.name;
            Arranged arranged(write, hostsBytes);
            FakePlatform& platform = arranged.platform;
            platform.busyPaths = {arranged.hosts};
            platform.busyFor = hold.openFor;
            platform.busyFailure = hold.failure;
            platform.writesLockedFor = hold.writesFor;
            const auto before = platform.FileBytes(arranged.hosts);

            RunCommand(write.command, arranged.window, platform);

            const bool released = hold.openFor + hold.writesFor < BusyFileBudget;
            EXPECT_LE(platform.Paused(), BusyFileBudget) << where;
            for (std::size_t i = 1; i + 1 < platform.pauses.size(); ++i)
                EXPECT_GT(platform.pauses[i], platform.pauses[i - 1]) << where << ": the waits grow";
            EXPECT_EQ(platform.openFiles, 0) << where;
            if (released) {
                EXPECT_EQ(arranged.window.text(TextBox::HostsText), undisturbed.window.text(TextBox::HostsText)) << where;
                EXPECT_EQ(platform.FileBytes(arranged.hosts), undisturbed.platform.FileBytes(undisturbed.hosts))
                    << where;
                EXPECT_TRUE(platform.reported.empty()) << where;
                EXPECT_EQ(arranged.window.modified, undisturbed.window.modified) << where;
                EXPECT_EQ(platform.dnsCacheFlushes, 1) << where;
                continue;
            }
            EXPECT_EQ(platform.FileBytes(arranged.hosts), before) << where;
            EXPECT_EQ(platform.dnsCacheFlushes, 0) << where;
            EXPECT_EQ(arranged.window.text(TextBox::HostsText), u"unsaved edits") << where;
            EXPECT_EQ(platform.Paused(), BusyFileBudget) << where;
            if (write.silent) {
                EXPECT_TRUE(platform.reported.empty()) << where;
                continue;
            }
            ASSERT_EQ(platform.reported.size(), 1u) << where;
            EXPECT_EQ(platform.reported[0].Number(), hold.failure) << where;
            EXPECT_EQ(platform.reported[0].Description().find(u"另一个程序正在使用 Hosts 文件"), 0u) << where;
        }
    }
}

// Security tools make the hosts file read-only to guard it, and it may be
// hidden or a system file: every command that writes it takes those
// attributes off for the write and gives them back right after, read-only
// last and on its own. Where they cannot be given back, the user hears so
// and the write stands.
TEST(InjectedFaultsTest, AGuardedHostsFileIsWrittenAndKeepsItsAttributes) {
    const std::string hostsBytes = "127.0.0.1 localhost\r\n";
    for (const WritePath& write : WritePaths) {
        if (write.command == AsCommand<BackUpHostsFile>() || write.command == AsCommand<RefreshHostsFile>())
            continue;  // the one writes the backup, the other a file that was not there
        Arranged undisturbed(write, hostsBytes);
        RunCommand(write.command, undisturbed.window, undisturbed.platform);

        for (const std::uint32_t guard : {FileAttribute::ReadOnly, FileAttribute::Hidden | FileAttribute::System,
                                          FileAttribute::ReadOnly | FileAttribute::Hidden | FileAttribute::System}) {
            for (const bool restoreFails : {false, true}) {
                const std::string where = std::string(write.name) + ", attributes " + std::to_string(guard) +
                                          (restoreFails ? ", not restored" : "");
                Arranged arranged(write, hostsBytes);
                FakePlatform& platform = arranged.platform;
                platform.ChangeFileAttributes(arranged.hosts, guard);
                platform.attributeChanges.clear();
                if (restoreFails) platform.attributeChangesAllowed = 1;  // taking them off, no more

                RunCommand(write.command, arranged.window, platform);

                EXPECT_EQ(platform.FileBytes(arranged.hosts), undisturbed.platform.FileBytes(undisturbed.hosts))
                    << where;
                EXPECT_EQ(arranged.window.modified, undisturbed.window.modified) << where;
                EXPECT_TRUE(platform.reported.empty()) << where;
                EXPECT_EQ(platform.dnsCacheFlushes, 1) << where << ": the write stands and takes effect";
                ASSERT_FALSE(platform.attributeChanges.empty()) << where;
                EXPECT_EQ(platform.attributeChanges[0], 0u) << where << ": taken off for the write";
                const auto warnings = std::count_if(platform.messages.begin(), platform.messages.end(), [](auto& m) {
                    return m.prompt.find(u"未能恢复它原有的只读、隐藏或系统属性") != std::u16string::npos;
                });
                if (restoreFails) {
                    EXPECT_EQ(warnings, write.silent ? 0 : 1) << where;
                    continue;
                }
                EXPECT_EQ(warnings, 0) << where;
                EXPECT_EQ(platform.FileAttributesOf(arranged.hosts), guard) << where;
                // Read-only is set only where hidden and system are set already.
                for (std::size_t i = 1; i < platform.attributeChanges.size(); ++i) {
                    const std::uint32_t change = platform.attributeChanges[i];
                    if ((change & FileAttribute::ReadOnly) != 0 && (guard & ~FileAttribute::ReadOnly) != 0) {
                        EXPECT_EQ(platform.attributeChanges[i - 1], guard & ~FileAttribute::ReadOnly) << where;
                    }
                }
            }
        }
    }
}

// Security tools put a hosts file that maps the names they guard back at
// once. Every command that writes the file reads it back right after: one
// that does not hold what was written is no success. The user is warned,
// the hosts text stays unsaved and the window keeps what it knew of the file.
TEST(InjectedFaultsTest, AWriteThatAnotherProgramUndoesAtOnceIsNoSuccess) {
    const std::string hostsBytes = "127.0.0.1 localhost\r\n";
    const std::u16string warning = u"Hosts 文件写入后被其他程序改动（可能是安全软件），当前内容与保存的内容不一致。";
    const std::u16string unchecked = u"Hosts 文件已写入，但无法核对（错误 5：拒绝访问。）：读回文件时失败。";
    // Put back or removed at once; or refused to readers for good, or only
    // until the user has read the warning: written, but not checked.
    enum class After { PutBack, Removed, Unreadable, UnreadableForAMoment };
    for (const WritePath& write : WritePaths) {
        if (write.command == AsCommand<BackUpHostsFile>()) continue;  // writes the backup, not the hosts file
        for (int a = 0; a <= static_cast<int>(After::UnreadableForAMoment); ++a) {
            const auto after = static_cast<After>(a);
            const bool removed = after == After::Removed;
            const bool unreadable = after == After::Unreadable || after == After::UnreadableForAMoment;
            const std::string where = std::string(write.name) + ", case " + std::to_string(a);
            Arranged arranged(write, hostsBytes);
            FakePlatform& platform = arranged.platform;
            const auto snapshotBefore = arranged.window.snapshot;
            platform.afterWrittenFileCloses = [&](const std::u16string& path) {
                if (removed)
                    platform.RemoveFile(path);
                else if (unreadable)
                    platform.deniedPaths = {path};
                else
                    platform.PutFile(path, "127.0.0.1 localhost\r\n# put back by a security tool\r\n");
            };
            if (after == After::UnreadableForAMoment) platform.whileAsking = [&] { platform.deniedPaths.clear(); };

            RunCommand(write.command, arranged.window, platform);

            // (A created file that is gone at once, or cannot be read, cannot
            // be shown: that load fails, and says so.)
            if (!((removed || unreadable) && write.command == AsCommand<RefreshHostsFile>())) {
                EXPECT_TRUE(platform.reported.empty()) << where << ": the write itself went through";
            }
            EXPECT_EQ(platform.dnsCacheFlushes, 1) << where;
            const auto warned = std::count_if(platform.messages.begin(), platform.messages.end(),
                                              [&](auto& m) { return m.prompt == (unreadable ? unchecked : warning); });
            EXPECT_EQ(warned, write.silent ? 0 : 1) << where;
            for (const auto& message : platform.messages)
                EXPECT_EQ(message.prompt.find(u"成功"), std::u16string::npos) << where << ": no success is claimed";
            if (write.command == AsCommand<SaveHostsFile>()) {
                const bool saved = after == After::UnreadableForAMoment;
                EXPECT_EQ(arranged.window.modified, !saved) << where << ": saved once the file shows the text";
                if (!saved) {
                    EXPECT_EQ(arranged.window.snapshot, snapshotBefore) << where;
                }
                EXPECT_EQ(arranged.window.text(TextBox::HostsText), u"unsaved edits") << where;
            }
        }
    }
}

// A user without administrator rights whose write the hosts file refuses is
// asked whether to make this one change with administrator rights; a
// process that has them is refused as before. What follows the question, in
// every command that writes the file, with a stand-in for the elevated
// launcher that runs the second instance's own code on the same files.
TEST(InjectedFaultsTest, ARefusedWriteIsOfferedToAnInstanceWithAdministratorRights) {
    const std::string hostsBytes = "127.0.0.1 localhost\r\n";
    const std::u16string changedMeanwhile = u"Hosts 文件在这期间被其他程序改动，这次修改没有写入，Hosts 文件保持原样。";
    enum class Then { RefusedWithRights, No, Yes, Declined, ChangedMeanwhile, StagedAltered, InstanceFails, RunsOn };
    for (const WritePath& write : WritePaths) {
        // The backup is no hosts file; a missing one is created only with rights.
        if (write.command == AsCommand<BackUpHostsFile>() || write.command == AsCommand<RefreshHostsFile>()) continue;
        Arranged undisturbed(write, hostsBytes);
        RunCommand(write.command, undisturbed.window, undisturbed.platform);

        for (int t = 0; t <= static_cast<int>(Then::RunsOn); ++t) {
            const auto then = static_cast<Then>(t);
            const std::string where = std::string(write.name) + ", case " + std::to_string(t);
            Arranged arranged(write, hostsBytes);
            FakePlatform& platform = arranged.platform;
            const std::u16string hosts = arranged.hosts;
            platform.writeDeniedPaths = {hosts};
            platform.administrator = then == Then::RefusedWithRights;
            platform.answersByPrompt = {{std::u16string(ElevationQuestion), then == Then::No ? Answer::No : Answer::Yes}};
            const std::u16string staging = platform.localAppDataDirectory + u"\\Quenlix";
            switch (then) {
                case Then::Declined: platform.elevatedInstance = testing::DeclinedByTheUser(); break;
                case Then::ChangedMeanwhile:
                    platform.elevatedInstance = testing::SecondInstanceHere(
                        platform, [&] { platform.PutFile(hosts, "127.0.0.1 changed.by.another.program\r\n"); });
                    break;
                case Then::StagedAltered:
                    platform.elevatedInstance = testing::SecondInstanceHere(platform, [&] {
                        for (const FolderEntry& file : platform.FilesInFolder(staging))
                            if (file.name.starts_with(u"staged-")) platform.File(staging + u"\\" + file.name).bytes += "# more";
                    });
                    break;
                case Then::InstanceFails: platform.elevatedInstance = [](auto) { return ProgramExit(5u); }; break;
                case Then::RunsOn: platform.elevatedInstance = [](auto) { return ProgramExit(); }; break;
                default: platform.elevatedInstance = testing::SecondInstanceHere(platform); break;
            }
            const auto before = platform.FileBytes(hosts);
            const std::size_t messagesBefore = write.command == AsCommand<RestoreDefaultHosts>() ? 1 : 0;

            RunCommand(write.command, arranged.window, platform);

            // The staged file goes; the journal too, unless the second
            // instance may still be writing.
            std::vector<std::u16string> left;
            for (const FolderEntry& file : platform.FilesInFolder(staging)) left.push_back(file.name);
            EXPECT_EQ(left, then == Then::RunsOn ? std::vector<std::u16string>{u"hosts-write.journal"}
                                                 : std::vector<std::u16string>{})
                << where;
            const bool asked = then != Then::RefusedWithRights;
            // This process keeps the history copy, in the user's own profile,
            // before it hands the write on.
            const bool handedOn = asked && then != Then::No;
            EXPECT_EQ(platform.FilesInFolder(HistoryFolder(platform)).size(), handedOn ? 1u : 0u) << where;
            if (handedOn) {
                EXPECT_EQ(platform.FileBytes(HistoryFolder(platform) + u"\\hosts_2026-12-07_18-30-12.txt"), hostsBytes)
                    << where;
            }
            EXPECT_EQ(platform.openFiles, 0) << where;
            ASSERT_EQ(platform.messages.size() > messagesBefore, asked) << where;
            if (asked) {
                EXPECT_EQ(platform.messages[messagesBefore].prompt,
                          u"没有写入 Hosts 文件的权限。\n\n是否以管理员身份完成这次修改？（Windows 将请求确认）");
                EXPECT_EQ(platform.messages[messagesBefore].style, Mb::YesNo | Mb::IconQuestion) << where;
                EXPECT_EQ(platform.messages[messagesBefore].title, u"提示") << where;
            }
            EXPECT_EQ(platform.elevatedRuns.size(), asked && then != Then::No ? 1u : 0u) << where;

            if (then == Then::Yes) {
                // Then exactly as after a write of its own.
                EXPECT_EQ(platform.FileBytes(hosts), undisturbed.platform.FileBytes(undisturbed.hosts)) << where;
                EXPECT_EQ(arranged.window.modified, undisturbed.window.modified) << where;
                EXPECT_EQ(arranged.window.snapshot, undisturbed.window.snapshot) << where;
                EXPECT_TRUE(platform.reported.empty()) << where;
                EXPECT_EQ(platform.dnsCacheFlushes, 1) << where << ": the second instance flushed the cache";
                std::vector<std::u16string> shown;
                for (std::size_t i = 0; i < platform.messages.size(); ++i)
                    if (i != messagesBefore) shown.push_back(platform.messages[i].prompt);
                std::vector<std::u16string> expected;
                for (const auto& message : undisturbed.platform.messages) expected.push_back(message.prompt);
                EXPECT_EQ(shown, expected) << where << ": the command's own messages, as after its own write";
                ASSERT_EQ(platform.elevatedRuns.size(), 1u);
                const auto arguments = ArgumentsAfterProgram(u"Quenlix.exe " + platform.elevatedRuns[0]);
                ASSERT_EQ(arguments.size(), 4u) << where;
                EXPECT_EQ(arguments[0], StagedWriteSwitch);
                EXPECT_EQ(arguments[1].rfind(staging + u"\\", 0), 0u) << where;
                EXPECT_EQ(arguments[3], HexDigits(platform.Sha256(hostsBytes))) << where << ": what is on disk now";
                continue;
            }
            // Nothing written, and the hosts text as the user left it.
            if (then != Then::ChangedMeanwhile) {
                EXPECT_EQ(platform.FileBytes(hosts), before) << where;
            }
            EXPECT_EQ(arranged.window.text(TextBox::HostsText), u"unsaved edits") << where;
            EXPECT_TRUE(arranged.window.modified) << where;
            EXPECT_EQ(platform.dnsCacheFlushes, 0) << where;
            const std::size_t shown = platform.messages.size() - messagesBefore;
            switch (then) {
                case Then::RefusedWithRights:
                    EXPECT_EQ(platform.reported.size(), write.silent ? 0u : 1u) << where;
                    if (!write.silent) {
                        EXPECT_EQ(platform.reported[0].Number(), FailureNumber::AccessDenied) << where;
                    }
                    break;
                case Then::No:
                case Then::Declined:
                    EXPECT_EQ(shown, 1u) << where << ": the question said why";
                    EXPECT_TRUE(platform.reported.empty()) << where;
                    break;
                case Then::ChangedMeanwhile:
                    EXPECT_EQ(platform.FileBytes(hosts), "127.0.0.1 changed.by.another.program\r\n") << where;
                    EXPECT_TRUE(platform.reported.empty()) << where;
                    EXPECT_EQ(shown, write.silent ? 1u : 2u) << where;
                    if (!write.silent) {
                        EXPECT_EQ(platform.messages.back().prompt, changedMeanwhile) << where;
                    }
                    break;
                default: {
                    const std::uint32_t number = then == Then::StagedAltered   ? FailureNumber::InvalidData
                                                 : then == Then::InstanceFails ? FailureNumber::AccessDenied
                                                                               : FailureNumber::Timeout;
                    EXPECT_EQ(shown, 1u) << where;
                    ASSERT_EQ(platform.reported.size(), write.silent ? 0u : 1u) << where;
                    if (write.silent) break;
                    EXPECT_EQ(platform.reported[0].Number(), number) << where;
                    if (then == Then::InstanceFails) {
                        EXPECT_EQ(platform.reported[0].Description(), u"系统错误 5");
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace quenlix
