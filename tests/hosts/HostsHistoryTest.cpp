#include <gtest/gtest.h>

#include <algorithm>

#include "hosts/CutOffWrite.h"
#include "hosts/HostsHistory.h"
#include "hosts/HostsPaths.h"
#include "hosts/WriteJournal.h"
#include "support/FakePlatform.h"

namespace quenlix {
namespace {

using testing::FakePlatform;

std::vector<std::u16string> CopyNames(FakePlatform& platform) {
    std::vector<std::u16string> names;
    for (const FolderEntry& file : platform.FilesInFolder(HistoryFolder(platform)))
        if (IsHistoryCopyName(file.name)) names.push_back(file.name);
    std::sort(names.begin(), names.end());
    return names;
}

TEST(HostsHistoryTest, CopiesAreNamedByTheirTimeAndOnlyThoseNamesCount) {
    EXPECT_EQ(HistoryCopyName({2026, 1, 2, 3, 4, 5}), u"hosts_2026-01-02_03-04-05.txt");
    EXPECT_EQ(HistoryCopyName({2026, 12, 7, 18, 30, 12}, 2), u"hosts_2026-12-07_18-30-12_2.txt");
    EXPECT_EQ(HistoryCopyName({2026, 12, 7, 18, 30, 12}, 12), u"hosts_2026-12-07_18-30-12_12.txt");
    for (const char16_t* name : {u"hosts_2026-12-07_18-30-12.txt", u"hosts_2026-12-07_18-30-12_2.txt",
                                 u"hosts_2026-12-07_18-30-12_9999.txt"})
        EXPECT_TRUE(IsHistoryCopyName(name)) << std::string(name, name + std::char_traits<char16_t>::length(name));
    for (const char16_t* name : {u"hosts_2026-12-07_18-30-12_1.txt", u"hosts_2026-12-07_18-30-12_02.txt",
                                 u"hosts_2026-12-07 18-30-12.txt", u"hosts_2026-12-07_18-30-1x.txt",
                                 u"hosts_2026-12-07_18-30-12.txt.bak", u"my notes.txt", u"..\\hosts_2026-12-07_18-30-12.txt",
                                 u"hosts_2026-12-07_18-30-12_.txt", u"hosts_2026-12-07_18-30.txt"})
        EXPECT_FALSE(IsHistoryCopyName(name)) << std::string(name, name + std::char_traits<char16_t>::length(name));
}

// The newest 50 copies within 100 MB stay, the oldest go first, the newest
// stays whatever its size, and a file of the user's beside them is never
// touched. Copies of one second are ordered by their number, 10 after 9.
TEST(HostsHistoryTest, TheNewestCopiesStayWithinTheLimits) {
    FakePlatform platform;
    const std::u16string folder = HistoryFolder(platform);
    platform.PutFile(folder + u"\\my notes.txt", "mine");
    std::vector<std::u16string> taken;
    for (int n = 0; n < 60; ++n) {
        platform.localTime.second = n / 12;  // twelve copies to a second
        taken.push_back(KeepHistoryCopy(platform, "copy " + std::to_string(n)));
    }
    EXPECT_EQ(taken[13], u"hosts_2026-12-07_18-30-01_2.txt");
    std::vector<std::u16string> newest(taken.end() - HistoryCopiesKept, taken.end());
    std::sort(newest.begin(), newest.end());
    EXPECT_EQ(CopyNames(platform), newest);
    EXPECT_EQ(platform.FileBytes(folder + u"\\" + taken.back()), "copy 59");
    EXPECT_EQ(platform.FileBytes(folder + u"\\my notes.txt"), "mine");

    // Bytes count as much as copies: 40 MB copies, two fit in 100 MB.
    const std::string big(40u << 20, 'x');
    for (int n = 0; n < 3; ++n) {
        platform.localTime.minute = 31 + n;
        KeepHistoryCopy(platform, big + std::to_string(n));
    }
    EXPECT_EQ(CopyNames(platform),
              (std::vector<std::u16string>{u"hosts_2026-12-07_18-32-04.txt", u"hosts_2026-12-07_18-33-04.txt"}));
    // A single copy over the limit is the newest: it stays alone.
    platform.localTime.minute = 40;
    KeepHistoryCopy(platform, std::string(101u << 20, 'y'));
    EXPECT_EQ(CopyNames(platform), std::vector<std::u16string>{u"hosts_2026-12-07_18-40-04.txt"});
}

// No copy when the newest already holds the bytes, whatever older ones hold;
// the clock put back does not make the copy just taken look old.
TEST(HostsHistoryTest, TheNewestCopyIsNotTakenTwiceAndStaysNewest) {
    FakePlatform platform;
    EXPECT_EQ(KeepHistoryCopy(platform, "a"), u"hosts_2026-12-07_18-30-12.txt");
    EXPECT_EQ(KeepHistoryCopy(platform, "a"), u"hosts_2026-12-07_18-30-12.txt");
    EXPECT_EQ(KeepHistoryCopy(platform, "b"), u"hosts_2026-12-07_18-30-12_2.txt");
    EXPECT_EQ(KeepHistoryCopy(platform, "a"), u"hosts_2026-12-07_18-30-12_3.txt");
    EXPECT_EQ(CopyNames(platform).size(), 3u);

    // Copies named for 2030 (the clock was put back since, or someone put
    // them there): every save keeps its own copies, and those go first.
    FakePlatform turnedBack;
    const std::u16string folder = HistoryFolder(turnedBack);
    for (int n = 0; n < 50; ++n)
        turnedBack.PutFile(folder + u"\\" + HistoryCopyName({2030, 1, 1, 0, n, 0}), "later " + std::to_string(n));
    std::vector<std::u16string> kept;
    for (int n = 0; n < 3; ++n) {
        turnedBack.localTime.second = n;
        kept.push_back(KeepHistoryCopy(turnedBack, "now " + std::to_string(n)));  // named before all the others
    }
    for (int n = 0; n < 3; ++n) EXPECT_EQ(turnedBack.FileBytes(folder + u"\\" + kept[n]), "now " + std::to_string(n));
    EXPECT_EQ(CopyNames(turnedBack).size(), HistoryCopiesKept);
    EXPECT_FALSE(turnedBack.Has(folder + u"\\" + HistoryCopyName({2030, 1, 1, 0, 2, 0}))) << "the oldest written go";
    EXPECT_EQ(KeepHistoryCopy(turnedBack, "now 2"), kept[2]) << "the newest written is the newest copy";
}

TEST(HostsHistoryTest, AJournalReadsBackAsWrittenAndNothingElseReads) {
    FakePlatform platform;
    const WriteJournal journal{u"hosts_2026-12-07_18-30-12_2.txt", SnapshotBuilder::Of("old"), SnapshotBuilder::Of("new"),
                               PieceHashes("new", {})};
    const std::string text = WriteJournalText(journal);
    EXPECT_EQ(ParseWriteJournal(text), journal);
    EXPECT_EQ(ParseWriteJournal(WriteJournalText({u"", journal.before, journal.after, journal.afterPieces}))->copy, u"");
    EXPECT_FALSE(ParseWriteJournal(WriteJournalText({u"", journal.before, journal.after, {}})))
        << "a piece's hash for every piece of the new bytes";
    for (std::size_t cut = 0; cut < text.size(); ++cut)
        EXPECT_FALSE(ParseWriteJournal(text.substr(0, cut))) << "cut at " << cut;
    EXPECT_FALSE(ParseWriteJournal(text + "more\r\n"));
    std::string upper = text;
    upper[upper.find(':', upper.find("before=")) + 1] = 'A';
    EXPECT_FALSE(ParseWriteJournal(upper)) << "hashes are lower case";
    std::string padded = text;
    padded.insert(padded.find("after=") + 6, "0");
    EXPECT_FALSE(ParseWriteJournal(padded)) << "sizes have no leading zero";
}

}  // namespace
}  // namespace quenlix

