#include <gtest/gtest.h>

#include <deque>
#include <tuple>

#include "commands/EntryCommands.h"
#include "commands/LoadCommands.h"
#include "commands/SaveCommands.h"
#include "edit/DuplicateLines.h"
#include "hosts/HostsStore.h"
#include "platform/MessageStyle.h"
#include "support/FakePlatform.h"
#include "support/FakeWindow.h"
#include "support/ShippedWrites.h"

namespace quenlix {
namespace {

using testing::FakePlatform;
using testing::FakeWindow;

// Below the fake's Windows folder, where every command works.
constexpr std::u16string_view HostsFile = u"C:\\WINDOWS\\system32\\drivers\\etc\\hosts";

struct EntryCommandsTest : ::testing::Test {
    EntryCommandsTest() {
        window.text(TextBox::Address) = u"127.0.0.1";
        window.text(TextBox::HostName) = u"example.com";
    }
    std::string Hosts() { return platform.FileBytes(HostsFile).value_or("<missing>"); }
    // The file as a load leaves it: on disk, and remembered by the window.
    void Loaded(const std::string& bytes) {
        platform.PutFile(HostsFile, bytes);
        window.snapshot = SnapshotBuilder::Of(bytes);
    }

    FakePlatform platform;
    FakeWindow window;
};

TEST_F(EntryCommandsTest, AppendAddressLineAppendsTheAddressAsTyped) {
    platform.PutFile(HostsFile, "a\r\n");
    AppendAddressLine(window, platform);
    window.text(TextBox::Address) = u"";
    AppendAddressLine(window, platform);
    EXPECT_EQ(Hosts(), "a\r\n127.0.0.1\r\n\r\n");
}

TEST_F(EntryCommandsTest, AppendAddressLineNeverReportsAndLeavesARefusedFileAlone) {
    platform.PutFile(HostsFile, "a\r\n");
    platform.deniedPaths = {std::u16string(HostsFile)};
    EXPECT_NO_THROW(AppendAddressLine(window, platform));
    platform.deniedPaths.clear();
    platform.writeBudget = 3;
    EXPECT_NO_THROW(AppendAddressLine(window, platform));
    EXPECT_EQ(Hosts(), "a\r\n");
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(EntryCommandsTest, AppendEntryAppendsTheEntryLineAndARefusedOneNothing) {
    platform.PutFile(HostsFile, "a");
    AppendEntry(window, platform);
    EXPECT_EQ(Hosts(), "a\r\n127.0.0.1 example.com\r\n") << "the last line keeps its entry";

    window.text(TextBox::Address) = u"";
    window.text(TextBox::HostName) = u"";
    platform.answers = {Answer::Yes};  // to the question about the empty address
    AppendEntry(window, platform);
    EXPECT_EQ(Hosts(), "a\r\n127.0.0.1 example.com\r\n \r\n");

    platform.deniedPaths = {std::u16string(HostsFile)};
    EXPECT_THROW(AppendEntry(window, platform), Failure);
    EXPECT_EQ(Hosts(), "a\r\n127.0.0.1 example.com\r\n \r\n") << "a refused append writes nothing";
}

TEST_F(EntryCommandsTest, SaveWritesTheHostsTextWithALineBreakAtItsEnd) {
    Loaded("old\r\n");
    window.text(TextBox::HostsText) = u"a\r\nb\r\n";
    SaveHostsFile(window, platform);
    EXPECT_EQ(Hosts(), "a\r\nb\r\n");
    window.text(TextBox::HostsText) = u"a\r\nb";
    SaveHostsFile(window, platform);
    EXPECT_EQ(Hosts(), "a\r\nb\r\n");
}

TEST_F(EntryCommandsTest, ARefusedSaveKeepsTheFileAndIsAFailure) {
    Loaded("old\r\n");
    platform.deniedPaths = {std::u16string(HostsFile)};
    window.text(TextBox::HostsText) = u"edited";
    EXPECT_THROW(SaveHostsFile(window, platform), Failure);
    EXPECT_EQ(Hosts(), "old\r\n");
    EXPECT_EQ(window.text(TextBox::HostsText), u"edited");
}

TEST_F(EntryCommandsTest, AppendUnlessDefinedNamesTheFirstDuplicateLowerCasedAndWritesNothing) {
    const std::string file = "# 127.0.0.1 myhost\r\n  127.0.0.1 MyHost  \r\n127.0.0.1 MYHOST.lan\r\n";
    platform.PutFile(HostsFile, file);
    window.text(TextBox::HostName) = u"myhost";
    AppendEntryUnlessDefined(window, platform);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].prompt, u"定义有重复\n127.0.0.1 myhost");
    EXPECT_EQ(platform.messages[0].style, Mb::Ok);
    EXPECT_FALSE(platform.messages[0].title) << "no title: the application's own shows";
    EXPECT_EQ(Hosts(), file);
}

TEST_F(EntryCommandsTest, AppendUnlessDefinedAppendsANewEntryAsTyped) {
    platform.PutFile(HostsFile, "127.0.0.1\tExample.com\r\n127.0.0.1  example.com\r\n");
    window.text(TextBox::HostName) = u"Example.com";
    AppendEntryUnlessDefined(window, platform);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(Hosts(), "127.0.0.1\tExample.com\r\n127.0.0.1  example.com\r\n127.0.0.1 Example.com\r\n");
}

using Append = void (*)(WindowState&, Platform&);
constexpr Append Appends[] = {AppendAddressLine, AppendEntry, AppendEntryUnlessDefined};

// The plain append takes the whole line from the address box.
void PutEntry(FakeWindow& window, Append append, std::u16string_view address, std::u16string_view names) {
    window.text(TextBox::Address) = append == Append{AppendAddressLine} ? EntryLine(address, names) : address;
    window.text(TextBox::HostName) = names;
}

std::string Ascii(std::u16string_view text) { return std::string(text.begin(), text.end()); }

TEST_F(EntryCommandsTest, EveryAppendAsksBeforeAnEntryWindowsWouldNotUse) {
    const struct {
        std::u16string_view address, names, question;
    } cases[] = {
        {u"1.2.3", u"my!site", u"“1.2.3” 不是有效的 IPv4 或 IPv6 地址，Windows 不会使用这一行。\n\n是否仍然追加？"},
        {u"1.2.3.4", u"ok my!site", u"主机名“my!site”无效（只能包含字母、数字、“-”和“_”）。\n\n是否仍然追加？"},
        {u"::1", u"a b c d e f g h i j k l", u"一行中有 12 个主机名，Windows 只使用前 9 个。\n\n是否仍然追加？"},
    };
    for (const Append append : Appends) {
        for (const auto& c : cases) {
            for (const int answer : {Answer::No, Answer::Yes}) {
                SCOPED_TRACE(Ascii(c.names) + (answer == Answer::Yes ? ", yes" : ", no"));
                platform.messages.clear();
                Loaded("a\r\n");
                PutEntry(window, append, c.address, c.names);
                platform.answers = {answer};
                append(window, platform);
                ASSERT_EQ(platform.messages.size(), 1u);
                EXPECT_EQ(platform.messages[0].prompt, c.question);
                EXPECT_EQ(platform.messages[0].style, Mb::YesNo | Mb::IconWarning | Mb::DefaultButton2);
                EXPECT_EQ(platform.messages[0].title, u"提示");
                EXPECT_EQ(Hosts(), answer == Answer::Yes ? "a\r\n" + Ascii(EntryLine(c.address, c.names)) + "\r\n"
                                                         : "a\r\n");
            }
        }
    }
}

TEST_F(EntryCommandsTest, AValidEntryIsAppendedWithoutAQuestion) {
    const std::pair<std::u16string_view, std::u16string_view> entries[] = {
        {u"127.0.0.1", u"localhost"},
        {u"::1", u"my_pc nas.lan."},
        {u"fe80::1%12", u"a b c d e f g h i # j k"},
        {u"::ffff:1.2.3.4", u"_sip._tcp.example.com"},
    };
    for (const Append append : Appends) {
        Loaded("");
        std::string expected;
        for (const auto& [address, names] : entries) {
            PutEntry(window, append, address, names);
            append(window, platform);
            expected += Ascii(EntryLine(address, names)) + "\r\n";
        }
        EXPECT_EQ(Hosts(), expected);
    }
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(EntryCommandsTest, AppendAddressLineChecksOnlyALineThatReadsAsAnEntry) {
    Loaded("");
    for (const std::u16string_view line : {u"1.2.3", u"# 1.2.3 my!site", u"  \t", u"localhost"}) {
        window.text(TextBox::Address) = line;
        AppendAddressLine(window, platform);
    }
    EXPECT_EQ(Hosts(), "1.2.3\r\n# 1.2.3 my!site\r\n  \t\r\nlocalhost\r\n");
    EXPECT_TRUE(platform.messages.empty());

    window.text(TextBox::Address) = u"  1.2.3\tx";
    platform.answers = {Answer::No};
    AppendAddressLine(window, platform);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].prompt, u"“1.2.3” 不是有效的 IPv4 或 IPv6 地址，Windows 不会使用这一行。\n\n是否仍然追加？");
    EXPECT_EQ(Hosts(), "1.2.3\r\n# 1.2.3 my!site\r\n  \t\r\nlocalhost\r\n");
}

