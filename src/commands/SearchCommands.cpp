#include "commands/SearchCommands.h"

#include "edit/Searches.h"
#include "platform/WindowState.h"

namespace quenlix {

namespace {

using Search = std::u16string (*)(std::u16string_view, std::u16string_view);

void RunSearch(WindowState& window, Search search) {
    const std::u16string sought = window.Text(TextBox::Address);
    window.SetText(TextBox::Results, u"");
    std::u16string result;
    window.ReadHostsText([&](std::u16string_view text1) { result = search(text1, sought); });
    window.SetText(TextBox::Results, result);
}

}  // namespace

void ShowEqualLines(WindowState& window) { RunSearch(window, FindEqualLines); }
void ShowTermsFound(WindowState& window) { RunSearch(window, FindPresentTerms); }
void ShowLinesContaining(WindowState& window) { RunSearch(window, FindLinesContaining); }

}  // namespace quenlix
