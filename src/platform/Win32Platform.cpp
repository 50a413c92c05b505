#include "platform/Win32Platform.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <cwchar>
#include <string>

#include "platform/MessageStyle.h"
#include "platform/QuoteArgument.h"
#include "platform/SystemProgramEnvironment.h"
#include "platform/Win32EveryoneGroup.h"
#include "platform/Win32Failure.h"
#include "platform/Win32GrowingBuffer.h"
#include "platform/Win32Handle.h"
#include "platform/Win32ProcessWait.h"
#include "platform/Win32SystemFolders.h"
#include "platform/Win32Text.h"

namespace quenlix {

namespace {

constexpr wchar_t ApplicationTitle[] = L"Quenlix";

// The styles the commands build are handed to MessageBoxW as they are.
static_assert(Mb::Ok == MB_OK && Mb::OkCancel == MB_OKCANCEL && Mb::YesNoCancel == MB_YESNOCANCEL &&
              Mb::YesNo == MB_YESNO && Mb::IconError == MB_ICONERROR && Mb::IconQuestion == MB_ICONQUESTION &&
              Mb::IconWarning == MB_ICONWARNING && Mb::IconInformation == MB_ICONINFORMATION &&
              Mb::DefaultButton2 == MB_DEFBUTTON2 && Mb::SystemModal == MB_SYSTEMMODAL &&
              Mb::SetForeground == MB_SETFOREGROUND);
static_assert(Answer::Ok == IDOK && Answer::Cancel == IDCANCEL && Answer::Yes == IDYES && Answer::No == IDNO);
static_assert(WindowStyle::Normal == SW_SHOWNORMAL && WindowStyle::MinimizedInactive == SW_SHOWMINNOACTIVE);

// Win32 string lengths are ints; a longer text cannot be handed over at once.
int CheckedLength(std::size_t size) {
    if (size > static_cast<std::size_t>(INT_MAX)) throw Win32Failure(ERROR_NOT_ENOUGH_MEMORY);
    return static_cast<int>(size);
}

// Reads up to `size` bytes from the file position on; less when the file
// shrank meanwhile.
std::string ReadToEnd(HANDLE file, std::uint64_t size) {
    std::string bytes(static_cast<std::size_t>(size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD read = 0;
        if (!ReadFile(file, bytes.data() + done, chunk, &read, nullptr)) throw LastWin32Failure();
        if (read == 0) break;
        done += read;
    }
    bytes.resize(done);
    return bytes;
}

// What ReadFilePieces reads at a time: the bytes, and the text the store
// decodes from them, stay in the processor's second-level cache.
constexpr std::size_t PieceBytes = 1 << 17;

class Win32WritableFile : public WritableFile {
public:
    Win32WritableFile(UniqueHandle handle, bool created) : handle_(std::move(handle)), created_(created) {}

    bool Created() const override { return created_; }

    std::uint64_t Size() override {
        LARGE_INTEGER size;
        if (!GetFileSizeEx(handle_.Get(), &size)) throw LastWin32Failure();
        return static_cast<std::uint64_t>(size.QuadPart);
    }

    std::string ReadAll() override {
        Seek(0);
        return ReadToEnd(handle_.Get(), Size());
    }

    void WriteAt(std::uint64_t offset, std::string_view bytes) override {
        Seek(offset);
        std::size_t done = 0;
        while (done < bytes.size()) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
            DWORD written = 0;
            if (!WriteFile(handle_.Get(), bytes.data() + done, chunk, &written, nullptr)) throw LastWin32Failure();
            if (written == 0) throw Win32Failure(ERROR_WRITE_FAULT);
            done += written;
        }
    }

    void SetLength(std::uint64_t length) override {
        Seek(length);
        if (!SetEndOfFile(handle_.Get())) throw LastWin32Failure();
    }

    void Flush() override {
        if (!FlushFileBuffers(handle_.Get())) throw LastWin32Failure();
    }

private:
    void Seek(std::uint64_t offset) {
        LARGE_INTEGER to;
        to.QuadPart = static_cast<LONGLONG>(offset);
        if (!SetFilePointerEx(handle_.Get(), to, nullptr, FILE_BEGIN)) throw LastWin32Failure();
    }

    UniqueHandle handle_;
    bool created_;
};

}  // namespace

std::u16string FailureReportText(const Failure& failure) {
    return u"错误 " + [&] {
        const std::string digits = std::to_string(failure.Number());
        return std::u16string(digits.begin(), digits.end());
    }() + u"：\n" + failure.Description();
}

int Win32Platform::ShowMessage(std::u16string_view prompt, std::uint32_t style,
                               std::optional<std::u16string_view> title) {
    const std::wstring text = ToWide(prompt);
    const std::wstring caption = title ? ToWide(*title) : std::wstring(ApplicationTitle);
    return MessageBoxW(owner_, text.c_str(), caption.c_str(), style);
}

std::wstring SystemProgramPath(std::u16string_view commandLine) {
    // The command lines name their program by its bare name. Left to
    // CreateProcessW, that name would be looked up in the program's own
    // folder and the current folder first, where a planted cmd.exe or
    // Notepad.exe would run in its place; only the system's folders count.
    // On a terminal server GetWindowsDirectoryW gives a program that is not
    // marked as aware of it a Windows folder of the user's own, where a
    // planted explorer.exe would wait; the running system's folder is the
    // shared one.
    const std::wstring name = ToWide(commandLine.substr(0, commandLine.find(u' ')));
    const std::wstring folders = SystemDirectory() + L";" + SystemWindowsDirectory();
    const auto found = StringFromGrowingBuffer([&](wchar_t* buffer, std::size_t size) {
        return SearchPathW(folders.c_str(), name.c_str(), L".exe", static_cast<DWORD>(size), buffer, nullptr);
    });
    if (!found) throw Win32Failure(ERROR_FILE_NOT_FOUND);
    return *found;
}

namespace {

// The product's own environment, as one block.
std::u16string OwnEnvironment() {
    const UniqueEnvironmentStrings strings(GetEnvironmentStringsW());
    if (!strings.Valid()) throw Win32Failure(ERROR_NOT_ENOUGH_MEMORY);
    const wchar_t* end = strings.Get();
    while (*end != L'\0') end += std::wcslen(end) + 1;  // the block ends with an empty string
    return FromWide(std::wstring_view(strings.Get(), static_cast<std::size_t>(end - strings.Get())));
}

// Starts `program` (a full path) with `commandLine`; the process, which may
// be waited for.
UniqueHandle StartSystemProcess(const std::wstring& program, std::u16string_view commandLine, int windowStyle) {
    // The program runs in the system folder rather than in ours: started
    // from Explorer, our current folder is the folder Quenlix.exe lies in (a
    // downloads folder, typically), and a program that starts others looks
    // for them in its current folder first. Its environment keeps it from
    // doing so at all where it reads NoDefaultCurrentDirectoryInExePath.
    const std::wstring folder = SystemDirectory();
    std::wstring environment = ToWide(SystemProgramEnvironment(OwnEnvironment(), FromWide(folder)));
    std::wstring line = ToWide(commandLine);  // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(windowStyle);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                        environment.data(), folder.c_str(), &startup, &process))
        throw LastWin32Failure();
    UniqueHandle threadHandle(process.hThread);
    return UniqueHandle(process.hProcess);
}

}  // namespace

void Win32Platform::StartProgram(std::u16string_view commandLine, int windowStyle) {
    // Started programs run on by themselves; nothing waits for them.
    StartSystemProcess(SystemProgramPath(commandLine), commandLine, windowStyle);
}

ProgramExit Win32Platform::RunSystemProgram(std::u16string_view program, std::u16string_view arguments,
                                            int windowStyle, std::chrono::milliseconds timeout) {
    const std::wstring path = SystemDirectory() + L"\\" + ToWide(program);
    const UniqueHandle process =
        StartSystemProcess(path, QuoteArgument(FromWide(path)) + u" " + std::u16string(arguments), windowStyle);
    {
        const DisabledWindow disabled(owner_);
        if (WaitForProcess(process.Get(), timeout) == ProcessWait::TimedOut) {
            // Ending a process takes effect a moment after the call returns.
            TerminateProcess(process.Get(), ERROR_TIMEOUT);
            WaitForSingleObject(process.Get(), 5000);
            return std::nullopt;
        }
    }
    DWORD code = 0;
    if (!GetExitCodeProcess(process.Get(), &code)) throw LastWin32Failure();
    return code;
}

std::u16string Win32Platform::ProgramDirectory() {
    const auto found = StringFromGrowingBuffer([](wchar_t* buffer, std::size_t size) {
        return GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(size));
    });
    if (!found) return {};
    const std::wstring& path = *found;
    const auto slash = path.find_last_of(L'\\');
    return FromWide(slash == std::wstring::npos ? std::wstring_view() : std::wstring_view(path).substr(0, slash));
}

