#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Failure.h"
#include "platform/Sha256.h"

namespace quenlix {

// Sees a file's bytes a piece at a time, in order, with the file's size.
using PieceReader = std::function<void(std::string_view piece, std::uint64_t fileSize)>;
// Hands a file's bytes to a PieceReader, from the start, each time it is
// called.
using PieceSource = std::function<void(const PieceReader& piece)>;

// How OpenForWriting treats a file that exists already, and a missing one:
// OnlyExisting fails on a missing file (ERROR_FILE_NOT_FOUND) and creates
// none.
enum class Creation { OpenOrCreate, OnlyIfNew, OnlyExisting };

// An open file that a command writes. Closing happens when the object goes:
// no file stays open past the command that opened it.
class WritableFile {
public:
    virtual ~WritableFile() = default;

    // True when the open created the file (it did not exist before).
    virtual bool Created() const = 0;
    virtual std::uint64_t Size() = 0;
    // What the file holds now, seen through this handle without a copy: the
    // view holds until the next WriteAt or SetLength, or the close.
    virtual std::string_view Content() = 0;
    // The same read a piece at a time, through this handle, into room used
    // over and over: for a look at each byte once, far less memory to touch.
    virtual void ReadPieces(const PieceReader& piece) = 0;
    virtual void WriteAt(std::uint64_t offset, std::string_view bytes) = 0;
    // Cuts or extends the file to exactly `length` bytes.
    virtual void SetLength(std::uint64_t length) = 0;
    // Pushes what was written to the disk before the command reports success.
    virtual void Flush() = 0;
};

// A file found in a folder: its name, without the folder, its size, and when
// it was last written, in the file system's own clock (100-nanosecond ticks
// since 1601, UTC, as FileTimeNow gives it).
struct FolderEntry {
    std::u16string name;
    std::uint64_t size = 0;
    std::uint64_t writeTime = 0;
};

// A moment of the local clock, to the second, as the user's calendar reads it.
struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// How a program that was waited for ended: its exit code, or no value when
// it was still running when the wait ran out.
using ProgramExit = std::optional<std::uint32_t>;

// Everything the commands need of the operating system. The Win32 build
// implements it over the real system; tests implement it in memory.
class Platform {
public:
    virtual ~Platform() = default;

    // --- Message boxes, programs, the program's own place ---

    // A modal message box. `style` is made of the Mb flags; returns the
    // pressed button (Answer). No title shows the application's title.
    virtual int ShowMessage(std::u16string_view prompt, std::uint32_t style,
                            std::optional<std::u16string_view> title = std::nullopt) = 0;
    // Starts a whole command line with a show state; never waits for it.
    virtual void StartProgram(std::u16string_view commandLine, int windowStyle) = 0;
    // Runs `program`, a file of the system folder (System32) named without
    // its folder, by its full path with `arguments` after it, and waits for
    // it for at most `timeout`; meanwhile the window that owns the message
    // boxes takes no input but keeps repainting. A program still running
    // then is ended, so that it changes nothing after the caller has said it
    // did not. Fails when the program cannot start.
    virtual ProgramExit RunSystemProgram(std::u16string_view program, std::u16string_view arguments,
                                         int windowStyle, std::chrono::milliseconds timeout) = 0;
    // The directory of the program's executable, as the system reports it.
    virtual std::u16string ProgramDirectory() = 0;
    // The standard error report: a message box titled with the application's
    // title that names the failure by number and description.
    virtual void ReportFailure(const Failure& failure) = 0;

    // --- The system's folder, text encoding and case ---

    // The folder the running Windows is installed in, as the system itself
    // reports it. Never an environment variable: any program of the user can
    // set "windir", and an elevated instance inherits it.
    virtual std::u16string SystemWindowsDirectory() = 0;
    // The system's ANSI code page: its number, for messages that name it.
    virtual std::uint32_t AnsiCodePage() = 0;
    // Whether `byte` begins a character of two bytes in it.
    virtual bool IsAnsiLeadByte(unsigned char byte) = 0;
    // Decodes `bytes` onto the end of `text` and returns true; returns false,
    // with `text` as it was, when they hold a sequence the code page does not
    // define. The bytes end between two characters.
    [[nodiscard]] virtual bool AppendFromAnsi(std::u16string& text, std::string_view bytes) = 0;
    // Encodes `text` onto the end of `bytes`, never as a look-alike: a
    // character the code page cannot hold becomes its default character, and
    // the result is false.
    virtual bool AppendToAnsi(std::string& bytes, std::u16string_view text) = 0;
    // AppendToAnsi into a string of its own.
    std::string ToAnsi(std::u16string_view text) {
        std::string bytes;
        AppendToAnsi(bytes, text);
        return bytes;
    }
    // The system's case mapping, character by character.
    virtual void ToUpperInPlace(std::span<char16_t> text) = 0;
    std::u16string ToUpper(std::u16string_view text) {
        std::u16string upper(text);
        ToUpperInPlace(upper);
        return upper;
    }
    virtual std::u16string ToLower(std::u16string_view text) = 0;

    // --- Files ---