// The duplicate test comes first and keeps its own word: a duplicate is
// named, and nothing is asked of it.
TEST_F(EntryCommandsTest, AppendUnlessDefinedAsksAfterItsDuplicateTest) {
    platform.PutFile(HostsFile, "1.2.3 my!site\r\n");
    window.text(TextBox::Address) = u"1.2.3";
    window.text(TextBox::HostName) = u"my!site";
    AppendEntryUnlessDefined(window, platform);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].prompt, u"定义有重复\n1.2.3 my!site");
    EXPECT_EQ(Hosts(), "1.2.3 my!site\r\n");
}

TEST_F(EntryCommandsTest, AppendUnlessDefinedNeedsTheFileToExist) {
    EXPECT_THROW(AppendEntryUnlessDefined(window, platform), Failure);
    EXPECT_FALSE(platform.Has(HostsFile));
}

// A save never silently overwrites what reached the file since Text1 was
// filled: an entry appended since, a restored file, another program's change.
enum class ChangeSinceLoad { OwnAppend, OtherProgram, NeverLoaded };

struct SaveQuestionTest : EntryCommandsTest, ::testing::WithParamInterface<std::tuple<ChangeSinceLoad, int>> {};

TEST_P(SaveQuestionTest, AsksAndDoesWhatTheAnswerSays) {
    const auto [change, answer] = GetParam();
    Loaded("old\r\n");
    window.text(TextBox::HostsText) = u"edited";
    window.modified = true;
    switch (change) {
        case ChangeSinceLoad::OwnAppend: AppendEntry(window, platform); break;
        case ChangeSinceLoad::OtherProgram: platform.PutFile(HostsFile, "by another program\r\n"); break;
        case ChangeSinceLoad::NeverLoaded: window.snapshot.reset(); break;
    }
    const std::string before = Hosts();
    platform.answers = {answer};
    SaveHostsFile(window, platform);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].prompt,
              u"Hosts 文件在上次读取后已被修改（可能是刚追加的条目、还原的内容或其他程序的改动）。\n\n"
              u"继续保存将覆盖这些修改。是否继续保存？");
    EXPECT_EQ(platform.messages[0].style, Mb::YesNo | Mb::IconWarning | Mb::DefaultButton2);
    EXPECT_EQ(platform.messages[0].title, u"提示");
    EXPECT_EQ(Hosts(), answer == Answer::Yes ? "edited\r\n" : before);
    EXPECT_EQ(window.modified, answer != Answer::Yes);
    EXPECT_EQ(window.text(TextBox::HostsText), u"edited");
}

