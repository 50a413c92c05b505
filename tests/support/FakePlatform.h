#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "support/ScriptedMessages.h"

namespace quenlix::testing {

// An in-memory stand-in for the operating system: files, message boxes
// answered from a script, programs recorded (those waited for give back a
// scripted exit), failures on demand.
// Its case mapping is ASCII, and its "ANSI code page" a small one of its own
// with '?' as the default character, so tests see conversions happen
// without Win32: Latin-1, except that 0x80 is undefined and 0x81 to 0x9F are
// lead bytes, each followed by a trail byte from 0x40 to 0xFE other than
// 0x7F, for the characters from U+3400 on (FakeAnsiPair). Two of those pairs
// decode to a character that single bytes give too (81 40 and 9F FE, as
// 0xE9 'é' and 0xA5 '¥'), as a real code page may have two sequences for
// one character.
class FakePlatform : public Platform, public ScriptedMessages {
public:
    struct FakeFile {
        std::string bytes;
        bool directory = false;
        bool hidden = false;
        bool system = false;
        bool readOnly = false;
        std::uint64_t writeTime = 0;
    };
    struct Started {
        std::u16string commandLine;
        int windowStyle;
    };
    struct Ran {
        std::u16string program;
        std::u16string arguments;
        int windowStyle;
        std::chrono::milliseconds timeout;
    };

    // --- What the test arranges ---
    std::u16string programDirectory = u"D:\\Tools";
    std::u16string systemWindowsDirectory = u"C:\\WINDOWS";
    // How many bytes ReadFilePieces hands over at a time.
    std::size_t pieceSize = 5;
    bool administrator = true;
    std::u16string everyoneGroupName = u"Everyone";
    // What every program the platform runs and waits for gives back.
    ProgramExit programExit = 0u;
    // The number AnsiCodePage reports; the conversions are the fake's own.
    std::uint32_t ansiCodePage = 936;
    // Paths whose opening for writing (or reading) is refused, as access denied.
    std::vector<std::u16string> deniedPaths;
    // Paths that may be read but not written, nor their attributes changed:
    // the hosts file as a user without administrator rights finds it.
    std::vector<std::u16string> writeDeniedPaths;
    // Folders that do not exist: any path inside them cannot be opened.
    std::vector<std::u16string> missingFolders;
    // The write faults below (budget, flush, length, lock) are the disk of
    // the files a command works on: the program's own files under the local
    // application data folder (history copies, journal, staged writes) do not
    // meet them, so that a test breaks the one write it means to. Those fail
    // through missingFolders, deniedPaths or ownFilesFail.
    // When set, writing fails once this many more bytes have been written.
    std::optional<std::uint64_t> writeBudget;
    // When set, the session ends (SessionEnds is thrown, and nothing gets to
    // undo anything) once this many more bytes have been written: a crash or
    // a power cut in the middle of a write.
    std::optional<std::uint64_t> sessionEndsAfter;
    // Every write to one of the program's own files fails, as on a full disk.
    bool ownFilesFail = false;
    bool writesKeepFailing = false;
    bool flushFails = false;
    bool setLengthFails = false;
    bool startFails = false;
    // Paths that another program holds open: opening or reading them fails
    // with `busyFailure` until the platform has paused `busyFor` in all.
    std::vector<std::u16string> busyPaths;
    std::chrono::milliseconds busyFor{0};
    std::uint32_t busyFailure = FailureNumber::SharingViolation;
    // When set, changing attributes fails (access denied) once this many more
    // changes have gone through.
    std::optional<int> attributeChangesAllowed;
    // Every write to an open file fails as locked by another program until
    // the platform has paused this long in all.
    std::chrono::milliseconds writesLockedFor{0};

    std::u16string localAppDataDirectory = u"C:\\Users\\user\\AppData\\Local";
    // Drives ("Z:") that are no local fixed disk: a share mapped to a letter,
    // a USB stick.
    std::vector<std::u16string> notFixedDrives;
    // The file system's clock (FileTimeNow): every write stamps the file with
    // it and moves it on a tick, so that files written one after another
    // have times in that order. Starts at 2026-12-07 18:30:12 UTC.
    std::uint64_t fileTime = 134'096'778'120'000'000;
    // What LocalTimeNow reports; it stands still unless the test moves it.
    LocalTime localTime{2026, 12, 7, 18, 30, 12};
    // What RunElevatedInstance does: a stand-in for the launcher and the
    // second instance (support/ElevatedInstanceStandIn.h). Unset, the
    // instance cannot be started.
    std::function<ProgramExit(std::u16string_view arguments)> elevatedInstance;
    // Runs when a file that was written to is closed: what another program
    // does to it right after.
    std::function<void(const std::u16string& path)> afterWrittenFileCloses;

    // --- What the test reads back ---
    std::vector<Started> started;
    std::vector<Ran> ran;
    std::vector<Failure> reported;
    int administratorQueries = 0;
    int openFiles = 0;
    int dnsCacheFlushes = 0;
    // The arguments of every start of the elevated instance, and the folders
    // made.
    std::vector<std::u16string> elevatedRuns;
    std::vector<std::u16string> madeDirectories;
    // Every change of a file's attributes: the bits asked for, in order.
    std::vector<std::uint32_t> attributeChanges;
    // Every pause, in order; the fake's clock is their sum.
    std::vector<std::chrono::milliseconds> pauses;
    std::chrono::milliseconds Paused() const;

