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

FileRewrite::FileRewrite(Platform& platform, std::u16string_view path, Creation creation)
    : platform_(platform), path_(path), file_(platform.OpenForWriting(path, creation)) {
    if (!file_->Created()) previous_ = file_->ReadAll();
}

FileRewrite::~FileRewrite() {
    // A command that opened a missing file and then chose not to write it
    // (the user said No) leaves no empty file behind.
    if (file_ && file_->Created() && !written_) Undo(platform_, path_, file_, {});
}

void FileRewrite::Replace(std::string_view bytes) {
    if (!file_) file_ = platform_.OpenForWriting(path_);  // an earlier failed write removed it
    written_ = true;
    try {
        if (bytes.size() > previous_.size()) file_->SetLength(bytes.size());
        file_->WriteAt(0, bytes);
        file_->SetLength(bytes.size());
        file_->Flush();
    } catch (const Failure&) {
        Undo(platform_, path_, file_, previous_);
        throw;
    }
}

void ReplaceFileContent(Platform& platform, std::u16string_view path, std::string_view bytes) {
    FileRewrite(platform, path).Replace(bytes);
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
