#include <gtest/gtest.h>

#include "commands/PickLineCommand.h"
#include "support/FakeWindow.h"

namespace quenlix {
namespace {

using testing::FakeWindow;

TEST(PickLineCommandTest, FillsTheBoxesFromTheLineAtTheCaret) {
    FakeWindow window;
    window.text(TextBox::HostsText) = u"127.0.0.1 localhost\r\n# note\r\n\r\n";
    window.caret = 3;
    PickClickedLine(window);
    EXPECT_EQ(window.text(TextBox::Address), u"127.0.0.1");
    EXPECT_EQ(window.text(TextBox::HostName), u"localhost");

    window.caret = 21;
    PickClickedLine(window);
    EXPECT_EQ(window.text(TextBox::Address), u"# note");
    EXPECT_EQ(window.text(TextBox::HostName), u"");

    window.text(TextBox::Address) = u"kept";
    window.text(TextBox::HostName) = u"kept too";
    window.caret = 29;  // the empty line
    PickClickedLine(window);
    EXPECT_EQ(window.text(TextBox::Address), u"kept");
    EXPECT_EQ(window.text(TextBox::HostName), u"kept too");
    EXPECT_EQ(window.text(TextBox::HostsText), u"127.0.0.1 localhost\r\n# note\r\n\r\n");
}

}  // namespace
}  // namespace quenlix
