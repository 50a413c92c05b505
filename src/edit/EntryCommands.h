#pragma once

namespace quenlix {

class Platform;
class WindowState;

// "追加Text2": appends Text2 as one line; every failure after Text2 is read
// is ignored and nothing is ever reported.
void Command1(WindowState& window, Platform& platform);
// "追加Text2+Text3": appends Text2, a space and Text3 as one line. The file
// is opened before the boxes are read.
void Command2(WindowState& window, Platform& platform);
// "保存到 Hosts": replaces the hosts file with Text1 followed by CR LF.
void Command3(WindowState& window, Platform& platform);
// "判断是否重复 追加": appends the entry line unless a non-comment line of the
// file already holds it (letter case aside); otherwise names that line.
void Command5(WindowState& window, Platform& platform);

}  // namespace quenlix
