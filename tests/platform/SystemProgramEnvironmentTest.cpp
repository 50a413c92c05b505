#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/SystemProgramEnvironment.h"

namespace quenlix {
namespace {

std::u16string Block(const std::vector<std::u16string>& entries) {
    std::u16string block;
    for (const std::u16string& entry : entries) block += entry + u'\0';
    return block + u'\0';
}

std::string Readable(const std::u16string& block) {
    std::string text;
    for (const char16_t c : block) text += c == u'\0' ? '|' : static_cast<char>(c);
    return text;
}

constexpr std::u16string_view System = u"C:\\Windows\\system32";

TEST(SystemProgramEnvironmentTest, OwnEnvironmentWithTheCurrentFolderOffAndTheSystemFolderFirstOnPath) {
    const struct {
        const char* what;
        std::vector<std::u16string> own;
        std::vector<std::u16string> expected;
    } cases[] = {
        {"the variable is added, the system folder put first on PATH, the rest kept in order",
         {u"=C:=C:\\Users\\u\\Downloads", u"ComSpec=C:\\Windows\\system32\\cmd.exe",
          u"Path=C:\\Tools;C:\\Windows\\system32", u"windir=C:\\Windows"},
         {u"=C:=C:\\Users\\u\\Downloads", u"ComSpec=C:\\Windows\\system32\\cmd.exe",
          u"NoDefaultCurrentDirectoryInExePath=1", u"Path=C:\\Windows\\system32;C:\\Tools;C:\\Windows\\system32",
          u"windir=C:\\Windows"}},
        {"a value it had, in any case of its name, gives way: only its being set counts",
         {u"nodefaultcurrentdirectoryinexepath=", u"PATH=C:\\Tools"},
         {u"NoDefaultCurrentDirectoryInExePath=1", u"PATH=C:\\Windows\\system32;C:\\Tools"}},
        {"no PATH: the system folder alone",
         {u"TEMP=C:\\t"}, {u"NoDefaultCurrentDirectoryInExePath=1", u"PATH=C:\\Windows\\system32", u"TEMP=C:\\t"}},
        {"an empty PATH", {u"Path="}, {u"NoDefaultCurrentDirectoryInExePath=1", u"Path=C:\\Windows\\system32"}},
        {"an empty environment", {}, {u"NoDefaultCurrentDirectoryInExePath=1", u"PATH=C:\\Windows\\system32"}},
        {"names sort without regard to case, and a name is compared whole",
         {u"NoDefault=x", u"nOdEfAuLtZ=y", u"ZZ=z"},
         {u"NoDefault=x", u"NoDefaultCurrentDirectoryInExePath=1", u"nOdEfAuLtZ=y", u"PATH=C:\\Windows\\system32",
          u"ZZ=z"}},
        {"text after the block's end is not part of it", {u"A=1", u"", u"B=2"},
         {u"A=1", u"NoDefaultCurrentDirectoryInExePath=1", u"PATH=C:\\Windows\\system32"}},
    };
    for (const auto& [what, own, expected] : cases) {
        EXPECT_EQ(Readable(SystemProgramEnvironment(Block(own), System)), Readable(Block(expected))) << what;
    }
}

}  // namespace
}  // namespace quenlix
