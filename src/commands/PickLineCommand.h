#pragma once

namespace quenlix {

class WindowState;

// A click in Text1: the clicked line's address into Text2 and its host name
// into Text3 (a comment line whole into Text2).
void PickClickedLine(WindowState& window);

}  // namespace quenlix