    // Files, keyed by path; paths are compared without regard to letter case.
    void PutFile(std::u16string_view path, std::string bytes);
    std::optional<std::string> FileBytes(std::u16string_view path) const;
    FakeFile& File(std::u16string_view path);
    bool Has(std::u16string_view path) const;

    int ShowMessage(std::u16string_view prompt, std::uint32_t style,
                    std::optional<std::u16string_view> title) override {
        return Respond(prompt, style, title);
    }
    void StartProgram(std::u16string_view commandLine, int windowStyle) override;
    ProgramExit RunSystemProgram(std::u16string_view program, std::u16string_view arguments, int windowStyle,
                                 std::chrono::milliseconds timeout) override;
    std::u16string ProgramDirectory() override { return programDirectory; }
    void ReportFailure(const Failure& failure) override { reported.push_back(failure); }

    std::u16string SystemWindowsDirectory() override { return systemWindowsDirectory; }
    std::uint32_t AnsiCodePage() override { return ansiCodePage; }
    bool IsAnsiLeadByte(unsigned char byte) override { return byte >= 0x81 && byte <= 0x9F; }
    bool AppendFromAnsi(std::u16string& text, std::string_view bytes) override;
    bool AppendToAnsi(std::string& bytes, std::u16string_view text) override;
    void ToUpperInPlace(std::span<char16_t> text) override;
    std::u16string ToLower(std::u16string_view text) override;

    bool FileExists(std::u16string_view path) override;
    std::string ReadFileBytes(std::u16string_view path) override;
    void ReadFilePieces(std::u16string_view path,
                        const std::function<void(std::string_view, std::uint64_t)>& piece) override;
    std::unique_ptr<WritableFile> OpenForWriting(std::u16string_view path, Creation creation) override;
    void RemoveFile(std::u16string_view path) override;
    bool IsOnLocalFixedDrive(std::u16string_view path) override;
    std::string ReadPlainLocalFile(std::u16string_view path, std::uint64_t mostBytes) override;
    std::vector<FolderEntry> FilesInFolder(std::u16string_view folder) override;
    std::optional<std::uint32_t> FileAttributesOf(std::u16string_view path) override;
    void ChangeFileAttributes(std::u16string_view path, std::uint32_t attributes) override;

    bool IsAdministrator() override {
        ++administratorQueries;
        return administrator;
    }
    std::u16string EveryoneGroupName() override { return everyoneGroupName; }

    void FlushDnsCache() override { ++dnsCacheFlushes; }
    // Not SHA-256: a stand-in digest, with no strength against a forger, that
    // tells apart any two contents a test writes.
    Sha256Digest Sha256(std::string_view bytes) override;
    std::u16string LocalAppDataDirectory() override { return localAppDataDirectory; }
    void MakeDirectory(std::u16string_view path) override;
    ProgramExit RunElevatedInstance(std::u16string_view arguments, std::chrono::milliseconds timeout) override;
    std::u16string ErrorDescription(std::uint32_t number) override;
    // The files whose path starts with `folder` and a backslash.
    std::vector<std::u16string> FilesIn(std::u16string_view folder) const;
    void Pause(std::chrono::milliseconds duration) override { pauses.push_back(duration); }
    LocalTime LocalTimeNow() override { return localTime; }
    std::uint64_t FileTimeNow() override { return fileTime; }
    // Stamps the file at `path` as written now (see fileTime).
    void Touch(std::u16string_view path) { File(path).writeTime = fileTime++; }

    // Whether `path` is one of the program's own files, which the write
    // faults leave alone.
    bool IsOwnFile(std::u16string_view path) const;
    // Files open for writing, which others can neither open for writing nor
    // remove meanwhile, as Win32's share modes have it: path to handles.
    std::map<std::u16string, int> heldForWriting;
    // Counts written bytes against writeBudget and sessionEndsAfter; throws
    // when one runs out.
    void ChargeWrite(std::uint64_t& allowed, std::uint64_t wanted);

private:
    static std::u16string Key(std::u16string_view path);
    bool Denied(std::u16string_view path) const;
    bool WriteDenied(std::u16string_view path) const;
    void CheckBusy(std::u16string_view path) const;
    void CheckFolder(std::u16string_view path) const;
    std::map<std::u16string, FakeFile> files_;
};

// The character a lead and a trail byte of the fake's code page decode to,
// when they are a pair of it.
std::optional<char16_t> FakeAnsiPair(unsigned char lead, unsigned char trail);

// What the fake throws when the session ends in the middle of a write: no
// Failure, so that nothing in the program catches it to undo the write.
struct SessionEnds {};

// The failure the fake throws for a refused open: Win32's access denied.
inline constexpr std::uint32_t AccessDenied = FailureNumber::AccessDenied;

}  // namespace quenlix::testing