INSTANTIATE_TEST_SUITE_P(EveryChangeAndAnswer, SaveQuestionTest,
                         ::testing::Combine(::testing::Values(ChangeSinceLoad::OwnAppend, ChangeSinceLoad::OtherProgram,
                                                              ChangeSinceLoad::NeverLoaded),
                                            ::testing::Values(Answer::No, Answer::Cancel, Answer::Yes)));

TEST_F(EntryCommandsTest, ASaveAfterASaveOrALoadOrOfAMissingFileAsksNothing) {
    Loaded("old\r\n");
    window.text(TextBox::HostsText) = u"one";
    SaveHostsFile(window, platform);
    window.text(TextBox::HostsText) = u"two";
    SaveHostsFile(window, platform);
    EXPECT_EQ(Hosts(), "two\r\n");
    platform.RemoveFile(HostsFile);
    SaveHostsFile(window, platform);
    EXPECT_EQ(Hosts(), "two\r\n");
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(EntryCommandsTest, ASaveThatCannotReadTheFileWritesNothing) {
    Loaded("old\r\n");
    window.text(TextBox::HostsText) = u"edited";
    platform.deniedPaths = {std::u16string(HostsFile)};
    EXPECT_THROW(SaveHostsFile(window, platform), Failure);
    platform.deniedPaths.clear();
    EXPECT_EQ(Hosts(), "old\r\n");
    EXPECT_TRUE(platform.messages.empty());
}

// Every write keeps the encoding of the file as it is on disk; a missing or
// empty file gets the ANSI code page.
TEST_F(EntryCommandsTest, SavesAndAppendsKeepTheFilesEncoding) {
    const struct {
        std::string file;
        std::string saved;     // Text1 "中" saved
        std::string appended;  // then AppendAddressLine of "x"
    } cases[] = {
        {"", "?\r\n", "?\r\nx\r\n"},  // the fake's code page has no 中
        {"a\r\n", "?\r\n", "?\r\nx\r\n"},
        {"\xE4\xB8\xAD\r\n", "\xE4\xB8\xAD\r\n", "\xE4\xB8\xAD\r\nx\r\n"},
        {"\xEF\xBB\xBF#\r\n", "\xEF\xBB\xBF\xE4\xB8\xAD\r\n", "\xEF\xBB\xBF\xE4\xB8\xAD\r\nx\r\n"},
        {std::string("\xFF\xFE#\0\r\0\n\0", 8), std::string("\xFF\xFE\x2D\x4E\r\0\n\0", 8),
         std::string("\xFF\xFE\x2D\x4E\r\0\n\0x\0\r\0\n\0", 14)},
        {std::string("\xFE\xFF\0#\0\r\0\n", 8), std::string("\xFE\xFF\x4E\x2D\0\r\0\n", 8),
         std::string("\xFE\xFF\x4E\x2D\0\r\0\n\0x\0\r\0\n", 14)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        Loaded(c.file);
        window.text(TextBox::HostsText) = u"中";
        platform.answers = {Answer::No};  // the ANSI code page: write "?" as asked
        SaveHostsFile(window, platform);
        EXPECT_EQ(Hosts(), c.saved);
        window.text(TextBox::Address) = u"x";
        AppendAddressLine(window, platform);
        EXPECT_EQ(Hosts(), c.appended);
    }
}

// Characters the ANSI code page cannot hold never turn into "?" without the
// user's word: the save offers UTF-8 instead, the appends ask first.
TEST_F(EntryCommandsTest, CharactersTheCodePageCannotHoldAreAskedAbout) {
    const std::u16string question =
        u"有 2 个字符无法用 ANSI 编码（代码页 936）保存，将被写成“?”。\n\n是否改用 UTF-8 编码保存？";
    const struct {
        int answer;
        std::string saved;
    } saves[] = {
        {Answer::Yes, "0.0.0.0 \xE4\xB8\xAD\xE6\x96\x87\r\n"},  // UTF-8, no mark
        {Answer::No, "0.0.0.0 ??\r\n"},
        {Answer::Cancel, "old\r\n"},
    };
    for (const auto& c : saves) {
        SCOPED_TRACE(c.answer);
        platform.messages.clear();
        Loaded("old\r\n");
        window.text(TextBox::HostsText) = u"0.0.0.0 中文\r\n";
        window.modified = true;
        platform.answers = {c.answer};
        SaveHostsFile(window, platform);
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].prompt, question);
        EXPECT_EQ(platform.messages[0].style, Mb::YesNoCancel | Mb::IconWarning);
        EXPECT_EQ(platform.messages[0].title, u"提示");
        EXPECT_EQ(Hosts(), c.saved);
        EXPECT_EQ(window.modified, c.answer == Answer::Cancel);
    }
    // A save that the user let go to UTF-8 stays UTF-8 from then on.
    window.text(TextBox::HostsText) = u"0.0.0.0 中\r\n";
    platform.messages.clear();
    Loaded("0.0.0.0 \xE4\xB8\xAD\xE6\x96\x87\r\n");
    SaveHostsFile(window, platform);
    EXPECT_TRUE(platform.messages.empty());

    using Append = void (*)(WindowState&, Platform&);
    for (const Append append : {Append{AppendAddressLine}, Append{AppendEntry}, Append{AppendEntryUnlessDefined}}) {
        for (const int answer : {Answer::No, Answer::Yes}) {
            platform.messages.clear();
            Loaded("a\r\n");
            window.text(TextBox::Address) = u"1.2.3.4";
            window.text(TextBox::HostName) = u"中.example";
            if (append == Append{AppendAddressLine}) window.text(TextBox::Address) = u"1.2.3.4 中.example";
            platform.answers = {answer};
            append(window, platform);
            ASSERT_EQ(platform.messages.size(), 1u);
            EXPECT_EQ(platform.messages[0].prompt,
                      u"有 1 个字符无法用 ANSI 编码（代码页 936）保存，将被写成“?”。\n\n是否仍然追加？");
            EXPECT_EQ(platform.messages[0].style, Mb::YesNo | Mb::IconWarning | Mb::DefaultButton2);
            EXPECT_EQ(Hosts(), answer == Answer::Yes ? "a\r\n1.2.3.4 ?.example\r\n" : "a\r\n");
        }
    }
}

