#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "commands/BackupCommands.h"
#include "commands/EntryCommands.h"
#include "commands/SaveCommands.h"
#include "commands/LoadCommands.h"
#include "commands/PickLineCommand.h"
#include "commands/ResetCommand.h"
#include "commands/SearchCommands.h"
#include "commands/SystemCommands.h"
#include "commands/WidthCommand.h"
#include "hosts/AnsiCodec.h"
#include "hosts/HostsPaths.h"
#include "hosts/HostsHistory.h"
#include "commands/HostsChange.h"
#include "support/ElevatedInstanceStandIn.h"
#include "support/FakePlatform.h"
#include "support/FakeWindow.h"
#include "support/HostsFilesModel.h"
#include "ui/CommandRunner.h"

// Thousands of random user actions against the fake window and platform:
// typing, clicks in Text1, every button, every answer to every message box,
// the file changed or deleted behind the program's back, and refusals and
// torn writes injected at random, in a process with administrator rights or
// without them, where the user lets a second instance make a refused write
// or does not. After each step the hosts file and the
// backup must hold exactly what a plain model of the commands says: the old
// bytes after any failure, the complete new bytes after success.
namespace quenlix {
namespace {

using testing::FakePlatform;
using testing::FakeWindow;
using testing::HostsFilesModel;

class Session {
public:
    explicit Session(unsigned seed) : random_(seed) {
        platform_.programDirectory = u"D:\\Quenlix";
        platform_.elevatedInstance = testing::SecondInstanceHere(platform_);
        model_.hosts = std::string("127.0.0.1 localhost\r\n# comment\r\n");
        platform_.PutFile(HostsPath(platform_), *model_.hosts);
        RunStartup(window_, platform_);
        model_.Loaded();
    }

    void Step() {
        InjectTrouble();
        const int action = Pick(0, 24);
        const std::optional<std::string> hostsBefore = platform_.FileBytes(HostsPath(platform_));
        if (action < 4) {
            Type();
        } else if (action < 6) {
            ChangeFilesBehindTheProgram();
        } else {
            Click(action);
        }
        platform_.writeBudget.reset();
        platform_.deniedPaths.clear();
        platform_.writeDeniedPaths.clear();
        platform_.answers.clear();

        ASSERT_EQ(platform_.FileBytes(HostsPath(platform_)), model_.hosts) << "after action " << action;
        ASSERT_EQ(platform_.FileBytes(BackupPath(platform_)), model_.backup) << "after action " << action;
        ASSERT_EQ(platform_.openFiles, 0);
        ASSERT_TRUE(platform_.FilesInFolder(ProgramDataFolder(platform_)).empty())
            << "a staged file or a journal was left behind";
        // Whatever a command replaced can be had back from the history.
        const std::optional<std::string> hostsAfter = platform_.FileBytes(HostsPath(platform_));
        if (action >= 6 && hostsBefore && !hostsBefore->empty() && hostsAfter != hostsBefore)
            ASSERT_TRUE(HistoryHolds(*hostsBefore)) << "after action " << action;
        ASSERT_FALSE(window_.closed) << "no step may end the program";
    }

private:
    bool HistoryHolds(const std::string& bytes) {
        for (const FolderEntry& copy : platform_.FilesInFolder(HistoryFolder(platform_)))
            if (platform_.FileBytes(HistoryFolder(platform_) + u"\\" + copy.name) == bytes) return true;
        return false;
    }

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool Chance(int percent) { return Pick(1, 100) <= percent; }

    std::u16string RandomText(int maxLength) {
        // Every character is one the fake's code page holds: what becomes of
        // one it cannot hold is the save's and the appends' question, tested
        // on its own.
        static constexpr char16_t alphabet[] = u"ab.1 #\t,\r\nX\u00e9";
        std::u16string text;
        for (int n = Pick(0, maxLength); n > 0; --n) text.push_back(alphabet[Pick(0, 12)]);
        return text;
    }

    void InjectTrouble() {
        trouble_ = Pick(0, 9);
        if (trouble_ == 0) platform_.deniedPaths = {HostsPath(platform_), BackupPath(platform_)};
        if (trouble_ == 1) platform_.writeBudget = static_cast<std::uint64_t>(Pick(0, 40));
        if (trouble_ == 2) platform_.writeDeniedPaths = {HostsPath(platform_)};
        platform_.administrator = !Chance(20);
        elevate_ = Chance(50);
        platform_.answersByPrompt = {{std::u16string(ElevationQuestion), elevate_ ? Answer::Yes : Answer::No}};
        for (int i = 0; i < 3; ++i) platform_.answers.push_back(Pick(0, 3) == 0 ? 2 : (Chance(50) ? 1 : 6));
    }

    void Type() {
        const auto box = static_cast<TextBox>(Pick(0, 3));
        window_.text(box) = box == TextBox::HostsText && Chance(50) ? Decode(model_.hosts.value_or("")) + RandomText(30)
                                                                  : RandomText(20);
        if (box == TextBox::HostsText) window_.modified = true;
    }

    void ChangeFilesBehindTheProgram() {
        if (Chance(30)) {
            if (model_.hosts) platform_.RemoveFile(HostsPath(platform_));
            model_.hosts.reset();
        } else {
            model_.hosts = Encode(RandomText(60));
            platform_.PutFile(HostsPath(platform_), *model_.hosts);
        }
    }

    std::string Encode(std::u16string_view text) { return platform_.ToAnsi(text); }
    std::u16string Decode(std::string_view bytes) { return DecodeAnsi(platform_, bytes); }

