#include "commands/PickLineCommand.h"

#include "edit/LinePicker.h"
#include "platform/WindowState.h"

namespace quenlix {

void PickClickedLine(WindowState& window) {
    const std::size_t caret = window.CaretPosition();
    PickedLine picked{PickedLine::Kind::Other, {}, {}};
    window.ReadText1([&](std::u16string_view text) { picked = SplitPickedLine(LineAtCaret(text, caret)); });
    if (picked.kind == PickedLine::Kind::Other) return;
    window.SetText(TextBox::Text2, picked.address);
    window.SetText(TextBox::Text3, picked.host);
}

}  // namespace quenlix
