#pragma once

namespace quenlix {

class WindowState;

// A click in the hosts text box: the clicked line's address into the address box and its host name
// into the host-name box (a comment line whole into the address box).
void PickClickedLine(WindowState& window);

}  // namespace quenlix
