#pragma once

#include <string_view>

namespace quenlix {

class Platform;
class WindowState;

// Starts Explorer with `path` selected in its folder.
void RevealInExplorer(Platform& platform, std::u16string_view path);
// Starts Notepad on the hosts file.
void OpenInNotepad(Platform& platform);

// "打开所在文件夹"
void Command11(WindowState& window, Platform& platform);
// "记事本打开Hosts"
void Command12(WindowState& window, Platform& platform);

}  // namespace quenlix
