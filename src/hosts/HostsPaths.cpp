#include "hosts/HostsPaths.h"

#include "platform/Digits.h"
#include "platform/Platform.h"

namespace quenlix {

std::u16string HostsPath(Platform& platform) {
    return platform.SystemWindowsDirectory() + u"\\system32\\drivers\\etc\\hosts";
}

std::u16string BackupPath(Platform& platform) { return platform.ProgramDirectory() + u"\\备份hosts"; }

std::u16string ProgramDataFolder(Platform& platform) { return platform.LocalAppDataDirectory() + u"\\Quenlix"; }

std::u16string HistoryFolder(Platform& platform) { return ProgramDataFolder(platform) + u"\\history"; }

std::u16string WriteJournalPath(Platform& platform) { return ProgramDataFolder(platform) + u"\\hosts-write.journal"; }

std::u16string UnreadableJournalPath(Platform& platform, std::u16string_view stamp) {
    return ProgramDataFolder(platform) + u"\\unreadable-journal_" + std::u16string(stamp) + u".txt";
}

std::u16string StagedFilePath(Platform& platform, std::u16string_view digestHex, int number) {
    return ProgramDataFolder(platform) + u"\\staged-" + std::u16string(digestHex.substr(0, 16)) + u"-" +
           DecimalText(static_cast<std::uint64_t>(number)) + u".hosts";
}

}  // namespace quenlix
