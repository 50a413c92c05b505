#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "edit/EntryCommands.h"
#include "edit/LinePickerCommand.h"
#include "edit/SearchCommands.h"
#include "edit/ReferenceSearches.h"
#include "hosts/Backup.h"
#include "hosts/HostsPaths.h"
#include "hosts/HostsText.h"
#include "hosts/RestoreDefault.h"
#include "support/FakePlatform.h"
#include "support/FakeWindow.h"
#include "system/Privilege.h"
#include "system/ShellViews.h"
#include "ui/CommandRunner.h"
#include "ui/Startup.h"
#include "ui/WidthToggle.h"

// Thousands of random user actions against the fake window and platform:
// typing, clicks in Text1, every button, every answer to every message box,
// the file changed or deleted behind the program's back, and refusals and
// torn writes injected at random. After each step the hosts file and the
// backup must hold exactly what a plain model of the commands says: the old
// bytes after any failure, the complete new bytes after success.
namespace quenlix {
namespace {

using testing::FakePlatform;
using testing::FakeWindow;
using File = std::optional<std::string>;

class Session {
public:
    explicit Session(unsigned seed) : random_(seed) {
        platform_.programDirectory = u"D:\\Quenlix";
        hosts_ = std::string("127.0.0.1 localhost\r\n# comment\r\n");
        platform_.PutFile(HostsPath(platform_), *hosts_);
        RunStartup(window_, platform_);
    }

    void Step() {
        InjectTrouble();
        const int action = Pick(0, 24);
        if (action < 4) {
            Type();
        } else if (action < 6) {
            ChangeFilesBehindTheProgram();
        } else {
            Click(action);
        }
        platform_.writeBudget.reset();
        platform_.deniedPaths.clear();
        platform_.answers.clear();

        ASSERT_EQ(platform_.FileBytes(HostsPath(platform_)), hosts_) << "after action " << action;
        ASSERT_EQ(platform_.FileBytes(BackupPath(platform_)), backup_) << "after action " << action;
        ASSERT_EQ(platform_.openFiles, 0);
        ASSERT_FALSE(platform_.ended) << "no step may end the program";
    }

private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool Chance(int percent) { return Pick(1, 100) <= percent; }

    std::u16string RandomText(int maxLength) {
        static constexpr char16_t alphabet[] = u"ab.1 #\t,\r\nX\u4e2d";
        std::u16string text;
        for (int n = Pick(0, maxLength); n > 0; --n) text.push_back(alphabet[Pick(0, 12)]);
        return text;
    }

    void InjectTrouble() {
        trouble_ = Pick(0, 9);
        if (trouble_ == 0) platform_.deniedPaths = {HostsPath(platform_), BackupPath(platform_)};
        if (trouble_ == 1) platform_.writeBudget = static_cast<std::uint64_t>(Pick(0, 40));
        platform_.administrator = !Chance(20);
        for (int i = 0; i < 3; ++i) platform_.answers.push_back(Pick(0, 3) == 0 ? 2 : (Chance(50) ? 1 : 6));
    }

    void Type() {
        const auto box = static_cast<TextBox>(Pick(0, 3));
        window_.text(box) = box == TextBox::Text1 && Chance(50) ? Decode(hosts_.value_or("")) + RandomText(30)
                                                                  : RandomText(20);
    }

    void ChangeFilesBehindTheProgram() {
        if (Chance(30)) {
            if (hosts_) platform_.RemoveFile(HostsPath(platform_));
            hosts_.reset();
        } else {
            hosts_ = Encode(RandomText(60));
            platform_.PutFile(HostsPath(platform_), *hosts_);
        }
    }

    std::string Encode(std::u16string_view text) { return platform_.ToAnsi(text); }
    std::u16string Decode(std::string_view bytes) { return platform_.FromAnsi(bytes); }

    // Whether a write of `bytes` is refused or torn by the trouble injected.
    bool WriteFails(std::size_t bytes) const {
        if (trouble_ == 0) return true;
        return platform_.writeBudget && *platform_.writeBudget < bytes;
    }

