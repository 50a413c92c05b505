#include "hosts/HostsPaths.h"

#include <algorithm>

#include "platform/Platform.h"

namespace quenlix {

namespace {

char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

bool EqualIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    return std::ranges::equal(a, b, [](char16_t x, char16_t y) { return AsciiLower(x) == AsciiLower(y); });
}

}  // namespace

std::u16string HostsPath(Platform& platform) {
    std::u16string windows = platform.Environment(u"windir");
    if (windows.empty()) windows = platform.SystemWindowsDirectory();
    return windows + u"\\system32\\drivers\\etc\\hosts";
}

std::u16string CommandHostsPath(Platform& platform, std::u16string_view spelling) {
    std::u16string path = HostsPath(platform);
    if (EqualIgnoringAsciiCase(path, spelling)) return std::u16string(spelling);
    return path;
}

}  // namespace quenlix
