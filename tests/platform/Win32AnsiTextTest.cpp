// The hosts file is read and decoded a piece at a time. With Wine's own code
// page 936, the text must be the text of the whole file decoded at once, and
// encode back to the file's bytes, for files of every kind of byte: valid
// double-byte characters, lead bytes followed by ASCII or by a line end,
// stray high bytes, and long stretches without a place to cut.

#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <string>

#include "hosts/AnsiCodec.h"
#include "hosts/HostsFileReader.h"
#include "hosts/HostsText.h"
#include "hosts/ReferenceLineRule.h"
#include "platform/Win32Platform.h"
#include "support/Win32TempFolder.h"

namespace quenlix {
namespace {

using testing::Win32TempFolder;
using testing::WriteBytes;

std::string RandomAnsi(std::mt19937& rng, std::size_t size, int highPercent) {
    std::string bytes;
    while (bytes.size() < size) {
        if (static_cast<int>(rng() % 100) < highPercent) {
            switch (rng() % 8) {
                case 0: bytes += "\xD6@"; break;    // a lead byte with an ASCII trail
                case 1: bytes += "\xD6\r\n"; break;  // a lead byte before a line end
                case 2: bytes += "\x80"; break;      // a byte of its own in code page 936
                case 3: bytes += "\xFF"; break;
                case 4: bytes += "\x81\x7F"; break;  // a lead byte and one that is no trail
                default:  // a valid character
                    bytes.push_back(static_cast<char>(0xB0 + rng() % 0x48));
                    bytes.push_back(static_cast<char>(0xA1 + rng() % 0x5E));
                    break;
            }
        } else {
            const char ascii[] = "0.0.0.0 ads.example\r\n# \t";
            bytes.push_back(ascii[rng() % (sizeof ascii - 1)]);
        }
    }
    return bytes;
}

struct Read {
    HostsFile file;
    std::string pieces;
    int count = 0;
};

Read ReadInPieces(Win32Platform& platform, std::u16string_view path) {
    Read read;
    HostsFileReader reader(platform, HostsFileReader::Detect::AnsiOnly);
    platform.ReadFilePieces(path, [&](std::string_view piece, std::uint64_t size) {
        EXPECT_FALSE(piece.empty());
        read.pieces += piece;
        ++read.count;
        reader.Add(piece, size);
    });
    read.file = reader.Finish();
    return read;
}

TEST(Win32AnsiTextTest, PiecesDecodeAsTheWholeFile) {
    Win32Platform platform;
    Win32TempFolder folder;
    std::mt19937 rng(20240607);
    for (int round = 0; round < 12; ++round) {
        // Up to a few pieces' worth; from hosts-like text to nothing but
        // double-byte characters, where no cut can be made for a long way.
        const int high = round % 4 == 3 ? 100 : 10 + 25 * (round % 4);
        const std::string bytes = RandomAnsi(rng, 1000 + rng() % 600000, high);
        WriteBytes(folder / L"file", bytes);
        const Read read = ReadInPieces(platform, folder.U16(L"file"));
        ASSERT_EQ(read.file.encoding, HostsEncoding::Ansi) << "round " << round;
        ASSERT_EQ(read.file.text, ApplyLineRule(DecodeAnsi(platform, bytes))) << "round " << round;
        ASSERT_EQ(EncodeText(platform, read.file.text, HostsEncoding::Ansi),
                  reference::ApplyLineRuleToBytes(bytes, 0, false, false))
            << "round " << round << ": a save with no edit gives back every byte";
        ASSERT_EQ(read.pieces, bytes) << "round " << round;
        if (bytes.size() > 300000 && high < 100) {
            EXPECT_GT(read.count, 1) << "round " << round;
        }
    }
}

TEST(Win32AnsiTextTest, AnEmptyFileIsTheEmptyTextWithoutPieces) {
    Win32Platform platform;
    Win32TempFolder folder;
    WriteBytes(folder / L"empty", "");
    const Read read = ReadInPieces(platform, folder.U16(L"empty"));
    EXPECT_EQ(read.file.text, u"");
    EXPECT_EQ(read.count, 0);
}

TEST(Win32AnsiTextTest, AMissingFileFailsAsReadFileBytesDoes) {
    Win32Platform platform;
    Win32TempFolder folder;
    std::uint32_t expected = 0;
    try {
        platform.ReadFileBytes(folder.U16(L"missing"));
    } catch (const Failure& failure) {
        expected = failure.Number();
    }
    ASSERT_NE(expected, 0u);
    try {
        platform.ReadFilePieces(folder.U16(L"missing"), [](std::string_view, std::uint64_t) {});
        FAIL() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.Number(), expected);
    }
}

}  // namespace
}  // namespace quenlix
