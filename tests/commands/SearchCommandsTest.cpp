#include <gtest/gtest.h>

#include "commands/SearchCommands.h"
#include "support/FakeWindow.h"

namespace quenlix {
namespace {

using testing::FakeWindow;

TEST(SearchCommandsTest, EachSearchReplacesTheResultsWithItsOwn) {
    FakeWindow window;
    window.text(TextBox::HostsText) = u"127.0.0.1 localhost\r\n::1 localhost\r\n10.0.0.1 router";
    window.text(TextBox::Address) = u"localhost";
    ShowLinesContaining(window);
    EXPECT_EQ(window.text(TextBox::Results), u"127.0.0.1 localhost\r\n::1 localhost\r\n");
    window.text(TextBox::Address) = u"localhost,router,127";
    ShowTermsFound(window);
    EXPECT_EQ(window.text(TextBox::Results), u"localhostrouter127");
    window.text(TextBox::Address) = u"::1 localhost";
    ShowEqualLines(window);
    EXPECT_EQ(window.text(TextBox::Results), u"::1 localhost\r\n");
    window.text(TextBox::Address) = u"nothing";
    ShowEqualLines(window);
    EXPECT_EQ(window.text(TextBox::Results), u"");
}

}  // namespace
}  // namespace quenlix
