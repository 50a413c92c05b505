#pragma once

#include <chrono>
#include <cstdint>
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
    // Folders that do not exist: any path inside them cannot be opened.
    std::vector<std::u16string> missingFolders;
    // When set, writing fails once this many more bytes have been written.
    std::optional<std::uint64_t> writeBudget;
    bool writesKeepFailing = false;
    bool flushFails = false;
    bool setLengthFails = false;
    bool startFails = false;

    // --- What the test reads back ---
    std::vector<Started> started;
    std::vector<Ran> ran;
    std::vector<Failure> reported;
    int administratorQueries = 0;
    int openFiles = 0;

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
    std::u16string ToUpper(std::u16string_view text) override;
    std::u16string ToLower(std::u16string_view text) override;

    bool FileExists(std::u16string_view path) override;
    std::string ReadFileBytes(std::u16string_view path) override;
    void ReadFilePieces(std::u16string_view path,
                        const std::function<void(std::string_view, std::uint64_t)>& piece) override;
    std::unique_ptr<WritableFile> OpenForWriting(std::u16string_view path, Creation creation) override;
    void RemoveFile(std::u16string_view path) override;

    bool IsAdministrator() override {
        ++administratorQueries;
        return administrator;
    }
    std::u16string EveryoneGroupName() override { return everyoneGroupName; }

    // Counts written bytes against writeBudget; throws when it runs out.
    void ChargeWrite(std::uint64_t& allowed, std::uint64_t wanted);

private:
    static std::u16string Key(std::u16string_view path);
    bool Denied(std::u16string_view path) const;
    void CheckFolder(std::u16string_view path) const;
    std::map<std::u16string, FakeFile> files_;
};

// The character a lead and a trail byte of the fake's code page decode to,
// when they are a pair of it.
std::optional<char16_t> FakeAnsiPair(unsigned char lead, unsigned char trail);

// The failure the fake throws for a refused open: Win32's access denied.
inline constexpr std::uint32_t AccessDenied = FailureNumber::AccessDenied;

}  // namespace quenlix::testing
