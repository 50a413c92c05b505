#include <gtest/gtest.h>

#include "edit/LinePickerCommand.h"
#include "edit/SearchCommands.h"
#include "support/FakePlatform.h"
#include "support/FakeWindow.h"

namespace quenlix {
namespace {

using testing::FakePlatform;
using testing::FakeWindow;

TEST(LinePickerCommandTest, FillsTheBoxesFromTheLineAtTheCaret) {
    FakePlatform platform;
    FakeWindow window;
    window.text(TextBox::Text1) = u"127.0.0.1 localhost\r\n# note\r\n\r\n";
    window.caret = 3;
    Text1_Click(window, platform);
    EXPECT_EQ(window.text(TextBox::Text2), u"127.0.0.1");
    EXPECT_EQ(window.text(TextBox::Text3), u"localhost");

    window.caret = 21;
    Text1_Click(window, platform);
    EXPECT_EQ(window.text(TextBox::Text2), u"# note");
    EXPECT_EQ(window.text(TextBox::Text3), u"");

    window.text(TextBox::Text2) = u"kept";
    window.caret = 29;  // the empty line
    window.log.clear();
    Text1_Click(window, platform);
    EXPECT_EQ(window.text(TextBox::Text2), u"kept");
    for (const auto& entry : window.log) EXPECT_EQ(entry.rfind("set", 0), std::string::npos) << entry;
    EXPECT_EQ(window.text(TextBox::Text1), u"127.0.0.1 localhost\r\n# note\r\n\r\n");
}

TEST(SearchCommandsTest, EachSearchReplacesText4WithItsResult) {
    FakePlatform platform;
    FakeWindow window;
    window.text(TextBox::Text1) = u"127.0.0.1 localhost\r\n::1 localhost\r\n10.0.0.1 router";
    window.text(TextBox::Text2) = u"localhost";
    Command9(window, platform);
    EXPECT_EQ(window.text(TextBox::Text4), u"127.0.0.1 localhost\r\n::1 localhost\r\n");
    window.text(TextBox::Text2) = u"localhost,router,127";
    Command8(window, platform);
    EXPECT_EQ(window.text(TextBox::Text4), u"localhostrouter127");
    window.text(TextBox::Text2) = u"::1 localhost";
    Command7(window, platform);
    EXPECT_EQ(window.text(TextBox::Text4), u"::1 localhost\r\n");
    window.text(TextBox::Text2) = u"nothing";
    Command7(window, platform);
    EXPECT_EQ(window.text(TextBox::Text4), u"");
}

}  // namespace
}  // namespace quenlix
