#include <gtest/gtest.h>

#include "commands/EntryCommands.h"
#include "commands/HostsChange.h"
#include "commands/SaveCommands.h"
#include "commands/WriteRecovery.h"
#include "hosts/CutOffWrite.h"
#include "hosts/HostsHistory.h"
#include "hosts/HostsPaths.h"
#include "hosts/SafeWrite.h"
#include "hosts/WriteJournal.h"
#include "platform/MessageStyle.h"
#include "support/ElevatedInstanceStandIn.h"
#include "support/FakePlatform.h"
#include "support/FakeWindow.h"
#include "ui/CommandRunner.h"

// A write of the hosts file cut off by a crash or a power cut, and the next
// start of the program: it finds the torn file by its journal, asks, and puts
// back the bytes from before the write, or leaves the file as it is.
namespace quenlix {
namespace {

using testing::FakePlatform;
using testing::FakeWindow;
using testing::SessionEnds;

const std::string OldBytes = "127.0.0.1 localhost\r\n0.0.0.0 ads.example\r\n";

WriteJournal JournalOf(std::u16string copy, std::string_view before, std::string_view after) {
    return {std::move(copy), SnapshotBuilder::Of(before), SnapshotBuilder::Of(after), PieceHashes(after, {})};
}

// What a write of `after` over `before` leaves when cut off after `written`
// of its bytes: grown first, then written from the start.
std::string CutOff(std::string before, std::string_view after, std::size_t written) {
    before.resize(std::max(before.size(), after.size()), '\0');
    return before.replace(0, written, after.substr(0, written));
}

// The program starts afresh on the platform's files, answering the cut-off
// question with `answer`.
FakeWindow StartAgain(FakePlatform& platform, int answer) {
    platform.messages.clear();
    platform.answers = {answer};
    FakeWindow window;
    EXPECT_EQ(RunStartup(window, platform), StartupOutcome::ShowWindow);
    return window;
}

bool AskedCutOffQuestion(const FakePlatform& platform) {
    for (const auto& message : platform.messages)
        if (message.prompt.starts_with(CutOffWriteNotice) && message.style != (Mb::Ok | Mb::IconWarning)) {
            EXPECT_EQ(message.style, Mb::YesNo | Mb::IconWarning);
            EXPECT_EQ(message.title, u"提示");
            return true;
        }
    return false;
}

// A save (the whole file, longer and shorter than before) and an append
// (only the end), cut off after every number of bytes from none to all.
TEST(WriteRecoveryTest, AWriteCutOffAfterAnyByteIsOfferedBackAtTheNextStart) {
    struct Write {
        const char* name;
        Command command;
        std::u16string text1;
    };
    const Write writes[] = {
        {"a longer save", AsCommand<SaveHostsFile>(), u"127.0.0.1 localhost\r\n0.0.0.0 tracker.example\r\n# mine\r\n"},
        {"a shorter save", AsCommand<SaveHostsFile>(), u"# cleared\r\n"},
        {"an append", AsCommand<AppendEntry>(), u""},
    };
    for (const Write& write : writes) {
        // The bytes the command writes, as an uninterrupted run gives them.
        FakePlatform whole;
        FakeWindow wholeWindow;
        whole.PutFile(HostsPath(whole), OldBytes);
        wholeWindow.text(TextBox::HostsText) = write.text1;
        wholeWindow.snapshot = SnapshotBuilder::Of(OldBytes);  // Text1 came from this file
        wholeWindow.modified = true;
        wholeWindow.text(TextBox::Address) = u"1.2.3.4";
        wholeWindow.text(TextBox::HostName) = u"new.host";
        RunCommand(write.command, wholeWindow, whole);
        const std::string newBytes = *whole.FileBytes(HostsPath(whole));
        ASSERT_NE(newBytes, OldBytes);

        for (std::uint64_t k = 0; k <= newBytes.size(); ++k) {
            for (const int answer : {Answer::Yes, Answer::No}) {
                const std::string where = std::string(write.name) + ", cut off after " + std::to_string(k) +
                                          " bytes, answered " + std::to_string(answer);
                FakePlatform platform;
                FakeWindow window;
                const std::u16string hosts = HostsPath(platform);
                platform.PutFile(hosts, OldBytes);
                window.text(TextBox::HostsText) = write.text1;
                window.snapshot = SnapshotBuilder::Of(OldBytes);
                window.modified = true;
                window.text(TextBox::Address) = u"1.2.3.4";
                window.text(TextBox::HostName) = u"new.host";
                platform.sessionEndsAfter = k;
                bool cutOff = false;
                try {
                    write.command(window, platform);
                } catch (const SessionEnds&) {
                    cutOff = true;
                }
                platform.sessionEndsAfter.reset();
                const std::string torn = *platform.FileBytes(hosts);
                EXPECT_EQ(torn == newBytes, !cutOff) << where;
                EXPECT_EQ(platform.Has(WriteJournalPath(platform)), cutOff) << where;

                const FakeWindow restarted = StartAgain(platform, answer);

                const bool tornFile = torn != OldBytes && torn != newBytes;
                EXPECT_EQ(AskedCutOffQuestion(platform), tornFile) << where;
                EXPECT_FALSE(platform.Has(WriteJournalPath(platform))) << where << ": the journal goes either way";
                EXPECT_TRUE(platform.reported.empty()) << where;
                const std::string expected = tornFile && answer == Answer::Yes ? OldBytes : torn;
                EXPECT_EQ(platform.FileBytes(hosts), expected) << where;
                EXPECT_EQ(restarted.snapshot, SnapshotBuilder::Of(expected)) << where << ": then the load goes on";
                if (tornFile && answer == Answer::Yes) {
                    // The torn bytes were replaced too: they are in the history.
                    bool kept = false;
                    for (const FolderEntry& copy : platform.FilesInFolder(HistoryFolder(platform)))
                        kept = kept || platform.FileBytes(HistoryFolder(platform) + u"\\" + copy.name) == torn;
                    EXPECT_TRUE(kept) << where;
                }
            }
        }
    }
}

// Journals the program finds at its start that it must not ask about: a write
// that finished, one that never began, one it cannot read, one whose copy
// the user has removed since, one another program's change followed (a VPN
// client's line, or a copy planted to be "restored"), and one that another
// instance still holds.
TEST(WriteRecoveryTest, OnlyATornFileWithItsCopyIsOfferedBack) {
    const std::string newBytes = OldBytes + "1.2.3.4 new.host\r\n";
    const std::string tornBytes = CutOff(OldBytes, newBytes, OldBytes.size() + 5);
    enum class Found {
        Finished, NeverBegan, Garbage, CopyOutsideHistory, CopyRemoved, CopyChanged, OtherProgram, PlantedCopy, Held
    };
    for (int f = 0; f <= static_cast<int>(Found::Held); ++f) {
        const auto found = static_cast<Found>(f);
        const std::string where = "case " + std::to_string(f);
        FakePlatform platform;
        const std::u16string hosts = HostsPath(platform);
        const std::u16string copyName = HistoryCopyName(platform.localTime);
        const std::u16string copyPath = HistoryFolder(platform) + u"\\" + copyName;
        platform.PutFile(copyPath, OldBytes);
        WriteJournal journal = JournalOf(copyName, OldBytes, newBytes);
        std::string hostsNow = tornBytes;
        std::unique_ptr<WritableFile> held;
        std::string journalText;
        switch (found) {
            case Found::Finished: hostsNow = newBytes; break;
            case Found::NeverBegan: hostsNow = OldBytes; break;
            case Found::Garbage: journalText = "Quenlix hosts write journal\r\ncopy=\r\nbefore=zz\r\n"; break;
            case Found::CopyOutsideHistory: {
                journalText = WriteJournalText(journal);
                journalText.replace(journalText.find("hosts_"), 6, "..\\..\\hosts_");
                break;
            }
            case Found::CopyRemoved: platform.RemoveFile(copyPath); break;
            case Found::CopyChanged: platform.PutFile(copyPath, "# edited since\r\n"); break;
            case Found::OtherProgram: hostsNow = OldBytes + "10.8.0.1 vpn.corp\r\n"; break;
            case Found::PlantedCopy: {
                const std::string planted = "6.6.6.6 www.bank.example\r\n";
                platform.PutFile(copyPath, planted);
                journal = JournalOf(copyName, planted, newBytes);
                hostsNow = OldBytes;
                break;
            }
            case Found::Held: break;
        }
        platform.PutFile(hosts, hostsNow);
        platform.PutFile(WriteJournalPath(platform), journalText.empty() ? WriteJournalText(journal) : journalText);
        if (found == Found::Held) held = platform.OpenForWriting(WriteJournalPath(platform), Creation::OnlyExisting);

        const FakeWindow window = StartAgain(platform, Answer::Yes);

        EXPECT_FALSE(AskedCutOffQuestion(platform)) << where;
        EXPECT_EQ(platform.Has(WriteJournalPath(platform)), found == Found::Held) << where;
        EXPECT_EQ(platform.FileBytes(hosts), hostsNow) << where;
        const bool unreadable = found == Found::Garbage || found == Found::CopyOutsideHistory;
        const auto aside = platform.FileBytes(ProgramDataFolder(platform) + u"\\unreadable-journal_2026-12-07_18-30-12.txt");
        EXPECT_EQ(aside.has_value(), unreadable) << where << ": an unreadable journal is kept aside";
        const bool copyLost = found == Found::CopyRemoved || found == Found::CopyChanged;
        ASSERT_EQ(platform.messages.size(), copyLost ? 1u : 0u) << where;
        if (copyLost) {
            EXPECT_EQ(platform.messages[0].prompt, u"上次修改 Hosts 文件时程序意外中止，文件可能不完整。\n\n"
                                                   u"修改前内容的历史副本已不存在或已被改动，无法恢复。")
                << where;
        }
        EXPECT_EQ(window.snapshot, SnapshotBuilder::Of(hostsNow)) << where << ": the load goes on";
    }
}

// The restore is a write like any other: for a user without rights it asks
// for them and goes through the second instance, copy and all; and a save
// that changes no byte keeps no copy.
TEST(WriteRecoveryTest, TheRestoreAsksForRightsAndANoChangeSaveKeepsNoCopy) {
    FakePlatform platform;
    const std::u16string hosts = HostsPath(platform);
    const std::string newBytes = OldBytes + "1.2.3.4 new.host\r\n";
    const std::string torn = CutOff(OldBytes, newBytes, 4);
    const std::u16string copyName = HistoryCopyName({2026, 1, 1, 0, 0, 0});
    platform.PutFile(HistoryFolder(platform) + u"\\" + copyName, OldBytes);
    platform.PutFile(WriteJournalPath(platform), WriteJournalText(JournalOf(copyName, OldBytes, newBytes)));
    platform.PutFile(hosts, torn);
    platform.administrator = false;
    platform.writeDeniedPaths = {hosts};
    platform.elevatedInstance = testing::SecondInstanceHere(platform);
    platform.answersByPrompt = {{std::u16string(ElevationQuestion), Answer::Yes}};

    FakeWindow window = StartAgain(platform, Answer::Yes);

    EXPECT_TRUE(AskedCutOffQuestion(platform));
    EXPECT_EQ(platform.messages.at(0).prompt, u"上次修改 Hosts 文件时程序意外中止，文件可能不完整。\n\n"
                                              u"修改前的内容保存在 2026-01-01 00:00:00 的历史副本中，共 42 字节。"
                                              u"是否恢复为修改前的内容？");
    EXPECT_EQ(platform.elevatedRuns.size(), 1u);
    EXPECT_EQ(platform.FileBytes(hosts), OldBytes);
    EXPECT_EQ(window.snapshot, SnapshotBuilder::Of(OldBytes));
    EXPECT_FALSE(platform.Has(WriteJournalPath(platform)));
    EXPECT_EQ(platform.FilesInFolder(HistoryFolder(platform)).size(), 2u) << "the torn bytes are kept too";

    FakePlatform unchanged;
    FakeWindow loaded;
    unchanged.PutFile(HostsPath(unchanged), OldBytes);
    ASSERT_EQ(RunStartup(loaded, unchanged), StartupOutcome::ShowWindow);
    RunCommand(AsCommand<SaveHostsFile>(), loaded, unchanged);
    EXPECT_EQ(unchanged.FileBytes(HostsPath(unchanged)), OldBytes);
    EXPECT_TRUE(unchanged.FilesInFolder(HistoryFolder(unchanged)).empty());
    EXPECT_FALSE(unchanged.Has(WriteJournalPath(unchanged)));
}

}  // namespace
}  // namespace quenlix
