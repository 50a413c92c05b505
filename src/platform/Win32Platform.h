#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "platform/Platform.h"
#include "platform/Win32Administrators.h"
#include "platform/Win32Shell.h"

namespace quenlix {

// The real platform: Win32 calls, nothing else.
class Win32Platform : public Platform {
public:
    // What ReadFilePieces reads at a time: the bytes, and the text the store
    // decodes from them, stay in the processor's second-level cache.
    static constexpr std::size_t ReadPieceBytes = 1 << 17;

    // Message boxes are owned by this window once it exists.
    void SetOwner(HWND owner) { owner_ = owner; }

    int ShowMessage(std::u16string_view prompt, std::uint32_t style,
                    std::optional<std::u16string_view> title) override;
    void StartProgram(std::u16string_view commandLine, int windowStyle) override;
    ProgramExit RunSystemProgram(std::u16string_view program, std::u16string_view arguments, int windowStyle,
                                 std::chrono::milliseconds timeout) override;
    std::u16string ProgramDirectory() override;
    void ReportFailure(const Failure& failure) override;

    std::u16string SystemWindowsDirectory() override;
    std::uint32_t AnsiCodePage() override;
    bool IsAnsiLeadByte(unsigned char byte) override;
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

    bool IsAdministrator() override;
    std::u16string EveryoneGroupName() override;

    // The program's own place, and the error texts (Win32Platform.cpp).
    std::u16string LocalAppDataDirectory() override;
    std::u16string ErrorDescription(std::uint32_t number) override;
    // Files (Win32PlatformFiles.cpp).
    std::optional<std::uint32_t> FileAttributesOf(std::u16string_view path) override;
    void ChangeFileAttributes(std::u16string_view path, std::uint32_t attributes) override;
    void MakeDirectory(std::u16string_view path) override;
    std::vector<FolderEntry> FilesInFolder(std::u16string_view folder) override;
    // Programs (Win32PlatformPrograms.cpp).
    ProgramExit RunElevatedInstance(std::u16string_view arguments, std::chrono::milliseconds timeout) override;
    // Time, name resolution and hashing (Win32PlatformSystem.cpp).
    void Pause(std::chrono::milliseconds duration) override;
    LocalTime LocalTimeNow() override;
    std::uint64_t FileTimeNow() override;
    void FlushDnsCache() override;
    Sha256Digest Sha256(std::string_view bytes) override;

private:
    HWND owner_ = nullptr;
    // Bound at the first question.
    std::optional<Win32Administrators> administrators_;
    // Bound when first needed.
    std::optional<Win32Shell> shell_;
};

// The full path of the program a command line names, found in the system
// directory or the running system's Windows directory and nowhere else.
std::wstring SystemProgramPath(std::u16string_view commandLine);

// The text of the standard error report for a failure.
std::u16string FailureReportText(const Failure& failure);

}  // namespace quenlix
