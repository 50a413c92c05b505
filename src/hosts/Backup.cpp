#include "hosts/Backup.h"

#include "platform/Platform.h"

namespace quenlix {

std::u16string BackupPath(Platform& platform) { return platform.ProgramDirectory() + u"\\备份hosts"; }

}  // namespace quenlix
