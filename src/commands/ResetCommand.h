#pragma once

namespace quenlix {

class Platform;

// After a confirmation, resets the hosts file to the stock content. The hosts text box is
// not reloaded; a refresh shows the new content.
void RestoreDefaultHosts(Platform& platform);

}  // namespace quenlix
