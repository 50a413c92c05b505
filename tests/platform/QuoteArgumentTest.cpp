#include <gtest/gtest.h>

#include <vector>

#include "platform/CommandLine.h"
#include "platform/QuoteArgument.h"
#include "platform/Sha256.h"

namespace quenlix {
namespace {

// Backslashes are doubled only where a quote follows them, the argument's own
// quotes included; the Win32 tests hand each of these to CommandLineToArgvW.
TEST(QuoteArgumentTest, QuotesWholeAndEscapesOnlyWhatTheParserReads) {
    const struct {
        std::u16string_view argument;
        std::u16string_view quoted;
    } cases[] = {
        {u"", u"\"\""},
        {u"C:\\Windows\\system32\\drivers\\etc\\hosts", u"\"C:\\Windows\\system32\\drivers\\etc\\hosts\""},
        {u"D:\\Win 10\\", u"\"D:\\Win 10\\\\\""},
        {u"\\\\server\\share\\\\", u"\"\\\\server\\share\\\\\\\\\""},
        {u"a\"b", u"\"a\\\"b\""},
        {u"a\\\"b", u"\"a\\\\\\\"b\""},
        {u"a\\\\\"b", u"\"a\\\\\\\\\\\"b\""},
        {u"C:\\w&echo.INJECTED1>C:\\inj1.txt&rem", u"\"C:\\w&echo.INJECTED1>C:\\inj1.txt&rem\""},
        {u"C:\\a\" & echo INJECTED2>C:\\inj2.txt & \"b", u"\"C:\\a\\\" & echo INJECTED2>C:\\inj2.txt & \\\"b\""},
        {u"下载 100% ^_^", u"\"下载 100% ^_^\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(QuoteArgument(c.argument), c.quoted) << std::string(c.argument.begin(), c.argument.end());
}

// The second instance reads its command line back with the same rules:
// whatever a quoted argument holds, it comes back whole and alone, after a
// program name quoted or not.
TEST(ArgumentsAfterProgramTest, GivesBackEveryQuotedArgumentWhole) {
    const std::vector<std::u16string> arguments = {
        u"", u"plain", u" ", u"D:\\Win 10\\", u"\\\\server\\share\\\\", u"\"", u"\\\"", u"a\"b", u"a\\\"b",
        u"a\\\\\"b", u"\"\"", u"C:\\a\" & echo INJECTED2>C:\\inj2.txt & \"b", u"下载 100% ^_^ \t|<>"};
    for (const std::u16string program : {u"\"C:\\Program Files\\Quenlix.exe\"", u"Quenlix.exe"}) {
        std::u16string line = program;
        for (const std::u16string& argument : arguments) line += u" " + QuoteArgument(argument);
        EXPECT_EQ(ArgumentsAfterProgram(line), arguments);
    }
    EXPECT_TRUE(ArgumentsAfterProgram(u"\"C:\\unclosed name a b").empty()) << "the name runs to the end";
}

// The digests on the command line: 64 lower-case hexadecimal digits, read
// back only when written so.
TEST(DigestHexDigitsTest, ReadsBackOnlyWhatItWrites) {
    Sha256Digest digest{};
    for (std::size_t i = 0; i < digest.size(); ++i) digest[i] = static_cast<std::uint8_t>(i * 37 + 5);
    const std::u16string text = HexDigits(digest);
    EXPECT_EQ(text.size(), 64u);
    EXPECT_EQ(text.substr(0, 6), u"052a4f");
    EXPECT_EQ(DigestFromHexDigits(text), digest);
    std::u16string upper = text;
    for (char16_t& c : upper) c = c >= u'a' && c <= u'f' ? c - 32 : c;
    for (const std::u16string& wrong : {upper, text.substr(1), text + u"0", text.substr(0, 63) + u"g",
                                        text.substr(0, 63) + u" ", std::u16string()})
        EXPECT_FALSE(DigestFromHexDigits(wrong)) << std::string(wrong.begin(), wrong.end());
}

}  // namespace
}  // namespace quenlix
