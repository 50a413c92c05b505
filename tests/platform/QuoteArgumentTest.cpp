#include <gtest/gtest.h>

#include "platform/QuoteArgument.h"

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

}  // namespace
}  // namespace quenlix
