#include <algorithm>
#include <string>

#include "platform/FileAttribute.h"
#include "platform/Win32Failure.h"
#include "platform/Win32Handle.h"
#include "platform/Win32Platform.h"
#include "platform/Win32Text.h"

// The files the platform reads and writes.

namespace quenlix {

namespace {

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

// Reads `size` bytes from the file position on, a piece at a time; fewer when
// the file shrank meanwhile.
void ReadPiecesOf(HANDLE file, std::uint64_t size, const PieceReader& piece) {
    std::string buffer(static_cast<std::size_t>(std::min<std::uint64_t>(size, Win32Platform::ReadPieceBytes)), '\0');
    for (std::uint64_t left = size; left > 0;) {
        DWORD read = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::uint64_t>(buffer.size(), left));
        if (!ReadFile(file, buffer.data(), want, &read, nullptr)) throw LastWin32Failure();
        if (read == 0) break;
        left -= read;
        piece(std::string_view(buffer.data(), read), size);
    }
}

class Win32WritableFile : public WritableFile {
public:
    Win32WritableFile(UniqueHandle handle, bool created) : handle_(std::move(handle)), created_(created) {}

    bool Created() const override { return created_; }

    std::uint64_t Size() override {
        LARGE_INTEGER size;
        if (!GetFileSizeEx(handle_.Get(), &size)) throw LastWin32Failure();
        return static_cast<std::uint64_t>(size.QuadPart);
    }

