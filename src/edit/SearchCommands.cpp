#include "edit/SearchCommands.h"

#include "edit/Searches.h"
#include "ui/WindowState.h"

namespace quenlix {

namespace {

using Search = std::u16string (*)(std::u16string_view, std::u16string_view);

void RunSearch(WindowState& window, Search search) {
    const std::u16string sought = window.Text(TextBox::Text2);
    window.SetText(TextBox::Text4, u"");
    std::u16string result;
    window.ReadText1([&](std::u16string_view text1) { result = search(text1, sought); });
    window.SetText(TextBox::Text4, result);
}

}  // namespace

void Command7(WindowState& window, Platform&) { RunSearch(window, FindEqualLines); }
void Command8(WindowState& window, Platform&) { RunSearch(window, FindPresentTerms); }
void Command9(WindowState& window, Platform&) { RunSearch(window, FindLinesContaining); }

}  // namespace quenlix
