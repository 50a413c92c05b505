#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <iterator>
#include <random>
#include <vector>

#include "hosts/HostsEncoding.h"
#include "hosts/HostsPaths.h"
#include "hosts/HostsFileReader.h"
#include "hosts/HostsStore.h"
#include "platform/AsciiCase.h"
#include "platform/CommandLine.h"
#include "platform/QuoteArgument.h"
#include "platform/Win32Failure.h"
#include "platform/Win32Platform.h"
#include "platform/Win32SystemLibraries.h"
#include "support/ShippedWrites.h"
#include "support/Win32TempFolder.h"

namespace quenlix {
namespace {

using testing::ReadBytes;
using testing::Win32TempFolder;
using testing::WriteBytes;

std::u16string U16(const std::wstring& s) { return std::u16string(s.begin(), s.end()); }
std::wstring Wide(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

TEST(Win32EnvironmentTest, AnsiCodePageIs936) {
    EXPECT_EQ(GetACP(), 936u);
    EXPECT_EQ(Win32Platform().AnsiCodePage(), 936u);
}

TEST(Win32EncodingTest, ChineseRoundTripsThroughCodePage936) {
    Win32Platform platform;
    const std::u16string text = u"# 中文注释 0.0.0.0 广告.example";
    const std::string bytes = platform.ToAnsi(text);
    EXPECT_EQ(bytes.substr(2, 4), "\xD6\xD0\xCE\xC4");  // 中文 in GBK
    std::u16string decoded = u"x";
    ASSERT_TRUE(platform.AppendFromAnsi(decoded, bytes));
    EXPECT_EQ(decoded, u"x" + text);
}

TEST(Win32EncodingTest, TheStrictDecodeRefusesWhatTheCodePageDoesNotDefine) {
    Win32Platform platform;
    for (const std::string bytes : {"\xE4\xB8\xAD\r\n", "a\xFF", "\x81\x7F", "\xD6"}) {
        std::u16string text = u"kept";
        EXPECT_FALSE(platform.AppendFromAnsi(text, bytes)) << bytes;
        EXPECT_EQ(text, u"kept");
    }
    EXPECT_TRUE(platform.IsAnsiLeadByte(0x81));
    EXPECT_TRUE(platform.IsAnsiLeadByte(0xFE));
    EXPECT_FALSE(platform.IsAnsiLeadByte(0x80));
    EXPECT_FALSE(platform.IsAnsiLeadByte(0xFF));
    EXPECT_FALSE(platform.IsAnsiLeadByte('@'));
}

// Look-alikes ("2" for "²", "à" for "À", which Wine's code page 936 gives
// without WC_NO_BEST_FIT_CHARS) never stand in for a character: it is the
// default character, and counted, so that a save can ask first.
TEST(Win32EncodingTest, ACharacterOutsideTheCodePageBecomesTheDefaultCharacter) {
    Win32Platform platform;
    EXPECT_EQ(platform.ToAnsi(u"a\u0E01b"), "a?b");  // a Thai letter: not in code page 936
    std::string bytes;
    EXPECT_FALSE(platform.AppendToAnsi(bytes, u"\u00B2\u00C0"));
    EXPECT_EQ(bytes, "??");
    EXPECT_TRUE(platform.AppendToAnsi(bytes, u"中\u20AC"));
    EXPECT_EQ(bytes, "??\xD6\xD0\x80");

    std::size_t lost = 0;
    const std::u16string text = u"a\u00B2\u00C0\xDC80\xDCFF中?\u0E01";
    EXPECT_EQ(EncodeText(platform, text, HostsEncoding::Ansi, &lost), "a??\x80\xFF\xD6\xD0??");
    EXPECT_EQ(lost, 3u) << "escaped bytes and a real '?' are no loss";
    EncodeText(platform, u"\U0001F600 \U0001F600", HostsEncoding::Ansi, &lost);
    EXPECT_EQ(lost, 2u) << "a character outside the BMP is one character";
}

TEST(Win32EncodingTest, CaseMappingIsThePlatformsCharacterByCharacter) {
    Win32Platform platform;
    EXPECT_EQ(platform.ToUpper(u"MyHost.例子.com"), u"MYHOST.例子.COM");
    EXPECT_EQ(platform.ToLower(u"MYHOST 例子"), u"myhost 例子");
}

// The platform maps ASCII itself and hands only the other units to the
// system: what it gives must be exactly what CharUpperBuffW gives the same
// text, for every code unit alone, for every unit amid others and amid ASCII
// (lone surrogates, pairs, runs of every length), and for random mixed text.
TEST(Win32EncodingTest, UpperCaseIsExactlyTheSystemsForEveryUnit) {
    Win32Platform platform;
    const auto system = [](std::u16string text) {
        CharUpperBuffW(reinterpret_cast<wchar_t*>(text.data()), static_cast<DWORD>(text.size()));
        return text;
    };
    std::u16string every;
    for (unsigned unit = 0; unit <= 0xFFFF; ++unit) {
        const std::u16string one(1, static_cast<char16_t>(unit));
        ASSERT_EQ(platform.ToUpper(one), system(one)) << std::hex << unit;
        every.push_back(static_cast<char16_t>(unit));
    }
    // All units in order (0xDBFF then 0xDC00 make a pair), then cut into
    // runs of 1 to 13 units with ASCII between them, letters and not.
    ASSERT_EQ(platform.ToUpper(every), system(every));
    std::u16string runs;
    for (std::size_t at = 0, length = 1; at < every.size(); at += length, length = length % 13 + 1) {
        runs += every.substr(at, length);
        runs += u"az.Z09"[at % 6];
    }
    ASSERT_EQ(platform.ToUpper(runs), system(runs));

    // Letters of many scripts, those whose capital is ASCII (dotless i, long
    // s) and those that have none, combining marks, full-width letters,
    // surrogates paired and alone, next to ASCII of every kind.
    static constexpr char16_t units[] = {
        u'a', u'z', u'A', u'{', u'`', u'@', u'[', u'0', u' ', u'\r', u'\n', u'\0', u'#', u'.',
        0x00E0, 0x00FF, 0x00DF, 0x0131, 0x017F, 0x01C5, 0x0307, 0x03C2, 0x03C3, 0x0450, 0x0561,
        0x1E9E, 0x1F80, 0x2170, 0x24D0, 0x4E2D, 0x6587, 0x3000, 0xFF41, 0xFF5A, 0xD801, 0xDC28,
        0xD83D, 0xDE00, 0xDC80, 0xDCFF, 0xFFFF, 0xFEFF, 0x2400};
    std::mt19937 rng(5);
    for (int round = 0; round < 3000; ++round) {
        std::u16string text;
        for (std::size_t i = 0, n = rng() % 70; i < n; ++i) text.push_back(units[rng() % std::size(units)]);
        ASSERT_EQ(platform.ToUpper(text), system(text)) << "round " << round;
    }
}

// Hidden, system and read-only files are files all the same; a directory is
// none. CREATE_NEW never opens a file that exists, hidden or not.
TEST(Win32FilesTest, EveryFileExistsWhateverItsAttributes) {
    Win32TempFolder folder;
    Win32Platform platform;
    WriteBytes(folder / L"plain", "x");
    WriteBytes(folder / L"readonly", "x");
    SetFileAttributesW((folder / L"readonly").c_str(), FILE_ATTRIBUTE_READONLY);
    WriteBytes(folder / L"hidden", "x");
    SetFileAttributesW((folder / L"hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
    WriteBytes(folder / L"system", "x");
    SetFileAttributesW((folder / L"system").c_str(), FILE_ATTRIBUTE_SYSTEM);
    CreateDirectoryW((folder / L"folder").c_str(), nullptr);

    EXPECT_TRUE(platform.FileExists(folder.U16(L"plain")));
    EXPECT_TRUE(platform.FileExists(folder.U16(L"readonly")));
    EXPECT_TRUE(platform.FileExists(folder.U16(L"hidden")));
    EXPECT_TRUE(platform.FileExists(folder.U16(L"system")));
    EXPECT_FALSE(platform.FileExists(folder.U16(L"folder")));
    EXPECT_FALSE(platform.FileExists(folder.U16(L"missing")));
    EXPECT_FALSE(platform.FileExists(folder.U16(L"no\\such\\folder")));

    EXPECT_THROW(testing::WriteStock(platform, folder.U16(L"hidden"), Creation::OnlyIfNew), Failure);
    EXPECT_EQ(ReadBytes(folder / L"hidden"), "x");
    EXPECT_TRUE(GetFileAttributesW((folder / L"hidden").c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(testing::WriteStock(platform, folder.U16(L"new"), Creation::OnlyIfNew).written);
    EXPECT_EQ(ReadBytes(folder / L"new").size(), 836u);
}

TEST(Win32FilesTest, TheStoreReadsAndWritesCodePage936WithCrLf) {
    Win32TempFolder folder;
    Win32Platform platform;
    const auto path = folder.U16(L"hosts");
    WriteBytes(folder / L"hosts", "127.0.0.1 \xD6\xD0\xCE\xC4\n::1 a\rb");
    EXPECT_EQ(ReadHostsFile(platform, path).text, u"127.0.0.1 中文\n::1 a\r\nb\r\n");
    testing::SaveText(platform, path, u"0.0.0.0 广告\r\n");
    EXPECT_EQ(ReadBytes(folder / L"hosts"), "0.0.0.0 \xB9\xE3\xB8\xE6\r\n");
    testing::AppendLine(platform, path, u"x");
    EXPECT_EQ(ReadBytes(folder / L"hosts"), "0.0.0.0 \xB9\xE3\xB8\xE6\r\nx\r\n");
    testing::SaveText(platform, path, u"0.0.0.0 广告");
    testing::AppendLine(platform, path, u"x");
    EXPECT_EQ(ReadBytes(folder / L"hosts"), "0.0.0.0 \xB9\xE3\xB8\xE6\r\nx\r\n");
    testing::WriteStock(platform, path);
    EXPECT_EQ(ReadBytes(folder / L"hosts").size(), 836u);
}

TEST(Win32FilesTest, ASaveKeepsTheFilesAttributes) {
    Win32TempFolder folder;
    Win32Platform platform;
    WriteBytes(folder / L"hosts", "old\r\n");
    SetFileAttributesW((folder / L"hosts").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    testing::SaveText(platform, folder.U16(L"hosts"), u"a much longer new content than before");
    EXPECT_EQ(ReadBytes(folder / L"hosts"), "a much longer new content than before\r\n");
    EXPECT_TRUE(GetFileAttributesW((folder / L"hosts").c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

// Real refusals from the system: each is a failure with the system's number,
// and the file keeps every byte.
TEST(Win32FilesTest, RefusedWritesFailAndChangeNothing) {
    Win32TempFolder folder;
    Win32Platform platform;
    const auto path = folder.U16(L"hosts");
    WriteBytes(folder / L"hosts", "keep\r\n");

    // (The read-only attribute is not tried here: Wine running as root does
    // not enforce it. The fake platform covers that refusal.)

    // Held open without sharing by another program.
    HANDLE held = CreateFileW((folder / L"hosts").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    try {
        testing::SaveText(platform, path, u"new");
        ADD_FAILURE() << "a file held by another program was overwritten";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.Number(), static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION));
        EXPECT_FALSE(failure.Description().empty());
    }
    EXPECT_THROW(testing::AppendLine(platform, path, u"new"), Failure);
    EXPECT_THROW(testing::WriteStock(platform, path), Failure);
    EXPECT_THROW(ReadHostsFile(platform, path), Failure);
    CloseHandle(held);
    EXPECT_EQ(ReadBytes(folder / L"hosts"), "keep\r\n");

    // A folder where the file should be, and a missing folder.
    CreateDirectoryW((folder / L"dir").c_str(), nullptr);
    EXPECT_THROW(testing::SaveText(platform, folder.U16(L"dir"), u"x"), Failure);
    EXPECT_THROW(testing::AppendLine(platform, folder.U16(L"missing\\hosts"), u"x"), Failure);
    EXPECT_THROW(ReadHostsFile(platform, folder.U16(L"missing\\hosts")), Failure);
}

// "windir" is the user's to set, to anything; the hosts file is the one of
// the Windows that runs, whatever it says.
TEST(Win32SystemTest, TheHostsFileIsBelowTheSystemsOwnFolderWhateverWindirSays) {
    wchar_t own[MAX_PATH] = {};
    GetEnvironmentVariableW(L"windir", own, MAX_PATH);
    for (const wchar_t* windir : {L"", L"D:\\Win 10", L"C:\\w&echo.INJECTED1>C:\\inj1.txt&rem",
                                  L"C:\\a\" & echo INJECTED2>C:\\inj2.txt & \"b"}) {
        SetEnvironmentVariableW(L"windir", *windir == L'\0' ? nullptr : windir);
        Win32Platform platform;
        std::u16string path = HostsPath(platform);
        for (char16_t& c : path) c = AsciiLower(c);
        EXPECT_EQ(path, u"c:\\windows\\system32\\drivers\\etc\\hosts") << std::string(windir, windir + wcslen(windir));
    }
    SetEnvironmentVariableW(L"windir", own);
}

// The name is the system's own for S-1-1-0, the one its tools look up.
TEST(Win32SystemTest, TheEveryoneGroupIsNamedAsTheSystemNamesS110) {
    Win32Platform platform;
    const std::wstring name = Wide(platform.EveryoneGroupName());
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD sidSize = sizeof sid;
    wchar_t domain[256];
    DWORD domainSize = 256;
    SID_NAME_USE use;
    ASSERT_TRUE(LookupAccountNameW(nullptr, name.c_str(), sid, &sidSize, domain, &domainSize, &use))
        << std::string(name.begin(), name.end());
    SID everyone{SID_REVISION, 1, SECURITY_WORLD_SID_AUTHORITY, {SECURITY_WORLD_RID}};
    EXPECT_TRUE(EqualSid(sid, &everyone));
}

// What the system's own parser makes of each quoted argument is the
// argument, whatever it holds; the program's path comes first, as in every
// command line the program builds.
TEST(Win32QuoteArgumentTest, CommandLineToArgvWGivesEveryArgumentBackWhole) {
    const std::u16string program = u"C:\\windows\\system32\\cacls.exe";
    const std::u16string arguments[] = {
        u"", u"plain", u" ", u"D:\\Win 10\\", u"\\\\server\\share\\\\", u"\"", u"\\\"", u"a\"b", u"a\\\"b",
        u"a\\\\\"b", u"\"\"", u"C:\\w&echo.INJECTED1>C:\\inj1.txt&rem", u"C:\\a\" & echo INJECTED2>C:\\inj2.txt & \"b",
        u"下载 100% ^_^ \t|<>", u"%windir%", u"Tout le monde:F"};
    std::u16string line = QuoteArgument(program);
    for (const std::u16string& argument : arguments) line += u" " + QuoteArgument(argument);
    int count = 0;
    LPWSTR* parsed = CommandLineToArgvW(Wide(line).c_str(), &count);
    ASSERT_NE(parsed, nullptr);
    ASSERT_EQ(count, static_cast<int>(std::size(arguments)) + 1) << std::string(line.begin(), line.end());
    EXPECT_EQ(parsed[0], Wide(program));
    for (int i = 1; i < count; ++i) EXPECT_EQ(parsed[i], Wide(arguments[i - 1])) << i;
    LocalFree(parsed);
    EXPECT_EQ(ArgumentsAfterProgram(line), std::vector<std::u16string>(std::begin(arguments), std::end(arguments)))
        << "the second instance reads its command line as the system does";
}

// The program's own reading of a command line agrees with the system's on
// lines that no quoting of its own wrote.
TEST(Win32QuoteArgumentTest, ArgumentsAfterProgramSplitsAsCommandLineToArgvW) {
    for (const std::u16string line :
         {u"Quenlix.exe a\tb  c", u"\"C:\\My Tools\\Quenlix.exe\" x", u"q.exe C:\\a\\b\\ d",
          u"q.exe a\\\\\"b c\" d", u"q.exe a\\\\\\\"b", u"q.exe x\"y z\"w", u"q.exe \"open",
          u"q.exe /write-staged-hosts \"C:\\users\\a b\\x\" 0a 1b extra"}) {
        int count = 0;
        LPWSTR* parsed = CommandLineToArgvW(Wide(line).c_str(), &count);
        ASSERT_NE(parsed, nullptr);
        std::vector<std::u16string> system;
        for (int i = 1; i < count; ++i) system.push_back(U16(parsed[i]));
        LocalFree(parsed);
        EXPECT_EQ(ArgumentsAfterProgram(line), system) << std::string(line.begin(), line.end());
    }
}

// The digests the second instance checks come from the system's BCrypt:
// the test vectors of FIPS 180-2, a piece larger than one call hashes among
// them.
TEST(Win32SystemTest, Sha256IsTheSystemsAndMatchesTheStandardsVectors) {
    Win32Platform platform;
    EXPECT_EQ(HexDigits(platform.Sha256("")), u"e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(HexDigits(platform.Sha256("abc")), u"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(HexDigits(platform.Sha256("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")),
              u"248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(HexDigits(platform.Sha256(std::string(1000000, 'a'))),
              u"cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

// The program's own folder for staged writes: below the user's local
// application data folder as the shell knows it, whatever "LOCALAPPDATA" says.
TEST(Win32SystemTest, LocalAppDataComesFromTheShellNotTheEnvironment) {
    Win32Platform platform;
    wchar_t saved[MAX_PATH] = {};
    const bool had = GetEnvironmentVariableW(L"LOCALAPPDATA", saved, MAX_PATH) > 0;
    SetEnvironmentVariableW(L"LOCALAPPDATA", L"C:\\planted");
    const std::u16string folder = platform.LocalAppDataDirectory();
    SetEnvironmentVariableW(L"LOCALAPPDATA", had ? saved : nullptr);
    EXPECT_NE(folder, u"C:\\planted");
    const DWORD attributes = GetFileAttributesW(Wide(folder).c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << std::string(folder.begin(), folder.end());
    EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);

    Win32TempFolder temp;
    platform.MakeDirectory(temp.U16(L"made"));
    platform.MakeDirectory(temp.U16(L"made"));  // there already: fine
    EXPECT_NE(GetFileAttributesW((temp / L"made").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    WriteBytes(temp / L"file", "x");
    EXPECT_THROW(platform.MakeDirectory(temp.U16(L"file")), Failure) << "a file is no folder";
    EXPECT_THROW(platform.MakeDirectory(temp.U16(L"no\\such")), Failure);
    EXPECT_EQ(platform.ErrorDescription(5), Win32Failure(5).Description());
}

TEST(Win32SystemTest, UnderWineTheProcessIsAnAdministrator) {
    Win32Platform platform;
    EXPECT_TRUE(platform.IsAdministrator());
    EXPECT_TRUE(platform.IsAdministrator()) << "asked again, the bound query answers again";
}

TEST(Win32SystemTest, ProgramDirectoryIsTheFolderOfTheExecutable) {
    Win32Platform platform;
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::u16string directory = platform.ProgramDirectory();
    EXPECT_EQ(U16(self).rfind(directory + u"\\", 0), 0u);
    EXPECT_NE(directory.back(), u'\\');
}

TEST(Win32SystemTest, FailureReportNamesNumberAndDescription) {
    const std::u16string text = FailureReportText(Failure(5, u"拒绝访问。"));
    EXPECT_NE(text.find(u"5"), std::u16string::npos);
    EXPECT_NE(text.find(u"拒绝访问。"), std::u16string::npos);
}

// A library asked for by the name of a system library comes from the system
// folder, with the loader of Windows 8 and later as with that of a Windows 7
// lacking KB2533623; one of another name, lying beside the program and in
// the current folder, is never loaded.
TEST(Win32SystemLibrariesTest, ComeFromTheSystemFolderOnlyWithOrWithoutTheSearchFlags) {
    Win32TempFolder current;
    SetCurrentDirectoryW(current.Path().c_str());
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring besideUs(self);
    besideUs.resize(besideUs.find_last_of(L'\\'));
    const std::wstring plantedName = L"quenlix-planted-" + std::to_wstring(GetCurrentProcessId()) + L".dll";
    for (const std::wstring& folder : {current.Path(), besideUs}) {
        const std::wstring planted = folder + L"\\" + plantedName;
        ASSERT_TRUE(CopyFileW(self, planted.c_str(), FALSE));
        HMODULE live = LoadLibraryExW(planted.c_str(), nullptr, 0);  // it can be loaded, by its path
        EXPECT_NE(live, nullptr);
        if (live != nullptr) FreeLibrary(live);
    }
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);

    const LibraryLoader thisSystems = LibraryLoader::OfThisSystem();
    ASSERT_NE(thisSystems.setDefaultDllDirectories, nullptr) << "this loader has no search flags to compare with";
    for (const LibraryLoader& loader : {thisSystems, LibraryLoader{}}) {
        SCOPED_TRACE(loader.setDefaultDllDirectories ? "with the search flags" : "without them");
        const UniqueModule advapi = LoadSystemLibrary(L"advapi32.dll", loader);
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(advapi.Get(), path, MAX_PATH);
        EXPECT_EQ(_wcsicmp(path, (std::wstring(system) + L"\\advapi32.dll").c_str()), 0)
            << std::string(path, path + wcslen(path));
        EXPECT_THROW(LoadSystemLibrary(plantedName.c_str(), loader), Failure);
    }
    DeleteFileW((besideUs + L"\\" + plantedName).c_str());
}

}  // namespace
}  // namespace quenlix
