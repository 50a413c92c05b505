#include <gtest/gtest.h>
#include <windows.h>
#include <windowsx.h>

#include <optional>
#include <random>

#include "hosts/AnsiCodec.h"
#include "support/HostsFilesModel.h"
#include "support/Win32SystemHosts.h"
#include "ui/Win32FormTestSupport.h"

// A shorter random session on the real window: typing, clicks in Text1, the
// buttons that write files, answers to the message boxes, the hosts file
// changed, deleted or held open by another program behind the window's back.
// After every step the hosts file and the backup hold what the commands
// promise: the old bytes after a failure, the whole new bytes after success.
namespace quenlix::testing {
namespace {

using File = std::optional<std::string>;

struct Win32RandomSessionTest : Win32FormTest {
    void SetUp() override {
        systemHosts.Write("127.0.0.1 localhost\r\n");
        platform.programDirectory = std::u16string(programFolder.Path().begin(), programFolder.Path().end());
        Win32FormTest::SetUp();
        platform.systemWindowsDirectory.clear();  // from now on the commands work on the prefix's hosts file
        Press("Command4");               // and Text1 shows it
        model.hosts = systemHosts.Read();
        model.Loaded();
    }

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    std::wstring RandomText(int maxLength) {
        static constexpr wchar_t alphabet[] = L"ab.1 #\t,\r\nX中";
        std::wstring text;
        for (int n = Pick(0, maxLength); n > 0; --n) text.push_back(alphabet[Pick(0, 11)]);
        return text;
    }

    // A press of a button with the mouse, as a user makes it.
    void Press(std::string_view button) { ClickAt(Child(button), {4, 4}); }

    std::string Encode(std::u16string_view text) { return platform.ToAnsi(text); }
    std::u16string Box(TextBox box) { return form->Text(box); }
    std::wstring BackupPath() const { return programFolder / L"备份hosts"; }

    File ReadFile(const std::wstring& path) {
        const std::string bytes = ReadBytes(path);
        return bytes == "<missing>" ? File() : File(bytes);
    }

    void Step() {
        const bool held = Pick(0, 9) == 0;
        HANDLE holder = INVALID_HANDLE_VALUE;
        if (held)
            holder = CreateFileW(SystemHostsFile::Path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        const bool blocked = holder != INVALID_HANDLE_VALUE;
        const int answers[] = {Answer::Cancel, Answer::Ok, Answer::Yes};
        platform.answers = {answers[Pick(0, 2)]};
        const bool yes = platform.answers.front() == Answer::Yes;

        const std::u16string text1 = Box(TextBox::HostsText);
        const std::u16string text2 = Box(TextBox::Address);
        const std::u16string text3 = Box(TextBox::HostName);
        const std::size_t reportsBefore = platform.reported.size();
        // A file held open without sharing refuses every write and read, for
        // longer than the commands wait for it.
        using Write = HostsFilesModel::Write;
        const auto write = [&](std::size_t) { return blocked ? Write::FailsAtOpen : Write::Done; };
        bool expectFailure = false;
        const int action = Pick(0, 11);
        switch (action) {
            case 0: case 1: {
                const char* boxes[] = {"Text1", "Text2", "Text3"};
                SendMessageW(Child(boxes[Pick(0, 2)]), WM_SETTEXT, 0,
                             reinterpret_cast<LPARAM>(RandomText(24).c_str()));
                break;
            }
            case 2: {  // a click somewhere in Text1
                ClickAt(Child("Text1"), {Pick(2, 300), Pick(2, 120)});
                break;
            }
            case 3: model.AppendAddressLine(text2, yes, write); Press("Command1"); break;
            case 4: expectFailure = model.AppendEntry(text2, text3, yes, write); Press("Command2"); break;
            case 5:
                expectFailure = model.Save(text1, platform.answers.front() == Answer::Yes, write);
                Press("Command3");
                break;
            case 6: expectFailure = model.AppendUnlessDefined(text2, text3, yes, write); Press("Command5"); break;
            case 7:
                expectFailure = model.RestoreDefault(platform.answers.front() == Answer::Ok, write);
                Press("Command6");
                break;
            case 8:
                platform.answers = {Answer::No};
                expectFailure = model.Backup(write);
                Press("Command14");
                break;
            case 9: expectFailure = model.Restore(false, write); Press("Command15"); break;
            case 10: {  // refresh, with the file there: a missing one would ask to create it
                if (!model.hosts) break;
                expectFailure = blocked;
                Press("Command4");
                if (!blocked) {
                    EXPECT_EQ(Box(TextBox::HostsText), model.LoadedText());
                    model.Loaded();
                }
                break;
            }
            default: {  // behind the window's back
                if (blocked) break;
                if (Pick(0, 3) == 0) {
                    DeleteFileW(SystemHostsFile::Path);
                    model.hosts.reset();
                } else {
                    const std::wstring text = RandomText(40);
                    model.hosts = Encode(std::u16string(text.begin(), text.end()));
                    systemHosts.Write(*model.hosts);
                }
            }
        }
        if (blocked) CloseHandle(holder);

        ASSERT_EQ(ReadFile(SystemHostsFile::Path), model.hosts) << "action " << action << (blocked ? ", file held" : "");
        ASSERT_EQ(ReadFile(BackupPath()), model.backup) << "action " << action;
        EXPECT_EQ(platform.reported.size() - reportsBefore, expectFailure ? 1u : 0u) << "action " << action << (blocked ? ", file held" : "");
        if (action >= 3 && action != 10) {
            EXPECT_EQ(Box(TextBox::HostsText), text1) << "only a load changes Text1";
        }
        EXPECT_TRUE(IsWindow(Form())) << "no step may end the program";
    }

    SystemHostsFile systemHosts;
    Win32TempFolder programFolder;
    std::mt19937 random{20261207};
    HostsFilesModel model{{[this](std::u16string_view text) { return Encode(text); },
                           [this](std::string_view bytes) { return DecodeAnsi(platform, bytes); },
                           [this](std::u16string_view text) { return platform.ToUpper(text); }}};
};

TEST_F(Win32RandomSessionTest, TheFilesAlwaysHoldWhatTheCommandsPromise) {
    for (int step = 0; step < 300; ++step) {
        Step();
        if (HasFailure()) FAIL() << "step " << step;
    }
}

}  // namespace
}  // namespace quenlix::testing
