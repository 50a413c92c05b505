#pragma once

namespace quenlix {

class WindowState;

// The lines of Text1 equal to a line of Text2, into Text4.
void ShowEqualLines(WindowState& window);
// The comma-separated terms of Text2 found in Text1, into Text4.
void ShowTermsFound(WindowState& window);
// The lines of Text1 that contain Text2, into Text4.
void ShowLinesContaining(WindowState& window);

}  // namespace quenlix