    void Click(int action) {
        const std::u16string text1 = window_.text(TextBox::Text1);
        const std::u16string entry = window_.text(TextBox::Text2) + u" " + window_.text(TextBox::Text3);
        const std::size_t reportsBefore = platform_.reported.size();
        bool expectFailure = false;

        switch (action) {
            case 6: {  // append Text2; never reports
                const std::string line = Encode(window_.text(TextBox::Text2)) + "\r\n";
                const bool fails = WriteFails(line.size());
                RunCommand(Command1, window_, platform_);
                if (!fails) hosts_ = hosts_.value_or("") + line;
                break;
            }
            case 7: {
                const std::string line = Encode(entry) + "\r\n";
                expectFailure = WriteFails(line.size());
                RunCommand(Command2, window_, platform_);
                if (!expectFailure) hosts_ = hosts_.value_or("") + line;
                break;
            }
            case 8: {
                const std::string content = Encode(text1) + "\r\n";
                expectFailure = WriteFails(content.size());
                RunCommand(Command3, window_, platform_);
                if (!expectFailure) hosts_ = content;
                break;
            }
            case 9: {
                if (!hosts_ || trouble_ == 0) {
                    expectFailure = true;
                } else {
                    const std::u16string upper = platform_.ToUpper(ApplyLineRule(Decode(*hosts_)));
                    if (!reference::FirstDuplicateLine(upper, platform_.ToUpper(entry))) {
                        const std::string line = Encode(entry) + "\r\n";
                        expectFailure = WriteFails(line.size());
                        if (!expectFailure) hosts_ = *hosts_ + line;
                    }
                }
                RunCommand(Command5, window_, platform_);
                break;
            }
            case 10: {
                const bool ok = !platform_.answers.empty() && platform_.answers.front() == 1;
                const std::string stock = Encode(DefaultHostsText);
                expectFailure = ok && WriteFails(stock.size());
                RunCommand(Command6, window_, platform_);
                if (ok && !expectFailure) hosts_ = stock;
                break;
            }
            case 11: {  // refresh
                const bool present = hosts_.has_value();
                const bool admin = platform_.administrator;
                const bool ok = !platform_.answers.empty() && platform_.answers.front() == 1;
                if (present) {
                    expectFailure = trouble_ == 0;
                } else if (admin && !ok) {
                    // Cancel ends the program: the one step allowed to.
                    platform_.answers.front() = 1;
                    return Click(action);
                } else if (admin) {
                    const std::string stock = Encode(DefaultHostsText);
                    expectFailure = WriteFails(stock.size());
                    if (!expectFailure) hosts_ = stock;
                }
                RunCommand(Command4, window_, platform_);
                if (present && !expectFailure) {
                    EXPECT_EQ(window_.text(TextBox::Text1), ApplyLineRule(Decode(*hosts_)));
                }
                if (expectFailure) {
                    EXPECT_EQ(window_.text(TextBox::Text1), text1) << "a failed load keeps Text1";
                }
                break;
            }
            case 12: {  // back up
                if (hosts_) {
                    expectFailure = WriteFails(hosts_->size());
                    if (!expectFailure) backup_ = hosts_;
                }
                RunCommand(Command14, window_, platform_);
                break;
            }
            case 13: {  // restore
                if (backup_) {
                    expectFailure = WriteFails(backup_->size());
                    if (!expectFailure) hosts_ = backup_;
                }
                RunCommand(Command15, window_, platform_);
                break;
            }
            case 14: window_.caret = static_cast<std::size_t>(Pick(0, static_cast<int>(text1.size())));
                     RunCommand(Text1_Click, window_, platform_); break;
            case 15: RunCommand(Command7, window_, platform_); break;
            case 16: RunCommand(Command8, window_, platform_); break;
            case 17: RunCommand(Command9, window_, platform_); break;
            case 18: RunCommand(Command10, window_, platform_); break;
            case 19: RunCommand(Command11, window_, platform_); break;
            case 20: RunCommand(Command12, window_, platform_); break;
            default: RunCommand(Command13, window_, platform_); break;
        }
        EXPECT_EQ(platform_.reported.size() - reportsBefore, expectFailure ? 1u : 0u) << "action " << action;
        if (action != 11 && action != 14) {
            EXPECT_EQ(window_.text(TextBox::Text1), text1) << "only a load changes Text1";
        }
    }

    std::mt19937 random_;
    FakePlatform platform_;
    FakeWindow window_;
    File hosts_;
    File backup_;
    int trouble_ = -1;
};

TEST(RandomSessionTest, TheFilesAlwaysHoldWhatTheCommandsPromise) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        Session session(seed);
        for (int step = 0; step < 500; ++step) {
            session.Step();
            if (::testing::Test::HasFailure()) FAIL() << "seed " << seed << ", step " << step;
        }
    }
}

}  // namespace
}  // namespace quenlix
