#include "commands/WidthCommand.h"

#include "platform/WindowState.h"

namespace quenlix {

void ToggleWidth(WindowState& window) {
    window.SetWidth(window.Width() == FormWidth::Narrow ? FormWidth::Wide : FormWidth::Narrow);
}

}  // namespace quenlix
