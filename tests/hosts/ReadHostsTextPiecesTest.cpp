// The hosts file is read a piece at a time, and the reader decides the
// encoding as it goes. Wherever the pieces are cut (inside a CR LF, a mark, a
// UTF-8 sequence, a double-byte character, the first bytes of UTF-16), the
// text, the encoding and the snapshot must be what reading the file in one
// piece gives, and a save with no edit must give back the file's bytes.

#include <gtest/gtest.h>

#include <random>
#include <span>
#include <string>
#include <vector>

#include "hosts/AnsiCodec.h"
#include "hosts/HostsFileReader.h"
#include "hosts/HostsStore.h"
#include "hosts/ReferenceLineRule.h"
#include "support/FakePlatform.h"

namespace quenlix {
namespace {

class PiecewisePlatform : public testing::FakePlatform {
public:
    explicit PiecewisePlatform(unsigned seed) : rng_(seed) {}

    void ReadFilePieces(std::u16string_view path,
                        const std::function<void(std::string_view, std::uint64_t)>& piece) override {
        const std::string bytes = ReadFileBytes(path);
        std::size_t begin = 0;
        while (begin < bytes.size()) {
            const std::size_t length = 1 + rng_() % 6;
            piece(std::string_view(bytes).substr(begin, length), bytes.size());
            begin += length;
        }
    }

private:
    std::mt19937 rng_;
};

constexpr std::u16string_view Path = u"C:\\WINDOWS\\system32\\drivers\\etc\\hosts";

std::string RandomFile(std::mt19937& rng) {
    // Line ends, ASCII, a UTF-8 character, a double-byte character, bytes
    // that are neither, and the marks, which also turn up where they are no
    // mark at all; the fake code page's pairs, good, broken and not given
    // back; U+2400 in UTF-8.
    static const std::vector<std::string> parts = {
        "a", "b", "#", " ", "\r", "\n", "\r\n", "\xE4\xB8\xAD", "\xD6\xD0", "\x80", "\xC2\xA1",
        "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF", "\xF0\x9F\x98\x80", "\xE4\xB8", "\0",
        "\x81\x41", "\x81", "\x81\x40", "\x9F\xFE", "\xE2\x90\x80",
    };
    std::string bytes;
    const bool mostlyUtf8 = rng() % 2 == 0;
    for (std::size_t i = 0, n = rng() % 30; i < n; ++i) {
        const std::size_t pick = rng() % parts.size();
        if (mostlyUtf8 && (pick == 8 || pick == 9 || pick == 15 || (pick >= 17 && pick <= 20)))
            continue;  // keep many files valid UTF-8
        bytes += parts[pick];
    }
    // One in four as UTF-16 without a mark, a zero byte beside each byte:
    // long enough, most of them are told so.
    if (rng() % 4 == 0) {
        const bool big = rng() % 2 == 0;
        std::string wide;
        for (const char b : bytes + "0.0.0.0 a\r\n") {
            wide.push_back(big ? '\0' : b);
            wide.push_back(big ? b : '\0');
        }
        if (rng() % 4 == 0) wide.push_back('x');  // an odd size: ANSI text then
        return wide;
    }
    return bytes;
}

TEST(ReadHostsTextInPiecesTest, GivesWhatOnePieceGives) {
    PiecewisePlatform platform(42);
    testing::FakePlatform whole;
    whole.pieceSize = 1 << 20;
    std::mt19937 rng(43);
    int utf8 = 0;
    int utf16 = 0;
    int restarts = 0;
    for (int round = 0; round < 20000; ++round) {
        const std::string bytes = RandomFile(rng);
        platform.PutFile(Path, bytes);
        whole.PutFile(Path, bytes);
        const HostsFile read = ReadHostsFile(platform, Path);
        const HostsFile expected = ReadHostsFile(whole, Path);
        ASSERT_EQ(read.text, expected.text) << "round " << round;
        ASSERT_EQ(read.encoding, expected.encoding) << "round " << round;
        ASSERT_EQ(read.encoding, DetectEncoding(bytes)) << "round " << round;
        ASSERT_EQ(read.snapshot, SnapshotBuilder::Of(bytes)) << "round " << round;
        // Handed on a stretch at a time, as the duplicate test reads it: the
        // same text before the line rule, a false start as UTF-8 forgotten.
        std::u16string stretches;
        DecodeHostsTextInStretches(
            platform, PiecesOf(bytes, 1 + round % 64), [&](std::span<char16_t> s) { stretches.append(s.begin(), s.end()); },
            [&] {
                stretches.clear();
                ++restarts;
            });
        ASSERT_EQ(reference::ApplyLineRule(stretches), expected.text) << "round " << round;
        if (read.encoding == HostsEncoding::Ansi) {
            ASSERT_EQ(read.text, reference::ApplyLineRule(DecodeAnsi(platform, bytes))) << "round " << round;
        }
        std::string saved(MarkOf(read.encoding));
        saved += EncodeText(platform, read.text, read.encoding);
        if (read.oddLastByte) saved.push_back(*read.oddLastByte);
        ASSERT_EQ(saved, reference::ApplyLineRuleToBytes(bytes, MarkOf(read.encoding).size(), IsUtf16(read.encoding),
                                                         IsBigEndian(read.encoding)))
            << "round " << round << ": a save with no edit";
        utf8 += read.encoding == HostsEncoding::Utf8;
        utf16 += read.encoding == HostsEncoding::Utf16Le || read.encoding == HostsEncoding::Utf16Be;
    }
    EXPECT_GT(utf8, 1000) << "the generator must make UTF-8 files too";
    EXPECT_GT(utf16, 1000) << "and UTF-16 without a mark";
    EXPECT_GT(restarts, 100) << "and UTF-8 that turns out not to be";
}

TEST(ReadHostsTextInPiecesTest, AFailedReadFailsAsBefore) {
    PiecewisePlatform platform(1);
    EXPECT_THROW(ReadHostsFile(platform, Path), Failure);  // no such file
}

}  // namespace
}  // namespace quenlix
