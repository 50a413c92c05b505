#pragma once

namespace quenlix {

class WindowState;

// The lines of the hosts text box equal to a line of the address box, into the results box.
void ShowEqualLines(WindowState& window);
// The comma-separated terms of the address box found in the hosts text box, into the results box.
void ShowTermsFound(WindowState& window);
// The lines of the hosts text box that contain the address box, into the results box.
void ShowLinesContaining(WindowState& window);

}  // namespace quenlix