    // The file's pages, mapped rather than read: a copy would take as much
    // memory again, and touching that much fresh memory costs many times
    // the read itself.
    std::string_view Content() override {
        view_.Reset();
        const std::uint64_t size = Size();
        if (size == 0) return {};  // a mapping of nothing cannot be made
        const UniqueHandle mapping(CreateFileMappingW(handle_.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
        if (!mapping.Valid()) throw LastWin32Failure();
        view_.Reset(MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0));
        if (!view_.Valid()) throw LastWin32Failure();
        return {static_cast<const char*>(view_.Get()), static_cast<std::size_t>(size)};
    }

    void ReadPieces(const PieceReader& piece) override {
        Seek(0);
        ReadPiecesOf(handle_.Get(), Size(), piece);
    }

    void WriteAt(std::uint64_t offset, std::string_view bytes) override {
        view_.Reset();  // no file with a view mapped may change its length
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
        view_.Reset();
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
    UniqueView view_;  // goes before the handle
};

}  // namespace

bool Win32Platform::FileExists(std::u16string_view path) {
    const DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    // Only a plain "not there" is missing; a refusal to look says nothing.
    const DWORD error = GetLastError();
    return !IsMissingFile(error) && error != ERROR_INVALID_NAME && error != ERROR_BAD_NETPATH;
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

void Win32Platform::ReadFilePieces(std::u16string_view path, const PieceReader& piece) {
    const FileToRead file = OpenToRead(path);
    ReadPiecesOf(file.handle.Get(), file.size, piece);
}

std::unique_ptr<WritableFile> Win32Platform::OpenForWriting(std::u16string_view path, Creation creation) {
    // OPEN_ALWAYS keeps an existing file's attributes and access list; the
    // content is changed afterwards, through this handle only. Others may
    // read meanwhile (the DNS client does), but not write: what the command
    // read through this handle is what it overwrites.
    const DWORD disposition = creation == Creation::OnlyIfNew      ? CREATE_NEW
                              : creation == Creation::OnlyExisting ? OPEN_EXISTING
                                                                   : OPEN_ALWAYS;
    UniqueHandle file(CreateFileW(ToWide(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) throw LastWin32Failure();
    const bool created = creation == Creation::OnlyIfNew ||
                         (creation == Creation::OpenOrCreate && GetLastError() != ERROR_ALREADY_EXISTS);
    return std::make_unique<Win32WritableFile>(std::move(file), created);
}

void Win32Platform::RemoveFile(std::u16string_view path) {
    if (!DeleteFileW(ToWide(path).c_str())) throw LastWin32Failure();
}

bool Win32Platform::IsOnLocalFixedDrive(std::u16string_view path) {
    // "X:\" and more; "\\server", "\\.\pipe" and "\\?\" forms are never
    // taken, whatever they lead to.
    const bool drive = path.size() > 3 && ((path[0] >= u'A' && path[0] <= u'Z') || (path[0] >= u'a' && path[0] <= u'z')) &&
                       path[1] == u':' && path[2] == u'\\';
    if (!drive) return false;
    const wchar_t root[] = {static_cast<wchar_t>(path[0]), L':', L'\\', L'\0'};
    return GetDriveTypeW(root) == DRIVE_FIXED;
}

std::string Win32Platform::ReadPlainLocalFile(std::u16string_view path, std::uint64_t mostBytes) {
    if (!IsOnLocalFixedDrive(path)) throw Win32Failure(ERROR_INVALID_PARAMETER);
    // Should the name lead to a pipe after all, its server learns who asks
    // but cannot act as them; a link is opened as itself, not followed.
    UniqueHandle file(CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT | SECURITY_SQOS_PRESENT |
                                      SECURITY_IDENTIFICATION,
                                  nullptr));
    if (!file.Valid()) throw LastWin32Failure();
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileType(file.Get()) != FILE_TYPE_DISK || !GetFileInformationByHandle(file.Get(), &information) ||
        (information.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0)
        throw Win32Failure(ERROR_INVALID_PARAMETER);
    const std::uint64_t size = (static_cast<std::uint64_t>(information.nFileSizeHigh) << 32) | information.nFileSizeLow;
    if (size > mostBytes) throw Win32Failure(ERROR_FILE_TOO_LARGE);
    return ReadToEnd(file.Get(), size);
}

std::vector<FolderEntry> Win32Platform::FilesInFolder(std::u16string_view folder) {
    std::vector<FolderEntry> files;
    WIN32_FIND_DATAW found{};
    const UniqueFind search(FindFirstFileW(ToWide(std::u16string(folder) + u"\\*").c_str(), &found));
    if (!search.Valid()) {
        const DWORD error = GetLastError();
        if (IsMissingFile(error)) return files;
        throw Win32Failure(error);
    }
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
        files.push_back({FromWide(found.cFileName),
                         (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow,
                         (static_cast<std::uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                             found.ftLastWriteTime.dwLowDateTime});
    } while (FindNextFileW(search.Get(), &found));
    if (GetLastError() != ERROR_NO_MORE_FILES) throw LastWin32Failure();
    return files;
}

static_assert(FileAttribute::ReadOnly == FILE_ATTRIBUTE_READONLY && FileAttribute::Hidden == FILE_ATTRIBUTE_HIDDEN &&
              FileAttribute::System == FILE_ATTRIBUTE_SYSTEM && FileAttribute::Directory == FILE_ATTRIBUTE_DIRECTORY &&
              FileAttribute::Archive == FILE_ATTRIBUTE_ARCHIVE);

std::optional<std::uint32_t> Win32Platform::FileAttributesOf(std::u16string_view path) {
    const DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return attributes;
    const DWORD error = GetLastError();
    if (IsMissingFile(error)) return std::nullopt;
    throw Win32Failure(error);
}

void Win32Platform::ChangeFileAttributes(std::u16string_view path, std::uint32_t attributes) {
    // The bits SetFileAttributesW sets; the others (a compressed or encrypted
    // file's, say) are the file system's to keep, and FILE_ATTRIBUTE_NORMAL
    // stands for none at all.
    constexpr DWORD Settable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                               FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                               FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD settable = attributes & Settable;
    if (!SetFileAttributesW(ToWide(path).c_str(), settable == 0 ? FILE_ATTRIBUTE_NORMAL : settable))
        throw LastWin32Failure();
}

void Win32Platform::MakeDirectory(std::u16string_view path) {
    const std::wstring folder = ToWide(path);
    if (CreateDirectoryW(folder.c_str(), nullptr)) return;
    const DWORD error = GetLastError();
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (error == ERROR_ALREADY_EXISTS && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return;
    throw Win32Failure(error);
}

}  // namespace quenlix