    using Write = HostsFilesModel::Write;

    // What becomes of a write of `bytes` to the hosts file under the trouble
    // injected.
    Write HostsWrite(std::size_t bytes) const {
        if (trouble_ == 0 || trouble_ == 2) {  // refused for want of rights
            if (platform_.administrator) return Write::FailsAtOpen;
            if (!elevate_) return Write::Declined;
            // The write is based on the file as this process reads it: one
            // it may not read either cannot be handed over.
            if (trouble_ == 0 && model_.hosts) return Write::FailsAtOpen;
            return Write::Done;
        }
        return platform_.writeBudget && *platform_.writeBudget < bytes ? Write::FailsAtWrite : Write::Done;
    }

    // The same for the backup, which only this process writes.
    Write BackupWrite(std::size_t bytes) const {
        if (trouble_ == 0) return Write::FailsAtOpen;
        return platform_.writeBudget && *platform_.writeBudget < bytes ? Write::FailsAtWrite : Write::Done;
    }

    void Click(int action) {
        const std::u16string text1 = window_.text(TextBox::HostsText);
        const std::u16string text2 = window_.text(TextBox::Address);
        const std::u16string text3 = window_.text(TextBox::HostName);
        const std::size_t reportsBefore = platform_.reported.size();
        const bool ok = !platform_.answers.empty() && platform_.answers.front() == Answer::Ok;
        const bool yes = !platform_.answers.empty() && platform_.answers.front() == Answer::Yes;
        const auto write = [&](std::size_t bytes) { return HostsWrite(bytes); };
        bool expectFailure = false;

        switch (action) {
            case 6: model_.AppendAddressLine(text2, yes, write); Run<AppendAddressLine>(); break;
            case 7: expectFailure = model_.AppendEntry(text2, text3, yes, write); Run<AppendEntry>(); break;
            case 8: {
                expectFailure = model_.Save(text1, yes, write);
                const bool saved = model_.seen == Encode(text1) + "\r\n" && !expectFailure;
                Run<SaveHostsFile>();
                if (saved) {
                    EXPECT_FALSE(window_.modified);
                }
                break;
            }
            case 9:
                expectFailure = model_.AppendUnlessDefined(text2, text3, yes, write);
                Run<AppendEntryUnlessDefined>();
                break;
            case 10: expectFailure = model_.RestoreDefault(ok, write); Run<RestoreDefaultHosts>(); break;
            case 11: {  // refresh
                // The answers its questions will get, in order: Cancel once they run out.
                std::size_t asked = 0;
                const auto answer = [&](std::size_t n) {
                    return n < platform_.answers.size() ? platform_.answers[n] : Answer::Cancel;
                };
                if (window_.modified && answer(asked++) != Answer::Ok) {  // the user keeps the unsaved edits
                    Run<RefreshHostsFile>();
                    break;
                }
                const bool present = model_.hosts.has_value();
                const bool offered = !present && platform_.administrator;
                if (offered && answer(asked) != Answer::Ok) {
                    // Cancel ends the program: the one step allowed to.
                    platform_.answers.resize(std::max(platform_.answers.size(), asked + 1), Answer::Ok);
                    platform_.answers[asked] = Answer::Ok;
                }
                if (present) {
                    expectFailure = trouble_ == 0;
                } else if (offered) {
                    expectFailure = model_.RestoreDefault(true, write);
                }
                Run<RefreshHostsFile>();
                if ((present || offered) && !expectFailure) {
                    EXPECT_EQ(window_.text(TextBox::HostsText), model_.LoadedText());
                    model_.Loaded();
                }
                if (expectFailure) {
                    EXPECT_EQ(window_.text(TextBox::HostsText), text1) << "a failed load keeps Text1";
                }
                break;
            }
            case 12:
                expectFailure = model_.Backup([&](std::size_t bytes) { return BackupWrite(bytes); });
                Run<BackUpHostsFile>();
                break;
            case 13: expectFailure = model_.Restore(trouble_ == 0, write); Run<RestoreHostsFromBackup>(); break;
            case 14: window_.caret = static_cast<std::size_t>(Pick(0, static_cast<int>(text1.size())));
                     Run<PickClickedLine>(); break;
            case 15: Run<ShowEqualLines>(); break;
            case 16: Run<ShowTermsFound>(); break;
            case 17: Run<ShowLinesContaining>(); break;
            case 18: Run<ToggleWidth>(); break;
            case 19: Run<ShowHostsInExplorer>(); break;
            case 20: Run<OpenHostsInNotepad>(); break;
            default: Run<GrantEveryoneAccess>(); break;
        }
        EXPECT_EQ(platform_.reported.size() - reportsBefore, expectFailure ? 1u : 0u) << "action " << action;
        if (action != 11 && action != 14) {
            EXPECT_EQ(window_.text(TextBox::HostsText), text1) << "only a load changes Text1";
        }
    }

    template <auto handler>
    void Run() {
        RunCommand(AsCommand<handler>(), window_, platform_);
    }

    std::mt19937 random_;
    FakePlatform platform_;
    FakeWindow window_;
    HostsFilesModel model_{{[this](std::u16string_view text) { return Encode(text); },
                            [this](std::string_view bytes) { return Decode(bytes); },
                            [this](std::u16string_view text) { return platform_.ToUpper(text); }}};
    int trouble_ = -1;
    bool elevate_ = false;
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
