#include "edit/HostsCheck.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "edit/EntryCheck.h"
#include "edit/HostNames.h"
#include "edit/HostsLine.h"

namespace quenlix {

namespace {

bool HoldsNonAscii(std::u16string_view line) {
    return std::any_of(line.begin(), line.end(), [](char16_t c) { return c >= 0x80; });
}

}  // namespace

bool IsProtectedHostName(std::u16string_view name) {
    // The names BleepingComputer found Defender to report when they were
    // mapped in the hosts file ("Windows 10: HOSTS file blocking telemetry
    // is now flagged as a risk", August 2020), and events.data.microsoft.com,
    // which Defender was seen to take out of a blocklist
    // (github.com/hagezi/dns-blocklists issue 3030, 2024). Microsoft's own
    // description of the detection names no list: "entries for certain
    // domains used by the operating system and critical services".
    static constexpr std::array<std::u16string_view, 16> names{
        u"www.microsoft.com",
        u"microsoft.com",
        u"telemetry.microsoft.com",
        u"wns.notify.windows.com.akadns.net",
        u"v10-win.vortex.data.microsoft.com.akadns.net",
        u"us.vortex-win.data.microsoft.com",
        u"us-v10.events.data.microsoft.com",
        u"urs.microsoft.com.nsatc.net",
        u"watson.telemetry.microsoft.com",
        u"watson.ppe.telemetry.microsoft.com",
        u"vsgallery.com",
        u"watson.live.com",
        u"watson.microsoft.com",
        u"telemetry.remoteapp.windowsazure.com",
        u"telemetry.urs.microsoft.com",
        u"events.data.microsoft.com",
    };
    return std::any_of(names.begin(), names.end(), [&](std::u16string_view p) { return SameHostName(p, name); });
}

HostsCheck CheckHostsText(std::u16string_view text, const LostCharacterCount& lostIn) {
    HostsCheck check;
    HostsLineFields fields;
    // One table per address family: a name may map to an IPv4 and an IPv6
    // address at once, and Windows answers each kind of query from its own.
    HostNameTable earlier[2];
    const auto add = [&](HostsFinding::Kind kind, std::u16string_view what, std::size_t number = 0) {
        check.findings.push_back({check.lines, kind, what, number});
    };
    for (auto line = TextLineAt(text, 0); line; line = TextLineAt(text, line->next)) {
        ++check.lines;
        const std::u16string_view content = text.substr(line->begin, line->end - line->begin);
        ReadHostsLine(content, fields);
        if (!fields.address.empty()) {
            const bool v4 = IsIpv4Address(fields.address);
            if (!v4 && !IsIpv6Address(fields.address)) {
                add(HostsFinding::Kind::Address, fields.address);
            } else if (fields.names.empty()) {
                add(HostsFinding::Kind::NoName, fields.address);
            } else {
                ++check.entryLines;
                const std::size_t read = std::min(fields.names.size(), MostNamesOnALine);
                check.names += read;
                for (const std::u16string_view name : fields.names)
                    if (!IsHostName(name)) add(HostsFinding::Kind::HostName, name);
                if (fields.names.size() > MostNamesOnALine)
                    add(HostsFinding::Kind::TooManyNames, {}, fields.names.size());
                // Which of two lines for one name answers is not documented;
                // Windows reads the file from the top and, as can be seen,
                // answers with the first.
                for (std::size_t i = 0; i < read; ++i) {
                    const std::u16string_view name = fields.names[i];
                    if (!IsHostName(name)) continue;
                    const auto first = earlier[v4 ? 0 : 1].FindOrAdd(name, static_cast<std::uint32_t>(check.lines));
                    if (first && *first != check.lines) add(HostsFinding::Kind::MappedEarlier, name, *first);
                }
                for (std::size_t i = 0; i < read; ++i)
                    if (IsProtectedHostName(fields.names[i])) add(HostsFinding::Kind::Protected, fields.names[i]);
            }
        }
        if (lostIn && HoldsNonAscii(content))
            if (const std::size_t lost = lostIn(content)) add(HostsFinding::Kind::LostCharacters, {}, lost);
    }
    return check;
}

}  // namespace quenlix
