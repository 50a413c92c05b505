#pragma once

namespace quenlix {

class Platform;
class WindowState;

// "查找=Text2 显示相同": the lines of Text1 equal to a line of Text2, into Text4.
void Command7(WindowState& window, Platform& platform);
// "查找含Text2 显示": the comma-separated terms of Text2 found in Text1, into Text4.
void Command8(WindowState& window, Platform& platform);
// "查找含Text2 全部显示": the lines of Text1 that contain Text2, into Text4.
void Command9(WindowState& window, Platform& platform);

}  // namespace quenlix