namespace quenlix {
namespace {

// What a write of `after` over `before` leaves when cut off after `written`
// of its bytes: grown first, then written from the start.
std::string CutOff(std::string before, std::string_view after, std::size_t written) {
    before.resize(std::max(before.size(), after.size()), '\0');
    return before.replace(0, written, after.substr(0, written));
}

// Every cut point of a save (longer, shorter, of the same length), an
// append, a first write and an emptying is taken for a cut-off write; what
// another program leaves is not.
TEST(CutOffWriteTest, EveryCutPointIsTornAndOtherProgramsChangesAreNot) {
    constexpr std::size_t Piece = 4;  // small pieces, so that a cut falls past whole ones
    const std::string old = "127.0.0.1 localhost\r\n0.0.0.0 ads.example\r\n";
    const struct {
        const char* name;
        std::string after;
    } writes[] = {
        {"longer", "127.0.0.1 localhost\r\n# mine\r\n0.0.0.0 tracker.example\r\n"},
        {"shorter", "# cleared\r\n"},
        {"same length", "127.0.0.1 localhost\r\n0.0.0.0 ADS.EXAMPLE\r\n"},
        {"append", old + "1.2.3.4 new.host\r\n"},
        {"emptied", ""},
    };
    for (const auto& write : writes) {
        const std::vector<std::uint64_t> pieces = PieceHashes(write.after, {}, Piece);
        const auto torn = [&](std::string_view now) {
            return IsLeftByCutOffWrite(now, old, write.after.size(), pieces, Piece);
        };
        for (std::size_t k = 0; k <= write.after.size(); ++k) {
            const std::string now = CutOff(old, write.after, k);
            if (now != old && now != write.after) EXPECT_TRUE(torn(now)) << write.name << ", cut after " << k;
        }
        std::string wrongHead = CutOff(old, write.after, write.after.size() - write.after.size() / 4);
        wrongHead[0] ^= 1;
        const std::string others[] = {old + "10.8.0.1 vpn.corp\r\n", "6.6.6.6 www.bank.example\r\n",
                                      old + std::string(write.after.size() + 1, '\0'), wrongHead};
        for (const std::string& now : others) EXPECT_FALSE(torn(now)) << write.name << ": " << now;
    }
    // From an empty file, only the head of the new bytes and zeros.
    const std::string fresh = "1.2.3.4 a.example\r\n";
    EXPECT_TRUE(IsLeftByCutOffWrite(CutOff("", fresh, 9), "", fresh.size(), PieceHashes(fresh, {}, Piece), Piece));
    EXPECT_FALSE(IsLeftByCutOffWrite("1.2.3.4 a.example\r\n\n", "", fresh.size(), PieceHashes(fresh, {}, Piece), Piece));
    // The pieces of one content are the same however it is split.
    EXPECT_EQ(PieceHashes("127.0.", "0.1 localhost", Piece), PieceHashes("127.0.0.1 localhost", {}, Piece));
}

}  // namespace
}  // namespace quenlix
