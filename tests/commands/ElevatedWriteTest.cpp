#include <gtest/gtest.h>

#include "commands/ElevatedWrite.h"
#include "hosts/HostsPaths.h"
#include "platform/FileAttribute.h"
#include "commands/HostsChange.h"
#include "hosts/WriteJournal.h"
#include "support/ElevatedInstanceStandIn.h"
#include "support/FakePlatform.h"
#include "support/FakeWindow.h"
#include "ui/CommandRunner.h"

// The second instance, run with administrator rights on a command line that
// anyone could have written: it writes the hosts file only from a staged file
// whose digest it is told, only over the bytes it is told to expect, and
// shows nothing whatever happens.
namespace quenlix {
namespace {

using testing::FakePlatform;

struct StagedWriteTest : ::testing::Test {
    static constexpr std::u16string_view Staged = u"C:\\Users\\user\\AppData\\Local\\Quenlix\\staged-1.hosts";
    const std::string onDisk = "127.0.0.1 localhost\r\n";
    const std::string content = "127.0.0.1 localhost\r\n0.0.0.0 ads.example\r\n";

    StagedWriteTest() {
        platform.PutFile(hosts, onDisk);
        platform.PutFile(Staged, content);
    }

    std::vector<std::u16string> Arguments() {
        return {std::u16string(StagedWriteSwitch), std::u16string(Staged), HexDigits(platform.Sha256(content)),
                HexDigits(platform.Sha256(onDisk))};
    }
    std::uint32_t Run(const std::vector<std::u16string>& arguments) {
        const std::uint32_t code = RunStagedWrite(platform, arguments);
        EXPECT_TRUE(platform.messages.empty()) << "the second instance shows nothing";
        EXPECT_TRUE(platform.reported.empty()) << "the second instance shows nothing";
        EXPECT_EQ(platform.openFiles, 0);
        return code;
    }

