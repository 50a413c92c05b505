// Windows installed elsewhere than C:\WINDOWS: every command works on the
// hosts file below the folder the running system reports, and a file below
// C:\WINDOWS (another installation's) is never touched.

#include <gtest/gtest.h>

#include "commands/EntryCommands.h"
#include "commands/SaveCommands.h"
#include "commands/LoadCommands.h"
#include "commands/ResetCommand.h"
#include "commands/SystemCommands.h"
#include "hosts/HostsPaths.h"
#include "platform/MessageStyle.h"
#include "support/FakePlatform.h"
#include "support/FakeWindow.h"

namespace quenlix {
namespace {

using testing::FakePlatform;
using testing::FakeWindow;

constexpr std::u16string_view Running = u"D:\\Win 10\\system32\\drivers\\etc\\hosts";
constexpr std::u16string_view Other = u"C:\\windows\\system32\\drivers\\etc\\hosts";

struct WindowsFolderTest : ::testing::Test {
    WindowsFolderTest() {
        platform.systemWindowsDirectory = u"D:\\Win 10";
        platform.PutFile(Other, "other system\r\n");
    }
    std::string File(std::u16string_view path) { return platform.FileBytes(path).value_or("<missing>"); }

    FakePlatform platform;
    FakeWindow window;
};

TEST_F(WindowsFolderTest, EveryCommandWorksOnTheRunningSystemsFile) {
    // The create branch: the stock content, then the grant on the same file.
    platform.answers = {Answer::Ok, Answer::Ok};
    ASSERT_EQ(LoadHostsWindow(window, platform), LoadOutcome::ShowWindow);
    EXPECT_EQ(File(Running).size(), 836u);
    EXPECT_EQ(window.text(TextBox::HostsText).size(), 836u);
    ASSERT_EQ(platform.ran.size(), 1u);
    EXPECT_EQ(platform.ran[0].arguments, u"\"D:\\Win 10\\system32\\drivers\\etc\\hosts\" /e /t /p \"Everyone:F\"");

    window.text(TextBox::HostsText) = u"1.1.1.1 saved";
    SaveHostsFile(window, platform);
    EXPECT_EQ(File(Running), "1.1.1.1 saved\r\n");

    window.text(TextBox::Address) = u"2.2.2.2";
    window.text(TextBox::HostName) = u"appended";
    AppendEntryUnlessDefined(window, platform);
    EXPECT_EQ(File(Running), "1.1.1.1 saved\r\n2.2.2.2 appended\r\n");

    platform.answers = {Answer::Ok};
    RestoreDefaultHosts(platform);
    EXPECT_EQ(File(Running).size(), 836u);

    GrantEveryoneAccess(platform);
    EXPECT_EQ(platform.ran.back().arguments, platform.ran[0].arguments);

    ShowHostsInExplorer(platform);
    OpenHostsInNotepad(platform);
    ASSERT_EQ(platform.started.size(), 2u);
    EXPECT_EQ(platform.started[0].commandLine, u"explorer /select,D:\\Win 10\\system32\\drivers\\etc\\hosts");
    EXPECT_EQ(platform.started[1].commandLine, u"Notepad.exe D:\\Win 10\\system32\\drivers\\etc\\hosts");

    EXPECT_EQ(File(Other), "other system\r\n");
    EXPECT_TRUE(platform.reported.empty());
}

}  // namespace
}  // namespace quenlix
