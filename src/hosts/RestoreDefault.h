#pragma once

namespace quenlix {

class Platform;
class WindowState;

// "还原默认 Hosts": after a confirmation, resets the hosts file to the stock
// content. Text1 is not reloaded; a refresh shows the new content.
void Command6(WindowState& window, Platform& platform);

}  // namespace quenlix
