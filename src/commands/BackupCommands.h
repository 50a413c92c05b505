#pragma once

namespace quenlix {

class Platform;

// Copies the hosts file to the backup beside the program and offers to show it.
void BackUpHostsFile(Platform& platform);
// Copies the backup over the hosts file.
void RestoreHostsFromBackup(Platform& platform);

}  // namespace quenlix
