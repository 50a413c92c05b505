#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Encoding.h"

namespace quenlix {

class Platform;
class WindowState;

// What the check or the trace has to say, a line each.
struct HostsReport {
    std::vector<std::u16string> lines;
    // Problems the check found; lines that answer for the traced name.
    std::size_t count = 0;
};

// The check of `text`, as saved in `encoding`: the summary line, then each
// finding as "第 n 行：..." in line order, then a note when the entry lines
// are so many that the DNS Client service may stall.
// A blocklist may hold hundreds of thousands of findings: at most
// `mostListed` are listed, then how many more there are.
HostsReport HostsCheckReport(Platform& platform, std::u16string_view text, HostsEncoding encoding,
                             std::size_t mostListed);

// The trace of `name` through `text`: the lines that answer for it, or that
// none does; every other line that names it and why it does not count; what
// lies beyond the file (an unsaved text, when `unsaved`; the browsers' own
// cache and secure DNS).
HostsReport NameTraceReport(std::u16string_view text, std::u16string_view name, bool unsaved);

// Why an entry does not work: what the text of the hosts text box, saved or
// not, makes of its entries as Windows reads them. Each writes what it finds
// into the results box.

// 检查 Hosts 文件: HostsCheckReport of the hosts text box's text.
void ShowHostsCheck(WindowState& window, Platform& platform);

// 解析测试: NameTraceReport of the name in the host-name box.
void ShowNameTrace(WindowState& window, Platform& platform);

// 压缩条目: packs runs of entries nine names to a line (PackEntries) as one
// edit of the hosts text box, one undo step, left unsaved.
void PackEntryLines(WindowState& window, Platform& platform);

// A double-click on a line of the results box that names a line of the hosts
// text (LineNamedInResults) selects that line and scrolls it into view.
void SelectLineNamedInResults(WindowState& window);

}  // namespace quenlix