    // Whether `path` names a file, whatever its attributes: a hidden, system
    // or read-only hosts file is still the user's file, never a missing one.
    // A directory is no file. Where the system cannot tell (a folder the
    // process may not look into), the answer is true: a file that might
    // exist is never written over as if it were missing. Never fails.
    virtual bool FileExists(std::u16string_view path) = 0;
    // Opens for reading, reads every byte, closes. Fails on a missing file.
    virtual std::string ReadFileBytes(std::u16string_view path) = 0;
    // Reads the file from start to end a piece at a time: `piece` sees every
    // byte in order, with the file's size as it was when opened, so that a
    // large file never needs its bytes held whole. Fails on a missing file.
    virtual void ReadFilePieces(std::u16string_view path, const PieceReader& piece) = 0;
    // Opens for writing, creating the file when it is missing (or, with
    // OnlyIfNew, only creating it: an existing file fails as ERROR_FILE_EXISTS);
    // the file keeps its content until the caller changes it. While it is
    // open, others may read the file but neither write nor remove it.
    virtual std::unique_ptr<WritableFile> OpenForWriting(std::u16string_view path,
                                                         Creation creation = Creation::OpenOrCreate) = 0;
    // Fails while another handle holds the file open for writing.
    virtual void RemoveFile(std::u16string_view path) = 0;
    // Whether `path` is an absolute path on a drive the system reports as a
    // local fixed disk ("C:\..."): not a share, a device, a pipe or a
    // removable or network drive. Never fails.
    virtual bool IsOnLocalFixedDrive(std::u16string_view path) = 0;
    // Reads a plain file on a local fixed disk, and nothing else: a path
    // elsewhere, a pipe or device, or a reparse point (a link to somewhere
    // else) fails as ERROR_INVALID_PARAMETER, and a file of more than
    // `mostBytes` as ERROR_FILE_TOO_LARGE. Opened so that no server at the
    // other end could act in the caller's name.
    virtual std::string ReadPlainLocalFile(std::u16string_view path, std::uint64_t mostBytes) = 0;
    // The files directly in `folder` (no folders, nothing below them), in no
    // particular order; none when the folder is missing.
    virtual std::vector<FolderEntry> FilesInFolder(std::u16string_view folder) = 0;
    // The attribute bits (FileAttribute) of the file or folder at `path`; no
    // value when there is none.
    virtual std::optional<std::uint32_t> FileAttributesOf(std::u16string_view path) = 0;
    // Gives the file at `path` these attribute bits, as far as the system
    // lets a program set them.
    virtual void ChangeFileAttributes(std::u16string_view path, std::uint32_t attributes) = 0;

    // --- Rights ---

    // Whether the process runs with administrator rights: the built-in
    // Administrators group (S-1-5-32-544) is enabled in its token. A process
    // of an administrator that was not elevated holds the group only for
    // denial, so it gets false. A query that fails gives false; only a system
    // whose security library cannot be bound fails.
    virtual bool IsAdministrator() = 0;
    // The name this system gives the group Everyone (S-1-1-0) in its own
    // language - "Everyone", "Jeder", "Tout le monde" - as its tools take it.
    virtual std::u16string EveryoneGroupName() = 0;

    // --- A write handed to this program with administrator rights ---

    // SHA-256 of `bytes`, computed by the system.
    virtual Sha256Digest Sha256(std::string_view bytes) = 0;
    // The user's local application data folder, as the system reports it
    // (never an environment variable), where the program keeps files of its
    // own.
    virtual std::u16string LocalAppDataDirectory() = 0;
    // Makes the folder at `path`; one that is there already is fine.
    virtual void MakeDirectory(std::u16string_view path) = 0;
    // Starts this program's own file again with administrator rights (the
    // system asks the user to confirm) and `arguments` after its name, and
    // waits up to `timeout` for it to end, the window that owns the message
    // boxes taking no input but repainting meanwhile. Its exit code, or no
    // value when it still ran at the end of the wait: it is then left to
    // finish, since ending it could cut its write off halfway. Fails as the system
    // refuses; ERROR_CANCELLED (FailureNumber::Cancelled) when the user
    // declined.
    virtual ProgramExit RunElevatedInstance(std::u16string_view arguments, std::chrono::milliseconds timeout) = 0;
    // The system's own description of a Win32 error number, as the standard
    // failure report shows it.
    virtual std::u16string ErrorDescription(std::uint32_t number) = 0;

    // --- The system's name resolution ---

    // Empties the system's DNS resolver cache, so that a changed hosts file
    // takes effect at once. Never fails: a system without the call, or one
    // that refuses it, keeps its cache.
    virtual void FlushDnsCache() = 0;

    // --- Time ---

    // The local date and time now.
    virtual LocalTime LocalTimeNow() = 0;
    // Now, in the clock of FolderEntry::writeTime.
    virtual std::uint64_t FileTimeNow() = 0;

    // Waits, handling no window message meanwhile: a command that waits for
    // a busy file takes no second click before it has finished.
    virtual void Pause(std::chrono::milliseconds duration) = 0;
};

}  // namespace quenlix
