#include <gtest/gtest.h>

#include "commands/SearchCommands.h"
#include "support/FakeWindow.h"

namespace quenlix {
namespace {

using testing::FakeWindow;

TEST(SearchCommandsTest, EachSearchReplacesText4WithItsResult) {
    FakeWindow window;
    window.text(TextBox::Text1) = u"127.0.0.1 localhost\r\n::1 localhost\r\n10.0.0.1 router";
    window.text(TextBox::Text2) = u"localhost";
    ShowLinesContaining(window);
    EXPECT_EQ(window.text(TextBox::Text4), u"127.0.0.1 localhost\r\n::1 localhost\r\n");
    window.text(TextBox::Text2) = u"localhost,router,127";
    ShowTermsFound(window);
    EXPECT_EQ(window.text(TextBox::Text4), u"localhostrouter127");
    window.text(TextBox::Text2) = u"::1 localhost";
    ShowEqualLines(window);
    EXPECT_EQ(window.text(TextBox::Text4), u"::1 localhost\r\n");
    window.text(TextBox::Text2) = u"nothing";
    ShowEqualLines(window);
    EXPECT_EQ(window.text(TextBox::Text4), u"");
}

}  // namespace
}  // namespace quenlix