void Win32Platform::ReportFailure(const Failure& failure) {
    const std::wstring text = ToWide(FailureReportText(failure));
    MessageBoxW(owner_, text.c_str(), ApplicationTitle, Mb::Ok | Mb::IconError);
}

std::u16string Win32Platform::SystemWindowsDirectory() { return FromWide(quenlix::SystemWindowsDirectory()); }

std::uint32_t Win32Platform::AnsiCodePage() { return GetACP(); }

bool Win32Platform::IsAnsiLeadByte(unsigned char byte) { return IsDBCSLeadByteEx(CP_ACP, byte) != FALSE; }

bool Win32Platform::AppendFromAnsi(std::u16string& text, std::string_view bytes) {
    if (bytes.empty()) return true;
    const int size = CheckedLength(bytes.size());
    const std::size_t before = text.size();
    // No ANSI code page makes more UTF-16 units than it reads bytes, so one
    // call into room of that size decodes them all.
    text.resize(before + bytes.size());
    const int length =
        MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), size, WideData(text) + before, size);
    if (length == 0) {
        const DWORD error = GetLastError();
        text.resize(before);
        if (error == ERROR_NO_UNICODE_TRANSLATION) return false;
        throw Win32Failure(error);
    }
    text.resize(before + static_cast<std::size_t>(length));
    return true;
}

