#pragma once

#include <string>
#include <string_view>

namespace quenlix {

class Platform;

// Every path the program writes, formed here from folders the system
// reports and nothing a user's other programs can set.

// The running system's hosts file, below the Windows folder the system itself
// reports, joined as it is to "\system32\drivers\etc\hosts". Every command
// works on this one path.
std::u16string HostsPath(Platform& platform);

// The one backup copy, beside the program: "<program directory>\备份hosts".
std::u16string BackupPath(Platform& platform);

// The folder of the program's own files (history copies, the write journal,
// staged writes): "Quenlix" in the user's local application data folder, as
// the system reports it.
std::u16string ProgramDataFolder(Platform& platform);

// "history" in the program's data folder.
std::u16string HistoryFolder(Platform& platform);

// "hosts-write.journal" in the program's data folder.
std::u16string WriteJournalPath(Platform& platform);

// Where a journal that cannot be read is set aside, named for the moment
// (`stamp`, as TimeStamp gives it).
std::u16string UnreadableJournalPath(Platform& platform, std::u16string_view stamp);

// The staged content of a write handed to a second instance, named for its
// digest (`digestHex`, its first 16 digits are used) and numbered from 0.
std::u16string StagedFilePath(Platform& platform, std::u16string_view digestHex, int number);

}  // namespace quenlix
