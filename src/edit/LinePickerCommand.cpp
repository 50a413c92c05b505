#include "edit/LinePickerCommand.h"

#include "edit/LinePicker.h"
#include "ui/WindowState.h"

namespace quenlix {

void Text1_Click(WindowState& window, Platform&) {
    const std::size_t caret = window.CaretPosition();
    PickedLine picked{PickedLine::Kind::Other, {}, {}};
    window.ReadText1([&](std::u16string_view text) { picked = SplitPickedLine(LineAtCaret(text, caret)); });
    if (picked.kind == PickedLine::Kind::Other) return;
    window.SetText(TextBox::Text2, picked.address);
    window.SetText(TextBox::Text3, picked.host);
}

}  // namespace quenlix
