#include <gtest/gtest.h>

#include "commands/EntryCommands.h"
#include "hosts/HostsPaths.h"
#include "hosts/HostsStore.h"
#include "support/FakePlatform.h"
#include "support/FakeWindow.h"

namespace quenlix {
namespace {

using testing::FakePlatform;
using testing::FakeWindow;

struct EntryCommandsTest : ::testing::Test {
    EntryCommandsTest() {
        platform.environment[u"windir"] = u"C:\\WINDOWS";
        window.text(TextBox::Text2) = u"127.0.0.1";
        window.text(TextBox::Text3) = u"example.com";
    }
    std::string Hosts() { return platform.FileBytes(FixedHostsPath::Save).value_or("<missing>"); }

    FakePlatform platform;
    FakeWindow window;
};

TEST_F(EntryCommandsTest, Command1AppendsText2AsItIs) {
    platform.PutFile(FixedHostsPath::Save, "a\r\n");
    AppendText2(window, platform);
    window.text(TextBox::Text2) = u"";
    AppendText2(window, platform);
    EXPECT_EQ(Hosts(), "a\r\n127.0.0.1\r\n\r\n");
}

TEST_F(EntryCommandsTest, Command1NeverReportsAndLeavesARefusedFileAlone) {
    platform.PutFile(FixedHostsPath::Save, "a\r\n");
    platform.File(FixedHostsPath::Save).readOnly = true;
    EXPECT_NO_THROW(AppendText2(window, platform));
    platform.File(FixedHostsPath::Save).readOnly = false;
    platform.writeBudget = 3;
    EXPECT_NO_THROW(AppendText2(window, platform));
    EXPECT_EQ(Hosts(), "a\r\n");
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(EntryCommandsTest, Command2AppendsTheEntryLineAndOpensBeforeReadingTheBoxes) {
    platform.PutFile(FixedHostsPath::Save, "a");
    AppendEntry(window, platform);
    EXPECT_EQ(Hosts(), "a127.0.0.1 example.com\r\n");

    window.text(TextBox::Text2) = u"";
    window.text(TextBox::Text3) = u"";
    AppendEntry(window, platform);
    EXPECT_EQ(Hosts(), "a127.0.0.1 example.com\r\n \r\n");

    platform.deniedPaths = {std::u16string(FixedHostsPath::Save)};
    window.log.clear();
    EXPECT_THROW(AppendEntry(window, platform), Failure);
    EXPECT_TRUE(window.log.empty()) << "the open fails before a box is read";
}

TEST_F(EntryCommandsTest, Command3SavesText1AndOneMoreCrLf) {
    platform.PutFile(FixedHostsPath::Save, "old\r\n");
    window.text(TextBox::Text1) = u"a\r\nb\r\n";
    SaveHostsFile(window, platform);
    EXPECT_EQ(Hosts(), "a\r\nb\r\n\r\n");
}

TEST_F(EntryCommandsTest, ARefusedSaveKeepsTheFileAndIsAFailure) {
    platform.PutFile(FixedHostsPath::Save, "old\r\n");
    platform.deniedPaths = {std::u16string(FixedHostsPath::Save)};
    window.text(TextBox::Text1) = u"edited";
    EXPECT_THROW(SaveHostsFile(window, platform), Failure);
    EXPECT_EQ(Hosts(), "old\r\n");
    EXPECT_EQ(window.text(TextBox::Text1), u"edited");
}

TEST_F(EntryCommandsTest, Command5NamesTheFirstDuplicateLowerCasedAndWritesNothing) {
    const std::string file = "# 127.0.0.1 myhost\r\n  127.0.0.1 MyHost  \r\n127.0.0.1 MYHOST.lan\r\n";
    platform.PutFile(FixedHostsPath::Save, file);
    window.text(TextBox::Text3) = u"myhost";
    AppendEntryUnlessDefined(window, platform);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].prompt, u"定义有重复\n127.0.0.1 myhost");
    EXPECT_EQ(platform.messages[0].style, 0u);
    EXPECT_FALSE(platform.messages[0].title) << "no title: the application's own shows";
    EXPECT_EQ(Hosts(), file);
}

TEST_F(EntryCommandsTest, Command5AppendsANewEntryAsTyped) {
    platform.PutFile(FixedHostsPath::Save, "127.0.0.1\tExample.com\r\n127.0.0.1  example.com\r\n");
    window.text(TextBox::Text3) = u"Example.com";
    AppendEntryUnlessDefined(window, platform);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(Hosts(), "127.0.0.1\tExample.com\r\n127.0.0.1  example.com\r\n127.0.0.1 Example.com\r\n");
}

TEST_F(EntryCommandsTest, Command5NeedsTheFileToExist) {
    EXPECT_THROW(AppendEntryUnlessDefined(window, platform), Failure);
    EXPECT_FALSE(platform.Has(FixedHostsPath::Save));
}

// The stock file holds its sample entries only in comments.
TEST_F(EntryCommandsTest, Command5OnTheStockFileAppends) {
    WriteDefaultHosts(platform, FixedHostsPath::Stock);
    const std::string stock = Hosts();
    window.text(TextBox::Text3) = u"server.example.com";
    AppendEntryUnlessDefined(window, platform);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(Hosts(), stock + "127.0.0.1 server.example.com\r\n");
}

}  // namespace
}  // namespace quenlix
