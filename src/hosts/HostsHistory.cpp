#include "hosts/HostsHistory.h"

#include <algorithm>
#include <optional>
#include <tuple>
#include <vector>

#include "hosts/HostsPaths.h"
#include "hosts/SafeWrite.h"
#include "platform/Digits.h"

namespace quenlix {

namespace {

constexpr std::u16string_view Prefix = u"hosts_";
constexpr std::u16string_view Extension = u".txt";
// "2026-12-07_18-30-12"
constexpr std::size_t StampLength = 19;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Where a copy stands among the others: its time, then its number in that
// second. None for a name that is no copy's.
std::optional<std::tuple<std::u16string, int>> OrderOf(std::u16string_view name) {
    if (!name.starts_with(Prefix) || !name.ends_with(Extension)) return std::nullopt;
    name.remove_prefix(Prefix.size());
    name.remove_suffix(Extension.size());
    if (name.size() < StampLength) return std::nullopt;
    const std::u16string_view stamp = name.substr(0, StampLength);
    for (std::size_t i = 0; i < StampLength; ++i) {
        const bool separator = i == 4 || i == 7 || i == 10 || i == 13 || i == 16;
        const char16_t expected = i == 10 ? u'_' : u'-';
        if (separator ? stamp[i] != expected : !IsDigit(stamp[i])) return std::nullopt;
    }
    std::u16string_view rest = name.substr(StampLength);
    if (rest.empty()) return std::tuple{std::u16string(stamp), 1};
    if (rest.size() < 2 || rest.size() > 5 || rest[0] != u'_' || rest[1] == u'0') return std::nullopt;
    int number = 0;
    for (const char16_t c : rest.substr(1)) {
        if (!IsDigit(c)) return std::nullopt;
        number = number * 10 + (c - u'0');
    }
    if (number < 2) return std::nullopt;
    return std::tuple{std::u16string(stamp), number};
}

struct Copy {
    FolderEntry entry;
    std::tuple<std::u16string, int> order;
};

// The copies in the folder, newest first: by the time they were written,
// which the file system keeps, and by their names only within one tick. A
// name says when the copy was taken by the clock of that moment, and a
// clock put back, or copies named for a later date by anyone, would make
// the real newest copies look the oldest and go first.
std::vector<Copy> CopiesNewestFirst(const std::vector<FolderEntry>& files) {
    std::vector<Copy> copies;
    for (const FolderEntry& file : files)
        if (const auto order = OrderOf(file.name)) copies.push_back({file, *order});
    std::sort(copies.begin(), copies.end(), [](const Copy& a, const Copy& b) {
        return std::tie(a.entry.writeTime, a.order) > std::tie(b.entry.writeTime, b.order);
    });
    return copies;
}

bool HoldsBytes(Platform& platform, const std::u16string& path, std::uint64_t size, std::string_view bytes) {
    if (size != bytes.size()) return false;
    try {
        return platform.ReadFileBytes(path) == bytes;
    } catch (const Failure&) {
        return false;  // a copy that cannot be read is no copy: a new one is taken
    }
}

// Writes a new copy under the first free name of this second.
std::u16string WriteNewCopy(Platform& platform, const std::u16string& folder, std::string_view bytes) {
    const LocalTime now = platform.LocalTimeNow();
    const int number = CreateNumberedFile(
        platform, [&](int n) { return folder + u"\\" + HistoryCopyName(now, n); }, 9999, bytes);
    return HistoryCopyName(now, number);
}

void RemoveBeyondLimits(Platform& platform, const std::u16string& folder, const std::u16string& newest) {
    std::vector<FolderEntry> files;
    try {
        files = platform.FilesInFolder(folder);
    } catch (const Failure&) {
        return;
    }
    const std::vector<Copy> copies = CopiesNewestFirst(files);
    // The copy just kept is the newest whatever its name says (the local
    // clock may have been put back since the others were named), and it
    // stays whatever its size.
    std::size_t count = 0;
    std::uint64_t total = 0;
    for (const Copy& copy : copies)
        if (copy.entry.name == newest) {
            count = 1;
            total = copy.entry.size;
        }
    bool full = false;
    for (const Copy& copy : copies) {
        if (copy.entry.name == newest) continue;
        if (full || count + 1 > HistoryCopiesKept || total + copy.entry.size > HistoryBytesKept) {
            // Once one copy is over the limits, every older one goes too, so
            // that what is kept is always the newest run without gaps.
            full = true;
            try {
                platform.RemoveFile(folder + u"\\" + copy.entry.name);
            } catch (const Failure&) {
            }
            continue;
        }
        ++count;
        total += copy.entry.size;
    }
}

}  // namespace

std::u16string TimeStamp(const LocalTime& time) {
    std::u16string name;
    return DecimalText(time.year, 4) + u'-' + DecimalText(time.month, 2) + u'-' + DecimalText(time.day, 2) + u'_' +
           DecimalText(time.hour, 2) + u'-' + DecimalText(time.minute, 2) + u'-' + DecimalText(time.second, 2);
}

std::u16string HistoryCopyName(const LocalTime& time, int number) {
    std::u16string name = std::u16string(Prefix) + TimeStamp(time);
    if (number > 1) {
        name += u'_';
        name += DecimalText(number);
    }
    name += Extension;
    return name;
}

bool IsHistoryCopyName(std::u16string_view name) { return OrderOf(name).has_value(); }

std::u16string KeepHistoryCopy(Platform& platform, std::string_view bytes) {
    const std::u16string folder = HistoryFolder(platform);
    platform.MakeDirectory(ProgramDataFolder(platform));
    platform.MakeDirectory(folder);
    const std::vector<Copy> copies = CopiesNewestFirst(platform.FilesInFolder(folder));
    if (!copies.empty() && HoldsBytes(platform, folder + u"\\" + copies.front().entry.name, copies.front().entry.size, bytes))
        return copies.front().entry.name;
    std::u16string name = WriteNewCopy(platform, folder, bytes);
    RemoveBeyondLimits(platform, folder, name);
    return name;
}

}  // namespace quenlix
