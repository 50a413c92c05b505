#include "hosts/SafeWrite.h"

#include <algorithm>
#include <string>

namespace quenlix {

namespace {

// Puts a file back as it was after a failed write from `from` on. Runs
// while a failure is already on its way to the user, so its own failures are
// swallowed: the first failure is the one to report. Each step is tried
// whatever became of the one before: a write that another program's lock
// refused has changed nothing, and cutting the file back to its length still
// undoes the growth before it.
void Undo(Platform& platform, std::u16string_view path, std::unique_ptr<WritableFile>& file,
          std::string_view previous = {}, std::uint64_t from = 0) {
    if (file->Created()) {
        file.reset();
        try {
            platform.RemoveFile(path);
        } catch (const Failure&) {
        }
        return;
    }
    try {
        file->WriteAt(from, previous);
    } catch (const Failure&) {
    }
    try {
        file->SetLength(from + previous.size());
    } catch (const Failure&) {
    }
    try {
        file->Flush();
    } catch (const Failure&) {
    }
}

}  // namespace

FileRewrite::FileRewrite(Platform& platform, std::u16string_view path, Creation creation)
    : platform_(platform), path_(path), creation_(creation), file_(platform.OpenForWriting(path, creation)) {
    if (!file_->Created()) previous_ = file_->Content();
}

// A command that opened a missing file and then chose not to write it (the
// user said No) leaves no empty file behind.
FileRewrite::~FileRewrite() { Close(); }

void FileRewrite::Write(std::size_t kept, std::string_view tail) {
    if (!file_) file_ = platform_.OpenForWriting(path_, creation_);  // an earlier failed write removed it
    if (!written_) {
        // The view of the old bytes ends with the first change.
        undoFrom_ = std::min(kept, previous_.size());
        undo_.assign(previous_.substr(undoFrom_));
        previous_ = {};
        written_ = true;
    }
    kept = undoFrom_;  // a write called again keeps what the first one kept
    const std::uint64_t length = kept + tail.size();
    try {
        if (length > kept + undo_.size()) file_->SetLength(length);
        file_->WriteAt(kept, tail);
        file_->SetLength(length);
        file_->Flush();
    } catch (const Failure&) {
        Undo(platform_, path_, file_, undo_, kept);
        throw;
    }
}

void FileRewrite::Close() {
    if (file_ && file_->Created() && !written_) Undo(platform_, path_, file_);
    file_.reset();
    previous_ = {};
}

void WriteOwnFile(Platform& platform, std::u16string_view path, std::string_view bytes) {
    FileRewrite(platform, path).Write(0, bytes);
}

int CreateNumberedFile(Platform& platform, const std::function<std::u16string(int number)>& pathOf, int last,
                       std::string_view bytes) {
    for (int number = 1;; ++number) {
        try {
            FileRewrite(platform, pathOf(number), Creation::OnlyIfNew).Write(0, bytes);
            return number;
        } catch (const Failure& failure) {
            if (failure.Number() != FailureNumber::FileExists || number >= last) throw;
        }
    }
}

}  // namespace quenlix