    FakePlatform platform;
    const std::u16string hosts = HostsPath(platform);
};

// Nothing but the one command line, exactly: no general-purpose writer with
// administrator rights.
TEST_F(StagedWriteTest, AnyOtherCommandLineWritesNothing) {
    const auto good = Arguments();
    std::u16string upper = good[2];
    for (char16_t& c : upper) c = c >= u'a' && c <= u'f' ? c - 32 : c;
    const std::vector<std::vector<std::u16string>> wrong = {
        {good[0]},
        {good[0], good[1], good[2]},
        {good[0], good[1], good[2], good[3], u"extra"},
        {u"/WRITE-STAGED-HOSTS", good[1], good[2], good[3]},
        {u"/write-staged", good[1], good[2], good[3]},
        {good[1], good[0], good[2], good[3]},
        {good[0], u"staged-1.hosts", good[2], good[3]},
        {good[0], u"..\\staged-1.hosts", good[2], good[3]},
        {good[0], good[1], upper, good[3]},
        {good[0], good[1], good[2].substr(1), good[3]},
        {good[0], good[1], good[2], good[3] + u"0"},
        {good[0], good[1], good[2], u"C:\\Windows\\System32\\drivers\\etc\\hosts"},
        // Only a file on a local fixed disk: no pipe, share or mapped drive.
        {good[0], u"\\\\.\\pipe\\x", good[2], good[3]},
        {good[0], u"\\\\server\\share\\staged-1.hosts", good[2], good[3]},
        {good[0], u"\\\\?\\UNC\\server\\share\\staged-1.hosts", good[2], good[3]},
        {good[0], u"Z:\\staged-1.hosts", good[2], good[3]},
    };
    platform.notFixedDrives = {u"Z:"};
    platform.PutFile(u"Z:\\staged-1.hosts", content);
    for (const auto& arguments : wrong) {
        EXPECT_EQ(Run(arguments), FailureNumber::InvalidParameter) << arguments.size();
        EXPECT_EQ(platform.FileBytes(hosts), onDisk);
    }
    EXPECT_EQ(platform.dnsCacheFlushes, 0);
    EXPECT_TRUE(platform.attributeChanges.empty());
}

// A staged file altered after its digest was taken, or swapped digests,
// write nothing; nor does a hosts file that changed since the first instance
// read it, which the exit code of its own tells.
TEST_F(StagedWriteTest, WritesOnlyTheContentWhoseDigestItIsToldOverTheBytesItExpects) {
    const auto good = Arguments();
    platform.File(Staged).bytes += "# appended after staging\r\n";
    EXPECT_EQ(Run(good), FailureNumber::InvalidData);
    EXPECT_EQ(platform.FileBytes(hosts), onDisk);

    platform.PutFile(Staged, content);
    EXPECT_EQ(Run({good[0], good[1], good[3], good[2]}), FailureNumber::InvalidData);
    EXPECT_EQ(platform.FileBytes(hosts), onDisk);

    platform.PutFile(hosts, "127.0.0.1 changed\r\n");
    EXPECT_EQ(Run(good), StagedWriteExit::FileChanged);
    EXPECT_EQ(platform.FileBytes(hosts), "127.0.0.1 changed\r\n");

    platform.RemoveFile(Staged);
    EXPECT_EQ(Run(good), FailureNumber::FileNotFound);
    EXPECT_EQ(platform.dnsCacheFlushes, 0);
}

// The second instance's own write is the same careful one: a missing file
// is created, a refusal or a busy file ends in its Win32 error, and what the
// first instance must tell the user comes back in the exit code.
TEST_F(StagedWriteTest, ItsWriteIsTheOneWriteAndItsOutcomeTheExitCode) {
    EXPECT_EQ(Run(Arguments()), 0u);
    EXPECT_EQ(platform.FileBytes(hosts), content);
    EXPECT_EQ(platform.dnsCacheFlushes, 1);
    EXPECT_EQ(platform.FileBytes(Staged), content) << "the first instance removes what it staged";

    platform.RemoveFile(hosts);
    const std::vector<std::u16string> overNothing = {Arguments()[0], Arguments()[1], Arguments()[2],
                                                     HexDigits(platform.Sha256(""))};
    EXPECT_EQ(Run(overNothing), 0u);
    EXPECT_EQ(platform.FileBytes(hosts), content);

    platform.PutFile(hosts, onDisk);
    platform.writeDeniedPaths = {hosts};
    EXPECT_EQ(Run(Arguments()), FailureNumber::AccessDenied);
    platform.writeDeniedPaths.clear();
    platform.busyPaths = {hosts};
    platform.busyFor = std::chrono::seconds(5);
    EXPECT_EQ(Run(Arguments()), FailureNumber::SharingViolation);
    platform.busyPaths.clear();
    EXPECT_EQ(platform.FileBytes(hosts), onDisk);

    platform.ChangeFileAttributes(hosts, FileAttribute::ReadOnly | FileAttribute::Hidden);
    platform.attributeChangesAllowed = 1;
    platform.afterWrittenFileCloses = [&](const std::u16string& path) { platform.PutFile(path, "put back\r\n"); };
    EXPECT_EQ(Run(Arguments()), StagedWriteExit::WrittenWithWarnings | StagedWriteExit::ReadBackDiffers |
                                    StagedWriteExit::AttributesNotRestored);
}

// The first instance holds the journal for the whole wait: a second start
// meanwhile, and a write of its own, leave it be. A second instance still
// running when the wait ends is never ended, and its journal stays for the
// next start. A data folder on a share hands nothing over.
TEST(ElevatedWriteTest, TheJournalOfAPendingHandOffIsHeldAndKept) {
    FakePlatform platform;
    const std::u16string hosts = HostsPath(platform);
    const std::string before = "127.0.0.1 localhost\r\n";
    platform.PutFile(hosts, before);
    platform.administrator = false;
    platform.writeDeniedPaths = {hosts};
    platform.answersByPrompt = {{std::u16string(ElevationQuestion), Answer::Yes}};
    bool journalKept = false;
    platform.elevatedInstance = testing::SecondInstanceHere(platform, [&] {
        testing::FakeWindow second;
        EXPECT_EQ(RunStartup(second, platform), StartupOutcome::ShowWindow);
        RemoveWriteJournal(platform);
        journalKept = platform.Has(WriteJournalPath(platform));
    });
    ChangeHostsFile(platform, WholeContent("0.0.0.0 written\r\n"));
    EXPECT_TRUE(journalKept) << "the second start left the pending write's journal";
    EXPECT_EQ(platform.FileBytes(hosts), "0.0.0.0 written\r\n");
    EXPECT_FALSE(platform.Has(WriteJournalPath(platform))) << "and it goes once the write is done";

    platform.elevatedInstance = [](std::u16string_view) -> ProgramExit { return std::nullopt; };
    EXPECT_THROW(
        try { ChangeHostsFile(platform, WholeContent("0.0.0.0 still running\r\n")); } catch (const Failure& failure) {
            EXPECT_EQ(failure.Number(), FailureNumber::Timeout);
            EXPECT_NE(failure.Description().find(u"下次启动 Quenlix 时会检查"), std::u16string::npos);
            throw;
        },
        Failure);
    EXPECT_TRUE(platform.Has(WriteJournalPath(platform))) << "the outcome is not known yet";
    EXPECT_NO_THROW(platform.RemoveFile(WriteJournalPath(platform))) << "and no longer held";

    platform.notFixedDrives = {u"C:"};
    EXPECT_THROW(ChangeHostsFile(platform, WholeContent("0.0.0.0 from a share\r\n")), Failure);
    EXPECT_EQ(platform.elevatedRuns.size(), 2u) << "nothing staged on a share";
}

}  // namespace
}  // namespace quenlix
