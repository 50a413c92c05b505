#pragma once

#include <string>
#include <string_view>

namespace quenlix {

// The hosts text: every line of the file followed by CR LF, the last line too;
// the empty file is the empty string.
//
// A line of the file ends at CR or CR LF, or at the end of the file; a lone LF
// stays inside its line. Turns the decoded file content into the hosts text.
std::u16string ApplyLineRule(std::u16string_view fileText);

// The stock content a missing or reset hosts file gets: 21 lines, 836 bytes.
extern const std::u16string_view DefaultHostsText;

}  // namespace quenlix
