#pragma once

#include <string>
#include <string_view>

namespace quenlix {

class Platform;

// The hosts file below the Windows directory named by "windir". The two parts
// are joined as they are; an unset "windir" leaves a path from the root of the
// current drive.
std::u16string HostsPath(Platform& platform);

// The literal drive path of the hosts file. The commands spell it in three
// letter cases; the file system ignores case, so all three name one file.
namespace FixedHostsPath {
// Used by the save.
inline constexpr std::u16string_view Save = u"C:\\WINDOWS\\system32\\drivers\\etc\\hosts";
// Used by the append with the duplicate test.
inline constexpr std::u16string_view DuplicateCheckedAppend = u"c:\\WINDOWS\\system32\\drivers\\etc\\hosts";
// Used by the restore-default command and by the creation of a missing file.
inline constexpr std::u16string_view Stock = u"C:\\windows\\system32\\drivers\\etc\\hosts";
}  // namespace FixedHostsPath

}  // namespace quenlix
