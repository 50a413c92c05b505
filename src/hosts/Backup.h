#pragma once

#include <string>

namespace quenlix {

class Platform;
class WindowState;

// The one backup copy, beside the program: "<program directory>\备份hosts".
std::u16string BackupPath(Platform& platform);

// "备份 Host": copies the hosts file to the backup and offers to show it.
void Command14(WindowState& window, Platform& platform);
// "Hosts 备份还原": copies the backup over the hosts file.
void Command15(WindowState& window, Platform& platform);

}  // namespace quenlix
