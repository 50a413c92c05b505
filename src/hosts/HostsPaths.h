#pragma once

#include <string>
#include <string_view>

namespace quenlix {

class Platform;

// The running system's hosts file: the Windows folder named by "windir",
// joined as it is to "\system32\drivers\etc\hosts"; where "windir" is unset
// or empty, the folder the system reports.
std::u16string HostsPath(Platform& platform);

// The literal drive path of the hosts file on a system installed in
// C:\WINDOWS. The commands have always spelled it in these letter cases; the
// file system ignores case, so all of them name one file.
namespace FixedHostsPath {
// Used by the save.
inline constexpr std::u16string_view Save = u"C:\\WINDOWS\\system32\\drivers\\etc\\hosts";
// Used by the append with the duplicate test.
inline constexpr std::u16string_view DuplicateCheckedAppend = u"c:\\WINDOWS\\system32\\drivers\\etc\\hosts";
// Used by the restore-default command and by the creation of a missing file.
inline constexpr std::u16string_view Stock = u"C:\\windows\\system32\\drivers\\etc\\hosts";
// Named by the access grant's command line.
inline constexpr std::u16string_view Grant = u"C:\\Windows\\System32\\drivers\\etc\\hosts";
}  // namespace FixedHostsPath

// The path a command works on. On a system whose hosts file is the one below
// C:\WINDOWS (in any letter case) it is `spelling`, the command's own
// spelling of that path, so that every file access and command line stays as
// it has always been; on any other system it is HostsPath: a save must never
// write another installation's file, nor fail for want of one.
std::u16string CommandHostsPath(Platform& platform, std::u16string_view spelling);

}  // namespace quenlix
