#include "edit/HostsCheck.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>
#include <string_view>

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
    // Most names are of a length none of these has: told at once.
    static constexpr std::uint64_t lengths = [] {
        std::uint64_t mask = 0;
        for (const std::u16string_view p : names) mask |= std::uint64_t{1} << p.size();
        return mask;
    }();
    name = WithoutTrailingDot(name);
    if (name.size() >= 64 || (lengths >> name.size() & 1) == 0) return false;
    return std::any_of(names.begin(), names.end(),
                       [&](std::u16string_view p) { return p.size() == name.size() && SameHostName(p, name); });
}

namespace {

bool InLineOrder(const HostsFinding& a, const HostsFinding& b) {
    return a.line != b.line ? a.line < b.line : a.kind < b.kind;
}

// The names of entries, looked up in the table of their address family a
// few names behind the reading: each is fetched from memory while the lines
// after it are read, instead of the check waiting for every lookup of a
// table of a million names in turn. Lookups still go in line order, so the
// first line that maps a name is the one that keeps it.
class EarlierNames {
public:
    // Findings go into `findings`, in line order among those already there.
    explicit EarlierNames(std::vector<HostsFinding>& findings, std::size_t textSize) : findings_(findings) {
        // Room for the names of a blocklist of about one entry per 48
        // characters; the pages of a table too large are never touched.
        tables_[0].Reserve(textSize / 48);
    }

    void Put(std::u16string_view name, bool v4, std::size_t line) {
        const Pending pending{name, HostNameTable::Hash(name), static_cast<std::uint32_t>(line), v4 ? 0 : 1};
        tables_[pending.family].Prefetch(pending.hash);
        if (count_ == Ahead) {
            Settle(ring_[head_]);
            ring_[head_] = pending;
            head_ = (head_ + 1) % Ahead;
            const Pending& middle = ring_[(head_ + Ahead / 2) % Ahead];
            tables_[middle.family].PrefetchName(middle.name, middle.hash);
        } else {
            ring_[(head_ + count_++) % Ahead] = pending;
        }
    }
    void Finish() {
        for (; count_ > 0; --count_, head_ = (head_ + 1) % Ahead) Settle(ring_[head_]);
    }

private:
    static constexpr std::size_t Ahead = 16;
    struct Pending {
        std::u16string_view name;
        std::size_t hash;
        std::uint32_t line;
        int family;
    };
    void Settle(const Pending& p) {
        const auto first = tables_[p.family].FindOrAdd(p.name, p.hash, p.line);
        if (!first || *first == p.line) return;
        // Behind the reading by a few names: the findings of the lines since
        // are passed, and of this line those of a later kind.
        const HostsFinding finding{p.line, HostsFinding::Kind::MappedEarlier, p.name, *first};
        auto at = findings_.end();
        while (at != findings_.begin() && InLineOrder(finding, *(at - 1))) --at;
        findings_.insert(at, finding);
    }

    // One table per address family: a name may map to an IPv4 and an IPv6
    // address at once, and Windows answers each kind of query from its own.
    HostNameTable tables_[2];
    std::array<Pending, Ahead> ring_{};
    std::size_t head_ = 0;
    std::size_t count_ = 0;
    std::vector<HostsFinding>& findings_;
};

}  // namespace

HostsCheck CheckHostsText(std::u16string_view text, const LostCharacterCount& lostIn) {
    HostsCheck check;
    HostsLineFields fields;
    EarlierNames earlier(check.findings, text.size());
    std::u16string_view lastAddress;  // of the last entry line
    bool lastV4 = false;
    const auto add = [&](HostsFinding::Kind kind, std::u16string_view what, std::size_t number = 0) {
        check.findings.push_back({static_cast<std::uint32_t>(check.lines), kind, what, number});
    };
    for (auto line = ReadHostsLineAt(text, 0, fields); line; line = ReadHostsLineAt(text, line->next, fields)) {
        ++check.lines;
        const std::u16string_view content = text.substr(line->begin, line->end - line->begin);
        if (!fields.address.empty()) {
            // A blocklist gives one address on line after line: an address
            // as the line before wrote it is known good already.
            const bool same = fields.address == lastAddress;
            const bool v4 = same ? lastV4 : IsIpv4Address(fields.address);
            if (!same && !v4 && !IsIpv6Address(fields.address)) {
                add(HostsFinding::Kind::Address, fields.address);
            } else if (fields.names.empty()) {
                add(HostsFinding::Kind::NoName, fields.address);
            } else {
                lastAddress = fields.address;
                lastV4 = v4;
                ++check.entryLines;
                const std::size_t read = std::min(fields.names.size(), MostNamesOnALine);
                check.names += read;
                for (std::size_t i = 0; i < fields.names.size(); ++i) {
                    const std::u16string_view name = fields.names[i];
                    if (!IsHostName(name))
                        add(HostsFinding::Kind::HostName, name);
                    else if (i < read)
                        // Which of two lines for one name answers is not
                        // documented; Windows reads the file from the top
                        // and, as can be seen, answers with the first.
                        earlier.Put(name, v4, check.lines);
                }
                if (fields.names.size() > MostNamesOnALine)
                    add(HostsFinding::Kind::TooManyNames, {}, fields.names.size());
                for (std::size_t i = 0; i < read; ++i)
                    if (IsProtectedHostName(fields.names[i])) add(HostsFinding::Kind::Protected, fields.names[i]);
            }
        }
        if (lostIn && HoldsNonAscii(content))
            if (const std::size_t lost = lostIn(content)) add(HostsFinding::Kind::LostCharacters, {}, lost);
    }
    earlier.Finish();
    return check;
}

}  // namespace quenlix