// Through the commands: a load and a save with no edit give back every byte
// the file held, whatever the program could not decode.
TEST_F(EntryCommandsTest, ALoadAndASaveWithNoEditGiveBackTheFile) {
    using namespace std::string_literals;
    const std::string files[] = {
        "0.0.0.0 a \x80\xFF \x81\r\n\x9F\r\n",                      // undefined bytes, lead bytes before CR
        "\xEF\xBB\xBF" "a \xE4\xB8\r\n\xC0\x80 \xE2\x90\x80\r\n",           // broken UTF-8 after a mark, a real U+2400
        "\xFF\xFE" "a\0\r\0\n\0X"s,                                       // UTF-16 of an odd size
        "1\0.\0""2\0.\0""3\0.\0""4\0 \0b\0.\0e\0x\0a\0m\0p\0l\0e\0\r\0\n\0"s,  // UTF-16 without a mark
        "a\0b\r\n\0\r\n"s,                                               // NUL bytes
    };
    for (const std::string& file : files) {
        SCOPED_TRACE(::testing::PrintToString(file));
        platform.PutFile(HostsFile, file);
        ASSERT_EQ(LoadHostsWindow(window, platform), LoadOutcome::ShowWindow);
        window.modified = true;
        SaveHostsFile(window, platform);
        EXPECT_EQ(Hosts(), file);
        EXPECT_TRUE(platform.messages.empty());
    }
}

