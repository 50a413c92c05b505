#pragma once

#include <string>

namespace quenlix {

class Platform;

// The one backup copy, beside the program: "<program directory>\备份hosts".
std::u16string BackupPath(Platform& platform);

}  // namespace quenlix