bool Win32Platform::AppendToAnsi(std::string& bytes, std::u16string_view text) {
    if (text.empty()) return true;
    const int size = CheckedLength(text.size());
    // A system that uses UTF-8 for its ANSI code page takes neither the flag
    // nor the question; there only a lone surrogate has no bytes (U+FFFD).
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* const asked = utf8 ? nullptr : &usedDefault;
    const int length = WideCharToMultiByte(CP_ACP, flags, WideData(text), size, nullptr, 0, nullptr, asked);
    if (length == 0) throw LastWin32Failure();
    const std::size_t before = bytes.size();
    bytes.resize(before + static_cast<std::size_t>(length));
    if (WideCharToMultiByte(CP_ACP, flags, WideData(text), size, bytes.data() + before, length, nullptr, asked) == 0)
        throw LastWin32Failure();
    if (utf8) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char16_t c = text[i];
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
                ++i;
            } else if (c >= 0xD800 && c <= 0xDFFF) {
                return false;
            }
        }
    }
    return usedDefault == FALSE;
}

// The case is mapped in a copy of the text itself, not in a second copy made
// for the API's character type.
std::u16string Win32Platform::ToUpper(std::u16string_view text) {
    std::u16string upper(text);
    if (!upper.empty()) CharUpperBuffW(WideData(upper), static_cast<DWORD>(CheckedLength(upper.size())));
    return upper;
}

std::u16string Win32Platform::ToLower(std::u16string_view text) {
    std::u16string lower(text);
    if (!lower.empty()) CharLowerBuffW(WideData(lower), static_cast<DWORD>(CheckedLength(lower.size())));
    return lower;
}

bool Win32Platform::FileExists(std::u16string_view path) {
    const DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    // Only a plain "not there" is missing; a refusal to look says nothing.
    const DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND && error != ERROR_INVALID_NAME &&
           error != ERROR_BAD_NETPATH;
}

namespace {

// A file opened to be read from start to end, and its size when opened.
// Others may go on reading and writing it meanwhile, as with any editor.
struct FileToRead {
    UniqueHandle handle;
    std::uint64_t size;
};

FileToRead OpenToRead(std::u16string_view path) {
    UniqueHandle file(CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.Valid()) throw LastWin32Failure();
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.Get(), &size)) throw LastWin32Failure();
    return {std::move(file), static_cast<std::uint64_t>(size.QuadPart)};
}

}  // namespace

std::string Win32Platform::ReadFileBytes(std::u16string_view path) {
    const FileToRead file = OpenToRead(path);
    return ReadToEnd(file.handle.Get(), file.size);
}

void Win32Platform::ReadFilePieces(std::u16string_view path,
                                   const std::function<void(std::string_view, std::uint64_t)>& piece) {
    const FileToRead file = OpenToRead(path);
    std::string buffer(static_cast<std::size_t>(std::min<std::uint64_t>(file.size, PieceBytes)), '\0');
    std::uint64_t left = file.size;
    while (left > 0) {
        DWORD read = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::uint64_t>(buffer.size(), left));
        if (!ReadFile(file.handle.Get(), buffer.data(), want, &read, nullptr)) throw LastWin32Failure();
        if (read == 0) break;  // the file shrank while we read it
        left -= read;
        piece(std::string_view(buffer.data(), read), file.size);
    }
}

std::unique_ptr<WritableFile> Win32Platform::OpenForWriting(std::u16string_view path, Creation creation) {
    // OPEN_ALWAYS keeps an existing file's attributes and access list; the
    // content is changed afterwards, through this handle only. Others may
    // read meanwhile (the DNS client does), but not write: what the command
    // read through this handle is what it overwrites.
    const DWORD disposition = creation == Creation::OnlyIfNew ? CREATE_NEW : OPEN_ALWAYS;
    UniqueHandle file(CreateFileW(ToWide(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) throw LastWin32Failure();
    const bool created = creation == Creation::OnlyIfNew || GetLastError() != ERROR_ALREADY_EXISTS;
    return std::make_unique<Win32WritableFile>(std::move(file), created);
}

void Win32Platform::RemoveFile(std::u16string_view path) {
    if (!DeleteFileW(ToWide(path).c_str())) throw LastWin32Failure();
}

bool Win32Platform::IsAdministrator() {
    if (!administrators_) administrators_.emplace();
    return administrators_->GroupEnabled();
}

std::u16string Win32Platform::EveryoneGroupName() { return quenlix::EveryoneGroupName(); }

}  // namespace quenlix
