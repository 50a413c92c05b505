#pragma once

namespace quenlix {

class Platform;
class WindowState;

// Why an entry does not work: what the text of the hosts text box, saved or
// not, makes of its entries as Windows reads them. Each writes what it finds
// into the results box.

// 检查 Hosts 文件: a summary line, then each finding as "第 n 行：..." in line
// order, then a note when the entry lines are so many that the DNS Client
// service may stall.
void ShowHostsCheck(WindowState& window, Platform& platform);

// 解析测试: the lines that answer for the name in the host-name box, or that
// none does; every other line that names it and why it does not count; what
// lies beyond the file (an unsaved text, the browsers' own cache and secure
// DNS).
void ShowNameTrace(WindowState& window, Platform& platform);

// 压缩条目: packs runs of entries nine names to a line (PackEntries) as one
// edit of the hosts text box, one undo step, left unsaved.
void PackEntryLines(WindowState& window, Platform& platform);

// A double-click on a line of the results box that names a line of the hosts
// text (LineNamedInResults) selects that line and scrolls it into view.
void SelectLineNamedInResults(WindowState& window);

}  // namespace quenlix
