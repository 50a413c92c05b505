#pragma once

#include <string_view>

#include "hosts/InPlaceWrite.h"
#include "platform/Platform.h"

namespace quenlix {

// How a command tells the user about its write.
enum class Reporting {
    Shown,
    // The append of the address line never reports: what would be shown is
    // left out. Failures still reach the caller, which drops them.
    Silent,
};

// What a command asks when the copy of the hosts file for the history cannot
// be kept; {} stands for the failure, as "（错误 N：description）".
inline constexpr std::u16string_view WithoutHistoryCopyQuestion =
    u"无法保存 Hosts 文件当前内容的历史副本{}。\n\n是否在没有副本的情况下仍然修改 Hosts 文件？";

// What a command asks when the hosts file refused its write for want of
// rights and the process has none.
inline constexpr std::u16string_view ElevationQuestion =
    u"没有写入 Hosts 文件的权限。\n\n是否以管理员身份完成这次修改？（Windows 将请求确认）";

// A command's change of the running system's hosts file: this process's
// write (InPlaceWrite), with `editor` run here, in the command's layer, as
// its second step; a history copy of what the file held and a journal of the
// write; when the copy cannot be kept, the user is asked whether to write
// without one (no writes nothing). A write refused for want of rights, in a
// process without administrator rights, is offered to a second instance
// with them (WriteThroughElevatedInstance); declined, it writes nothing and
// says no more. Tells the user what the command itself does not: that the
// file's read-only, hidden or system attributes could not be given back, or
// that the file, read back, did not hold what was written.
HostsWriteResult ChangeHostsFile(Platform& platform, const HostsEditor& editor, Reporting reporting = Reporting::Shown,
                                Creation creation = Creation::OpenOrCreate);

}  // namespace quenlix
