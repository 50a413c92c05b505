#include "ui/WidthToggle.h"

#include "ui/WindowState.h"

namespace quenlix {

void Command10(WindowState& window, Platform&) {
    window.SetOuterWidth(window.OuterWidth() == NarrowWidth ? WideWidth : NarrowWidth);
}

}  // namespace quenlix
