#include <gtest/gtest.h>

#include <vector>

#include "commands/WidthCommand.h"
#include "support/FakeWindow.h"

namespace quenlix {
namespace {

TEST(WidthCommandTest, OnlyTheNarrowWidthWidens) {
    testing::FakeWindow window;
    std::vector<FormWidth> widths;
    for (int i = 0; i < 3; ++i) {
        ToggleWidth(window);
        widths.push_back(window.width);
    }
    EXPECT_EQ(widths, (std::vector<FormWidth>{FormWidth::Wide, FormWidth::Narrow, FormWidth::Wide}));
    window.width = FormWidth::Other;  // resized by some other program
    ToggleWidth(window);
    EXPECT_EQ(window.width, FormWidth::Narrow);
}

}  // namespace
}  // namespace quenlix
