#include <gtest/gtest.h>

#include "hosts/HostsFileReader.h"
#include "hosts/HostsPaths.h"
#include "hosts/HostsStore.h"
#include "hosts/InPlaceWrite.h"
#include "hosts/SafeWrite.h"
#include "support/FakePlatform.h"
#include "support/ShippedWrites.h"

namespace quenlix {
namespace {

using testing::FakePlatform;

constexpr std::u16string_view Path = u"C:\\WINDOWS\\system32\\drivers\\etc\\hosts";

TEST(HostsPathTest, JoinsTheSystemsWindowsFolderAndTheFixedTail) {
    FakePlatform platform;
    platform.systemWindowsDirectory = u"E:\\Windows";
    EXPECT_EQ(HostsPath(platform), u"E:\\Windows\\system32\\drivers\\etc\\hosts");
}

TEST(ReadHostsFileTest, DecodesAndAppliesTheLineRule) {
    FakePlatform platform;
    platform.PutFile(Path, "a\rb\nc\r\n\r\nd");
    EXPECT_EQ(ReadHostsFile(platform, Path).text, u"a\r\nb\nc\r\n\r\nd\r\n");
    platform.PutFile(Path, "");
    EXPECT_EQ(ReadHostsFile(platform, Path).text, u"");
}

TEST(ReadHostsFileTest, AMissingFileIsAFailure) {
    FakePlatform platform;
    EXPECT_THROW(ReadHostsFile(platform, Path).text, Failure);
}

// The load ends every line with CR LF, so a text that ends so is written as
// it is: a load and a save give back the bytes read, with no empty line more.
TEST(SaveBytesTest, AddsCrLfOnlyWhereTheTextHasNoLineBreakAtItsEnd) {
    const struct {
        std::u16string_view text;
        std::string_view bytes;
    } cases[] = {
        {u"a\r\nb\r\n", "a\r\nb\r\n"}, {u"a\r\nb", "a\r\nb\r\n"}, {u"", "\r\n"},
        {u"a\r", "a\r"},                   {u"a\n", "a\n\r\n"},       {u"\r\n", "\r\n"},
    };
    for (const auto& c : cases) {
        FakePlatform platform;
        platform.PutFile(Path, "old content that is longer than the new one");
        testing::SaveText(platform, Path, c.text);
        EXPECT_EQ(platform.FileBytes(Path), c.bytes) << c.bytes;
        EXPECT_EQ(platform.openFiles, 0);
    }
}

TEST(SaveBytesTest, UnencodableCharactersBecomeTheDefaultCharacter) {
    FakePlatform platform;
    testing::SaveText(platform, Path, u"a\u4e2d");
    EXPECT_EQ(platform.FileBytes(Path), "a?\r\n");
}

// An entry always stands on a line of its own: glued to a last line without
// its line break, it would break the entry the user had there.
TEST(LineAppendedTest, StartsALineOfItsOwnInTheFilesEncoding) {
    using namespace std::string_literals;
    const struct {
        std::string before;
        std::string after;
    } cases[] = {
        {"a", "a\r\nb\r\n"},
        {"a\r\n", "a\r\nb\r\n"},
        {"a\r", "a\rb\r\n"},
        {"a\n", "a\nb\r\n"},
        {"", "b\r\n"},
        {"\xEF\xBB\xBF", "\xEF\xBB\xBF" "b\r\n"},
        {"\xEF\xBB\xBF" "a", "\xEF\xBB\xBF" "a\r\nb\r\n"},
        {"\xFF\xFE" "a\0"s, "\xFF\xFE" "a\0\r\0\n\0b\0\r\0\n\0"s},
        {"\xFF\xFE" "a\0\n\0"s, "\xFF\xFE" "a\0\n\0b\0\r\0\n\0"s},
        {"\xFE\xFF\0a\0\r"s, "\xFE\xFF\0a\0\r\0b\0\r\0\n"s},
        {"\xFE\xFF\0a"s, "\xFE\xFF\0a\0\r\0\n\0b\0\r\0\n"s},
        // An odd last byte is kept, and the entry starts at a whole character.
        {"\xFF\xFE" "a\0\r\0\n\0X"s, "\xFF\xFE" "a\0\r\0\n\0X\0\r\0\n\0b\0\r\0\n\0"s},
    };
    for (const auto& c : cases) {
        FakePlatform platform;
        platform.PutFile(Path, c.before);
        testing::AppendLine(platform, Path, u"b");
        EXPECT_EQ(platform.FileBytes(Path), c.after) << ::testing::PrintToString(c.before);
    }
}

TEST(LineAppendedTest, CreatesAMissingFile) {
    FakePlatform platform;
    testing::AppendLine(platform, Path, u"");
    EXPECT_EQ(platform.FileBytes(Path), "\r\n");
}

TEST(StockContentTest, ReplacesAnyFileWholeOrCreatesIt) {
    FakePlatform platform;
    testing::WriteStock(platform, Path);
    ASSERT_TRUE(platform.FileBytes(Path));
    EXPECT_EQ(platform.FileBytes(Path)->size(), 836u);
    platform.PutFile(Path, std::string(100000, 'x'));
    testing::WriteStock(platform, Path);
    EXPECT_EQ(platform.FileBytes(Path)->size(), 836u);
    EXPECT_EQ(platform.FileBytes(Path)->substr(0, 9), "# Copyrig");
}

// A hosts file that appeared after it was found missing, hidden or not, is
// the user's: the creation of the stock file never writes over it.
TEST(StockContentTest, CreatesOnlyAFileThatIsNotThere) {
    FakePlatform platform;
    platform.PutFile(Path, "127.0.0.1 mine\r\n");
    platform.File(Path).hidden = true;
    platform.File(Path).system = true;
    try {
        testing::WriteStock(platform, Path, Creation::OnlyIfNew);
        ADD_FAILURE() << "a file that is there was created again";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.Number(), FailureNumber::FileExists);
    }
    EXPECT_EQ(platform.FileBytes(Path), "127.0.0.1 mine\r\n");
    EXPECT_TRUE(platform.File(Path).hidden && platform.File(Path).system);

