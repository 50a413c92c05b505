#include "platform/SystemProgramEnvironment.h"

#include "platform/AsciiCase.h"
#include <algorithm>
#include <vector>

namespace quenlix {

namespace {

constexpr std::u16string_view NoCurrentFolder = u"NoDefaultCurrentDirectoryInExePath";
constexpr std::u16string_view Path = u"PATH";

// The name ends at the first '=' after the first character: the per-drive
// current folders are kept under names such as "=C:".
std::u16string_view NameOf(std::u16string_view entry) {
    const std::size_t equals = entry.find(u'=', 1);
    return equals == std::u16string_view::npos ? entry : entry.substr(0, equals);
}

// Windows compares variable names without regard to case.
bool SameName(std::u16string_view a, std::u16string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char16_t x, char16_t y) { return AsciiUpper(x) == AsciiUpper(y); });
}

bool NameBefore(std::u16string_view a, std::u16string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char16_t x, char16_t y) { return AsciiUpper(x) < AsciiUpper(y); });
}

}  // namespace

std::u16string SystemProgramEnvironment(std::u16string_view own, std::u16string_view systemFolder) {
    std::vector<std::u16string> entries;
    bool pathSeen = false;
    for (std::size_t at = 0; at < own.size() && own[at] != u'\0';) {
        const std::size_t end = std::min(own.find(u'\0', at), own.size());
        const std::u16string_view entry = own.substr(at, end - at);
        at = end + 1;
        const std::u16string_view name = NameOf(entry);
        if (SameName(name, NoCurrentFolder)) continue;  // set below, whatever it held
        if (SameName(name, Path) && !pathSeen) {
            pathSeen = true;
            std::u16string path = std::u16string(name) + u"=" + std::u16string(systemFolder);
            const std::u16string_view rest = entry.substr(std::min(name.size() + 1, entry.size()));
            if (!rest.empty()) path += u";" + std::u16string(rest);
            entries.push_back(std::move(path));
            continue;
        }
        entries.emplace_back(entry);
    }
    if (!pathSeen) entries.push_back(std::u16string(Path) + u"=" + std::u16string(systemFolder));
    entries.push_back(std::u16string(NoCurrentFolder) + u"=1");

    std::stable_sort(entries.begin(), entries.end(),
                     [](const std::u16string& a, const std::u16string& b) { return NameBefore(NameOf(a), NameOf(b)); });
    std::u16string block;
    for (const std::u16string& entry : entries) {
        block += entry;
        block += u'\0';
    }
    block += u'\0';
    return block;
}

}  // namespace quenlix
