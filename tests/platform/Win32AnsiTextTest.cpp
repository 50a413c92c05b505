// ReadAnsiText reads and decodes a file a piece at a time. With Wine's own
// code page 936 decoder, the text it gives must be the text of the whole file
// decoded at once, for files of every kind of byte: valid double-byte
// characters, lead bytes followed by ASCII or by a line end, stray high bytes,
// and long stretches without a place to cut.

#include <gtest/gtest.h>
#include <windows.h>

#include <random>
#include <string>

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
    std::u16string text;
    std::u16string pieces;
    int count = 0;
};

Read ReadInPieces(Win32Platform& platform, std::u16string_view path) {
    Read read;
    read.text = platform.ReadAnsiText(path, [&](std::u16string_view piece) {
        EXPECT_FALSE(piece.empty());
        read.pieces += piece;
        ++read.count;
    });
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
        ASSERT_EQ(read.text, platform.FromAnsi(bytes)) << "round " << round;
        ASSERT_EQ(read.pieces, read.text) << "round " << round;
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
    EXPECT_EQ(read.text, u"");
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
        platform.ReadAnsiText(folder.U16(L"missing"), [](std::u16string_view) {});
        FAIL() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.Number(), expected);
    }
}

}  // namespace
}  // namespace quenlix