// A file deleted (or emptied) since the load has no encoding of its own any
// more: the save keeps the one the text came in, so Chinese text in a UTF-8
// file does not turn into "?".
TEST_F(EntryCommandsTest, AFileGoneSinceTheLoadKeepsTheEncodingItHadThen) {
    for (const bool deleted : {true, false}) {
        Loaded("\xEF\xBB\xBF\xE4\xB8\xAD\r\n");
        window.encoding = HostsEncoding::Utf8WithMark;
        if (deleted) {
            platform.RemoveFile(HostsFile);
        } else {
            platform.PutFile(HostsFile, "");
        }
        platform.answers = {Answer::Yes};
        window.text(TextBox::HostsText) = u"中\r\n";
        SaveHostsFile(window, platform);
        EXPECT_EQ(Hosts(), "\xEF\xBB\xBF\xE4\xB8\xAD\r\n") << deleted;
        EXPECT_EQ(window.encoding, HostsEncoding::Utf8WithMark);
    }
}

// The stock file holds its sample entries only in comments.
TEST_F(EntryCommandsTest, AppendUnlessDefinedOnTheStockFileAppends) {
    testing::WriteStock(platform, HostsFile);
    const std::string stock = Hosts();
    window.text(TextBox::HostName) = u"server.example.com";
    AppendEntryUnlessDefined(window, platform);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(Hosts(), stock + "127.0.0.1 server.example.com\r\n");
}

