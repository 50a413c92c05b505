#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace quenlix {

// A file opened once for replacing its whole content: what it holds is read
// through the same handle that then writes, and nobody else can write the
// file in between, so a command that decides from the old bytes (whether to
// ask before overwriting, which encoding to keep) decides on exactly the
// bytes it replaces.
//
// The file is rewritten in place rather than through a temporary file and a
// rename: that keeps its access list, attributes and identity, and it works
// for a user who may write the file but may not create files in its folder.
// The old bytes a write overwrites are copied before it and written back if
// anything fails; the file is first grown to the new length, so a full disk
// fails before a single old byte is overwritten.
class FileRewrite {
public:
    FileRewrite(Platform& platform, std::u16string_view path, Creation creation = Creation::OpenOrCreate);
    FileRewrite(const FileRewrite&) = delete;
    FileRewrite& operator=(const FileRewrite&) = delete;
    // A file this open created and that was never written is removed again.
    ~FileRewrite();

    // True when the file did not exist before this open.
    bool Created() const { return file_ && file_->Created(); }
    // What the file held when it was opened, seen in place: until the first
    // Write.
    std::string_view Previous() const { return previous_; }
    // The same read again through the handle a piece at a time, until the
    // first Write.
    void ReadPrevious(const PieceReader& piece) {
        if (!Created()) file_->ReadPieces(piece);
    }

    // Makes the content the first `kept` bytes the file held (no more than it
    // held) followed by `tail`, so that a failure at any step leaves the file
    // exactly as it was (or missing, when it was missing): an append writes
    // only its own bytes, and a failed one is cut back off. May be called
    // again after a failure.
    void Write(std::size_t kept, std::string_view tail);
    // Closes the file, so that others may write it again and it may be read
    // back afresh.
    void Close();

private:
    Platform& platform_;
    std::u16string path_;
    Creation creation_;
    std::unique_ptr<WritableFile> file_;
    std::string_view previous_;
    // The old bytes the first Write overwrites, from `undoFrom_` to the old
    // end, to put back after a failure.
    std::string undo_;
    std::size_t undoFrom_ = 0;
    bool written_ = false;
};

// One of the program's own files (the journal, the backup copy) given
// `bytes` whole through FileRewrite; never the hosts file, which only
// WriteHostsInPlace writes.
void WriteOwnFile(Platform& platform, std::u16string_view path, std::string_view bytes);

// Creates a new file holding `bytes` at the first of pathOf(1),
// pathOf(2)... pathOf(last) that no file has yet, and gives its number: only
// a file this call created is written, so two writers never share one.
int CreateNumberedFile(Platform& platform, const std::function<std::u16string(int number)>& pathOf, int last,
                       std::string_view bytes);

}  // namespace quenlix
