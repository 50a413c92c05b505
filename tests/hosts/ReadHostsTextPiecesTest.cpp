// ReadHostsText checks the line ends piece by piece as the platform decodes
// the file. A platform that hands the text over in pieces cut anywhere, CR LF
// pairs included, must give the same hosts text as the line reader.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "hosts/HostsStore.h"
#include "hosts/ReferenceLineRule.h"
#include "support/FakePlatform.h"

namespace quenlix {
namespace {

class PiecewisePlatform : public testing::FakePlatform {
public:
    explicit PiecewisePlatform(unsigned seed) : rng_(seed) {}

    std::u16string ReadAnsiText(std::u16string_view path,
                                const std::function<void(std::u16string_view)>& inspect) override {
        const std::u16string text = FromAnsi(ReadFileBytes(path));
        std::size_t begin = 0;
        while (begin < text.size()) {
            const std::size_t length = rng_() % 6;  // empty pieces too
            inspect(std::u16string_view(text).substr(begin, length));
            begin += length;
        }
        return text;
    }

private:
    std::mt19937 rng_;
};

constexpr std::u16string_view Path = u"C:\\WINDOWS\\system32\\drivers\\etc\\hosts";

TEST(ReadHostsTextInPiecesTest, GivesTheLineReadersText) {
    PiecewisePlatform platform(42);
    std::mt19937 rng(43);
    const std::string alphabet = "ab\r\n\r\n#";
    for (int round = 0; round < 5000; ++round) {
        std::string bytes;
        for (std::size_t i = 0, n = rng() % 40; i < n; ++i) bytes.push_back(alphabet[rng() % alphabet.size()]);
        platform.PutFile(Path, bytes);
        ASSERT_EQ(ReadHostsText(platform, Path), reference::ApplyLineRule(platform.FromAnsi(bytes)))
            << "round " << round;
    }
}

TEST(ReadHostsTextInPiecesTest, AFailedReadFailsAsBefore) {
    PiecewisePlatform platform(1);
    EXPECT_THROW(ReadHostsText(platform, Path), Failure);  // no such file
}

}  // namespace
}  // namespace quenlix
