#include <gtest/gtest.h>

#include "commands/ElevatedWrite.h"
#include "hosts/HostsPaths.h"
#include "platform/FileAttribute.h"
#include "support/FakePlatform.h"

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
    };
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

}  // namespace
}  // namespace quenlix