TEST_F(EntryCommandsTest, ClosingWithUnsavedEditsOffersToSaveThem) {
    const struct {
        std::deque<int> answers;
        bool closes;
        std::string file;
    } cases[] = {
        {{Answer::Yes}, true, "edited\r\n"},
        {{Answer::No}, true, "old\r\n"},
        {{Answer::Cancel}, false, "old\r\n"},
        {{Answer::Yes, Answer::No}, false, "changed\r\n"},  // the file changed, and the user keeps it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        platform.messages.clear();
        Loaded("old\r\n");
        if (c.answers.size() == 2) platform.PutFile(HostsFile, "changed\r\n");
        window.text(TextBox::HostsText) = u"edited";
        window.modified = true;
        platform.answers = c.answers;
        EXPECT_EQ(MayCloseWindow(window, platform), c.closes);
        EXPECT_EQ(Hosts(), c.file);
        ASSERT_FALSE(platform.messages.empty());
        EXPECT_EQ(platform.messages[0].prompt, u"Text1 中的修改尚未保存到 Hosts 文件。\n\n是否在关闭前保存？");
        EXPECT_EQ(platform.messages[0].style, Mb::YesNoCancel | Mb::IconWarning);
        EXPECT_EQ(platform.messages[0].title, u"提示");
    }
    platform.messages.clear();
    window.modified = false;
    EXPECT_TRUE(MayCloseWindow(window, platform));
    EXPECT_TRUE(platform.messages.empty()) << "nothing to save, nothing asked";
}

// The test reads the file as it goes, a few bytes at a time: a file that
// begins as UTF-8 and turns out to be ANSI text further on is tested as ANSI
// text, whatever its first lines seemed to hold.
TEST_F(EntryCommandsTest, AppendUnlessDefinedTestsTheFileAsTheEncodingItTurnsOutToHave) {
    const std::string file = "127.0.0.1 caf\xC3\xA9.com\r\n# some lines later, a comment in ANSI: \xE9t\xE9\r\n";
    struct Case {
        std::u16string host;
        bool duplicate;
    };
    for (const Case& c : {Case{u"caf\u00E9.com", false}, Case{u"CAF\u00C3\u00A9.COM", true}}) {
        FakePlatform fresh;
        fresh.PutFile(HostsFile, file);
        window.text(TextBox::HostName) = c.host;
        AppendEntryUnlessDefined(window, fresh);
        if (c.duplicate) {
            ASSERT_EQ(fresh.messages.size(), 1u);
            EXPECT_EQ(fresh.messages[0].prompt, u"定义有重复\n127.0.0.1 caf\u00C3\u00A9.com");
            EXPECT_EQ(fresh.FileBytes(HostsFile), file);
        } else {
            EXPECT_TRUE(fresh.messages.empty()) << "the line read as UTF-8 is no line of the file";
            EXPECT_EQ(fresh.FileBytes(HostsFile), file + "127.0.0.1 caf\xE9.com\r\n");
        }
    }
}

}  // namespace
}  // namespace quenlix
