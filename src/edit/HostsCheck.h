#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace quenlix {

// The whole hosts text checked as Windows' resolver reads it, one line at a
// time, in one pass.

// What keeps a line, or a part of it, from working as it reads.
struct HostsFinding {
    enum class Kind : std::uint8_t {
        Address,         // the first field is no address: the whole line is ignored
        NoName,          // an address with no name after it
        HostName,        // a name Windows does not accept
        TooManyNames,    // more than nine names: the rest are ignored
        MappedEarlier,   // an earlier line maps the name, for the same address family
        Protected,       // a name Microsoft Defender guards (IsProtectedHostName)
        LostCharacters,  // characters the file's encoding cannot hold
    };
    // Counted from 1, as the findings name it.
    std::uint32_t line;
    Kind kind;
    // The address or the name at fault: a view into the checked text.
    std::u16string_view text;
    // The names on the line (TooManyNames), the characters lost
    // (LostCharacters), or the earlier line (MappedEarlier).
    std::size_t number = 0;
};

struct HostsCheck {
    std::size_t lines = 0;
    // Lines that are entries (IsEntry), and the names on them that Windows
    // reads (up to nine a line).
    std::size_t entryLines = 0;
    std::size_t names = 0;
    // In line order; on one line in the order of the kinds above.
    std::vector<HostsFinding> findings;
};

// How many characters of a line the file's encoding cannot hold; asked only
// of lines that hold a unit outside ASCII. Empty when the encoding holds
// every character.
using LostCharacterCount = std::function<std::size_t(std::u16string_view line)>;

HostsCheck CheckHostsText(std::u16string_view text, const LostCharacterCount& lostIn = {});

// Names for which Microsoft Defender reports the hosts file as
// SettingsModifier:Win32/HostsFileHijack and, when the user lets it clean the
// file, puts the whole file back to its stock content.
bool IsProtectedHostName(std::u16string_view name);

// Above this many entry lines, users of large blocklists report that the DNS
// Client service stalls, at logon for minutes, and recovers once the same
// names stand nine to a line.
inline constexpr std::size_t ManyEntryLines = 30000;

}  // namespace quenlix
