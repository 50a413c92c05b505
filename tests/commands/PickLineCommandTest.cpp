#include <gtest/gtest.h>

#include "commands/PickLineCommand.h"
#include "support/FakeWindow.h"

namespace quenlix {
namespace {

using testing::FakeWindow;

TEST(PickLineCommandTest, FillsTheBoxesFromTheLineAtTheCaret) {
    FakeWindow window;
    window.text(TextBox::Text1) = u"127.0.0.1 localhost\r\n# note\r\n\r\n";
    window.caret = 3;
    PickClickedLine(window);
    EXPECT_EQ(window.text(TextBox::Text2), u"127.0.0.1");
    EXPECT_EQ(window.text(TextBox::Text3), u"localhost");

    window.caret = 21;
    PickClickedLine(window);
    EXPECT_EQ(window.text(TextBox::Text2), u"# note");
    EXPECT_EQ(window.text(TextBox::Text3), u"");

    window.text(TextBox::Text2) = u"kept";
    window.text(TextBox::Text3) = u"kept too";
    window.caret = 29;  // the empty line
    PickClickedLine(window);
    EXPECT_EQ(window.text(TextBox::Text2), u"kept");
    EXPECT_EQ(window.text(TextBox::Text3), u"kept too");
    EXPECT_EQ(window.text(TextBox::Text1), u"127.0.0.1 localhost\r\n# note\r\n\r\n");
}

}  // namespace
}  // namespace quenlix
