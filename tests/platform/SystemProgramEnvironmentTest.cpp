#include <gtest/gtest.h>

#include <string>

#include "platform/SystemProgramEnvironment.h"

namespace quenlix {
namespace {

// A block written with '|' for each NUL, so that a failure reads plainly.
std::u16string Block(std::u16string_view text) {
    std::u16string block(text);
    for (char16_t& c : block)
        if (c == u'|') c = u'\0';
    return block;
}

TEST(SystemProgramEnvironmentTest, OwnEnvironmentWithTheCurrentFolderOffAndTheSystemFolderFirstOnPath) {
    const struct {
        const char* what;
        std::u16string_view own;
        std::u16string_view expected;
    } cases[] = {
        {"added in order of name, the system folder put before the rest of PATH",
         u"=C:=C:\\Down|ComSpec=x|Path=C:\\Tools;C:\\W\\system32|windir=C:\\W||",
         u"=C:=C:\\Down|ComSpec=x|NoDefaultCurrentDirectoryInExePath=1|Path=C:\\W\\system32;C:\\Tools;C:\\W\\system32|"
         u"windir=C:\\W||"},
        {"a value it had, under any case of its name, gives way: only its being set counts",
         u"nodefaultcurrentdirectoryinexepath=|PATH=C:\\Tools||",
         u"NoDefaultCurrentDirectoryInExePath=1|PATH=C:\\W\\system32;C:\\Tools||"},
        {"no PATH, or an empty one: the system folder alone", u"Path=||",
         u"NoDefaultCurrentDirectoryInExePath=1|Path=C:\\W\\system32||"},
        {"names compare whole and without regard to case; the block ends at its empty string",
         u"NoDefault=x|nOdEfAuLtZ=y||B=after the end||",
         u"NoDefault=x|NoDefaultCurrentDirectoryInExePath=1|nOdEfAuLtZ=y|PATH=C:\\W\\system32||"},
    };
    for (const auto& [what, own, expected] : cases)
        EXPECT_EQ(SystemProgramEnvironment(Block(own), u"C:\\W\\system32"), Block(expected)) << what;
}

}  // namespace
}  // namespace quenlix
