#include "hosts/SafeWrite.h"

#include <string>

namespace quenlix {

namespace {

// Puts a file back as it was after a failed write. Runs while a failure is
// already on its way to the user, so its own failures are swallowed: the
// first failure is the one to report.
void Undo(Platform& platform, std::u16string_view path, std::unique_ptr<WritableFile>& file,
          std::string_view previous) {
    if (file->Created()) {
        file.reset();
        try {
            platform.RemoveFile(path);
        } catch (const Failure&) {
        }
        return;
    }
    try {
        file->WriteAt(0, previous);
        file->SetLength(previous.size());
        file->Flush();
    } catch (const Failure&) {
    }
}

}  // namespace

void ReplaceFileContent(Platform& platform, std::u16string_view path, std::string_view bytes) {
    auto file = platform.OpenForWriting(path);
    const std::string previous = file->Created() ? std::string() : file->ReadAll();
    try {
        if (bytes.size() > previous.size()) file->SetLength(bytes.size());
        file->WriteAt(0, bytes);
        file->SetLength(bytes.size());
        file->Flush();
    } catch (const Failure&) {
        Undo(platform, path, file, previous);
        throw;
    }
}

void CopyFileOverwrite(Platform& platform, std::u16string_view source, std::u16string_view destination) {
    ReplaceFileContent(platform, destination, platform.ReadFileBytes(source));
}

AppendingFile::AppendingFile(Platform& platform, std::u16string_view path)
    : platform_(platform), path_(path), file_(platform.OpenForWriting(path)) {}

AppendingFile::~AppendingFile() = default;

std::string AppendingFile::ReadAll() {
    if (!file_) file_ = platform_.OpenForWriting(path_);  // an earlier failed append removed it
    return file_->ReadAll();
}

void AppendingFile::Append(std::string_view bytes) {
    if (!file_) file_ = platform_.OpenForWriting(path_);  // an earlier failed append removed it
    const std::uint64_t end = file_->Size();
    try {
        file_->WriteAt(end, bytes);
        file_->Flush();
    } catch (const Failure&) {
        if (file_->Created()) {
            Undo(platform_, path_, file_, {});
        } else {
            try {
                file_->SetLength(end);
            } catch (const Failure&) {
            }
        }
        throw;
    }
}

}  // namespace quenlix
