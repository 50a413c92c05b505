// LastSafeCut against two models of a double-byte decoder: one that takes the
// byte after a lead byte whatever it is (as Wine does), one that takes it only
// when it is a valid trail byte and otherwise gives a default character for
// the lead byte alone. Cut where LastSafeCut says, the two sides decoded one
// after the other must give what the whole gives, for either model.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/AnsiPieces.h"

namespace quenlix {
namespace {

// Characters as numbers: one byte b gives b; a lead byte l with its trail t
// gives l * 256 + t; a lead byte alone gives 0xFFFF.
std::vector<int> Decode(std::string_view bytes, bool strictTrail) {
    std::vector<int> out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x81 || b == 0xFF) {
            out.push_back(b);
            continue;
        }
        if (i + 1 == bytes.size()) {
            out.push_back(0xFFFF);
            continue;
        }
        const auto t = static_cast<unsigned char>(bytes[i + 1]);
        if (strictTrail && (t < 0x40 || t == 0x7F || t == 0xFF)) {
            out.push_back(0xFFFF);
            continue;
        }
        out.push_back(b * 256 + t);
        ++i;
    }
    return out;
}

TEST(LastSafeCutTest, CutsOnlyAfterTwoBytesBelow0x80) {
    EXPECT_EQ(LastSafeCut(""), 0u);
    EXPECT_EQ(LastSafeCut("a"), 0u);
    EXPECT_EQ(LastSafeCut("ab"), 2u);
    EXPECT_EQ(LastSafeCut("ab\xD6\xD0"), 2u);     // 中 at the end: cut before it
    EXPECT_EQ(LastSafeCut("ab\xD6"), 2u);         // a lead byte waiting for its trail
    EXPECT_EQ(LastSafeCut("\xD6@"), 0u);          // '@' may be the trail of the lead byte
    EXPECT_EQ(LastSafeCut("a\xD6@b"), 4u);         // "@" went with the lead byte; "b" stands alone
    EXPECT_EQ(LastSafeCut("\xD6\xD0\r\n\xD6\xD0"), 4u);
}

TEST(LastSafeCutTest, BothSidesDecodeAsTheWhole) {
    std::mt19937 rng(936);
    // Mostly bytes of 0x80 and more, so that safe cuts are rare and fall in
    // every kind of place; ASCII trail bytes and line ends among them.
    const std::string alphabet = "\x81\xB0\xD6\xD0\xFE\xFF\x80@a\r\n\x7F";
    for (int round = 0; round < 20000; ++round) {
        std::string bytes;
        for (std::size_t i = 0, n = rng() % 30; i < n; ++i) bytes.push_back(alphabet[rng() % alphabet.size()]);
        const std::size_t cut = LastSafeCut(bytes);
        ASSERT_LE(cut, bytes.size());
        for (const bool strict : {false, true}) {
            std::vector<int> pieces = Decode(std::string_view(bytes).substr(0, cut), strict);
            const std::vector<int> rest = Decode(std::string_view(bytes).substr(cut), strict);
            pieces.insert(pieces.end(), rest.begin(), rest.end());
            ASSERT_EQ(pieces, Decode(bytes, strict)) << "round " << round << (strict ? " strict" : "");
        }
    }
}

}  // namespace
}  // namespace quenlix
