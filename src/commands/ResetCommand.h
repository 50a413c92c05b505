#pragma once

namespace quenlix {

class Platform;

// After a confirmation, resets the hosts file to the stock content. Text1 is
// not reloaded; a refresh shows the new content.
void RestoreDefaultHosts(Platform& platform);

}  // namespace quenlix