    FakePlatform empty;
    testing::WriteStock(empty, Path, Creation::OnlyIfNew);
    EXPECT_EQ(empty.FileBytes(Path)->size(), 836u);

    FakePlatform full;
    full.writeBudget = 10;
    EXPECT_THROW(testing::WriteStock(full, Path, Creation::OnlyIfNew), Failure);
    EXPECT_FALSE(full.Has(Path)) << "a creation that failed leaves no file";
    EXPECT_EQ(full.openFiles, 0);
}

// A save that fails part-way must not leave the hosts file empty or torn:
// cut to zero and then written, it would.
TEST(SafeReplaceTest, AWriteThatFailsAfterNBytesLeavesThePreviousBytes) {
    const std::string previous = "127.0.0.1 localhost\r\n::1 localhost\r\n";
    for (const std::u16string& text : {std::u16string(u"short"), std::u16string(200, u'x')}) {
        for (std::uint64_t n : {0u, 1u, 5u, 20u, 150u}) {
            if (n >= text.size() + 2) continue;  // the write would succeed
            FakePlatform platform;
            platform.PutFile(Path, previous);
            platform.writeBudget = n;
            EXPECT_THROW(testing::SaveText(platform, Path, text), Failure) << n;
            EXPECT_EQ(platform.FileBytes(Path), previous) << "failed after " << n << " bytes";
            EXPECT_EQ(platform.openFiles, 0);
        }
    }
}

TEST(SafeReplaceTest, AFullDiskFailsBeforeAnOldByteChanges) {
    FakePlatform platform;
    platform.PutFile(Path, "keep");
    platform.setLengthFails = true;
    EXPECT_THROW(testing::WriteStock(platform, Path), Failure);
    EXPECT_EQ(platform.FileBytes(Path), "keep");
}

TEST(SafeReplaceTest, AFailedFlushPutsThePreviousBytesBack) {
    FakePlatform platform;
    platform.PutFile(Path, "keep");
    platform.flushFails = true;
    EXPECT_THROW(testing::SaveText(platform, Path, u"new"), Failure);
    EXPECT_EQ(platform.FileBytes(Path), "keep");
}

TEST(SafeReplaceTest, AFileTheFailedWriteCreatedIsRemovedAgain) {
    FakePlatform platform;
    platform.writeBudget = 10;
    EXPECT_THROW(testing::WriteStock(platform, Path), Failure);
    EXPECT_FALSE(platform.Has(Path));
}

TEST(SafeReplaceTest, ARefusedOpenChangesNothing) {
    FakePlatform platform;
    platform.PutFile(Path, "keep");
    platform.deniedPaths = {std::u16string(Path)};
    EXPECT_THROW(testing::SaveText(platform, Path, u"new"), Failure);
    EXPECT_EQ(platform.FileBytes(Path), "keep");
}

TEST(SafeAppendTest, AFailedAppendCutsTheFileBackToItsEnd) {
    for (std::uint64_t n : {0u, 3u}) {
        FakePlatform platform;
        platform.PutFile(Path, "a\r\n");
        platform.writeBudget = n;
        EXPECT_THROW(testing::AppendLine(platform, Path, u"0.0.0.0 example.com"), Failure);
        EXPECT_EQ(platform.FileBytes(Path), "a\r\n");
    }
}

TEST(SafeCopyTest, ACopyThatFailsLeavesTheDestinationAndTheSourceAlone) {
    FakePlatform platform;
    platform.PutFile(u"D:\\src", "new content");
    platform.PutFile(u"D:\\dst", "old");
    platform.writeBudget = 4;
    EXPECT_THROW(WriteOwnFile(platform, u"D:\\dst", platform.ReadFileBytes(u"D:\\src")), Failure);
    EXPECT_EQ(platform.FileBytes(u"D:\\dst"), "old");
    EXPECT_EQ(platform.FileBytes(u"D:\\src"), "new content");
    WriteOwnFile(platform, u"D:\\dst", platform.ReadFileBytes(u"D:\\src"));
    EXPECT_EQ(platform.FileBytes(u"D:\\dst"), "new content");
}

// The read back after a write: whatever the size of the pieces the file is
// read in, a file holds the content only byte for byte and to its last byte.
TEST(FileHoldsTest, AFileHoldsTheContentOnlyByteForByteAndToItsEnd) {
    const std::string content = "127.0.0.1 a\r\n";
    const FileSnapshot written = SnapshotBuilder::Of(content);
    for (const std::size_t pieceSize : {1u, 2u, 3u, 5u, 64u}) {
        SCOPED_TRACE(pieceSize);
        FakePlatform platform;
        platform.pieceSize = pieceSize;
        platform.PutFile(Path, content);
        EXPECT_TRUE(FileHolds(platform, Path, written));
        for (std::size_t at = 0; at < content.size(); ++at) {
            std::string changed = content;
            changed[at] ^= 1;
            platform.PutFile(Path, changed);
            EXPECT_FALSE(FileHolds(platform, Path, written)) << "byte " << at;
        }
        platform.PutFile(Path, content + "x");
        EXPECT_FALSE(FileHolds(platform, Path, written));
        platform.PutFile(Path, content.substr(0, content.size() - 1));
        EXPECT_FALSE(FileHolds(platform, Path, written));
        platform.RemoveFile(Path);
        EXPECT_FALSE(FileHolds(platform, Path, written));
    }
}

}  // namespace
}  // namespace quenlix
