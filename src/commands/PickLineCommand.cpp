#include "commands/PickLineCommand.h"

#include "edit/LinePicker.h"
#include "platform/WindowState.h"

namespace quenlix {

void PickClickedLine(WindowState& window) {
    const std::size_t caret = window.CaretPosition();
    PickedLine picked{PickedLine::Kind::Other, {}, {}};
    window.ReadHostsText([&](std::u16string_view text) { picked = SplitPickedLine(LineAtCaret(text, caret)); });
    if (picked.kind == PickedLine::Kind::Other) return;
    window.SetText(TextBox::Address, picked.address);
    window.SetText(TextBox::HostName, picked.host);
}

}  // namespace quenlix
