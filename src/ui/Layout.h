#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/CommandRunner.h"

namespace quenlix {

enum class ControlKind { TextBox, Button, Label };

// How a text box shows its text; None for buttons and the label.
enum class TextBoxLines {
    None,
    SingleLine,
    // Both scroll bars; a long line stays on one row.
    ScrollingLines,
    // No scroll bars; a long line wraps at the box's width.
    WrappingLines,
};

// Whether a control's command reads or writes the hosts file or the hosts
// text box. Such a control waits, disabled, while the hosts text box is
// being filled a piece at a time: it would act on half a file.
enum class Touches { WindowOnly, HostsFileOrText };

// A rectangle in twips, from the top-left corner of the main window's client area.
struct TwipsRect {
    int left;
    int top;
    int width;
    int height;

    constexpr int Right() const { return left + width; }
    constexpr int Bottom() const { return top + height; }
};

// One of the twenty controls of the main window, as the window creates it.
struct Control {
    std::string_view name;
    ControlKind kind;
    // The caption of a button or the label, the initial text of a text box.
    std::u16string_view caption;
    TwipsRect bounds;
    int tabIndex;
    TextBoxLines lines;
    // What a click runs; nullptr when a click runs nothing.
    Command onClick;
    // Shown while the mouse pointer rests on the control; empty for none.
    std::u16string_view tooltip;
    Touches touches = Touches::WindowOnly;
    // What a double-click on a text box runs; nullptr for nothing.
    Command onDoubleClick = nullptr;
};

// The main window's client area in twips. The outer width adds NominalFrame on each
// side, which is what makes the narrow width 9300.
inline constexpr int ClientWidth = 9210;
inline constexpr int ClientHeight = 6930;
inline constexpr int NominalFrame = 45;

// The main window's outer widths in twips: at the narrow width the right-hand group
// lies beyond the client area; the wide width brings it into view.
inline constexpr int NarrowOuterWidth = 9300;
inline constexpr int WideOuterWidth = 12700;

// Where the main window's client area opens, in twips from the screen's top-left corner.
inline constexpr int DesignClientLeft = 7515;
inline constexpr int DesignClientTop = 4575;

// The one item the program adds to the window's system menu (the title-bar
// icon, or Alt+Space), below a separator.
struct SystemMenuItem {
    // A command id the system leaves to programs: below 0xF000, with the low
    // four bits clear, which the system uses for its own.
    unsigned id;
    std::u16string_view caption;
    Command onClick;
};
const SystemMenuItem& HistoryFolderMenuItem();

// Every control of the main window, in the order of the design table.
std::span<const Control> Controls();

// The controls by tab index, the label included: the order Tab walks.
std::vector<const Control*> TabOrder();

// The control with this name; nullptr when there is none.
const Control* FindControl(std::string_view name);

// Where the control behind one of the window-state text boxes stands in
// Controls(), and so in the window's array of control handles.
std::size_t ControlIndexOf(TextBox box);

}  // namespace quenlix
