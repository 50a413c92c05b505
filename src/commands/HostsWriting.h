#pragma once

#include <string_view>

#include "hosts/HostsWrite.h"
#include "platform/Platform.h"

namespace quenlix {

// How a command tells the user about its write.
enum class Reporting {
    Shown,
    // The append of the address line never reports: what would be shown is
    // left out. Failures still reach the caller, which drops them.
    Silent,
};

// What a command asks when the hosts file refused its write for want of
// rights and the process has none.
inline constexpr std::u16string_view ElevationQuestion =
    u"没有写入 Hosts 文件的权限。\n\n是否以管理员身份完成这次修改？（Windows 将请求确认）";

// Writes the running system's hosts file the one way every command writes
// it (WriteHostsInPlace). A write refused for want of rights, in a process
// without administrator rights, is offered to a second instance with them
// (WriteThroughElevatedInstance); declined, it writes nothing and says no
// more. Tells the user what the command itself does not: that the file's
// read-only, hidden or system attributes could not be given back, or that
// the file, read back, did not hold what was written.
HostsWriteResult WriteHostsFile(Platform& platform, const HostsEditor& editor, Reporting reporting = Reporting::Shown,
                                Creation creation = Creation::OpenOrCreate);

}  // namespace quenlix
