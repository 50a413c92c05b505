#pragma once

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
// The old bytes are kept and written back if anything fails; the file is
// first grown to the new length, so a full disk fails before a single old
// byte is overwritten.
class FileRewrite {
public:
    FileRewrite(Platform& platform, std::u16string_view path, Creation creation = Creation::OpenOrCreate);
    FileRewrite(const FileRewrite&) = delete;
    FileRewrite& operator=(const FileRewrite&) = delete;
    // A file this open created and that was never written is removed again.
    ~FileRewrite();

    // True when the file did not exist before this open.
    bool Created() const { return file_ && file_->Created(); }
    // What the file held when it was opened.
    const std::string& Previous() const { return previous_; }

    // Replaces the content with `bytes`, so that a failure at any step leaves
    // the file exactly as it was (or missing, when it was missing).
    void Replace(std::string_view bytes) { Replace(0, bytes); }
    // The same for a content that keeps the first `kept` bytes the file held
    // (no more than it held) and has `tail` after them: an append writes only
    // its own bytes, and a failed one is cut back off. May be called again
    // after a failure.
    void Replace(std::size_t kept, std::string_view tail);
    // Closes the file, so that others may write it again and it may be read
    // back afresh; Previous() stays.
    void Close();

private:
    Platform& platform_;
    std::u16string path_;
    Creation creation_;
    std::unique_ptr<WritableFile> file_;
    std::string previous_;
    bool written_ = false;
};

// FileRewrite in one step, for a command that replaces whatever is there.
void ReplaceFileContent(Platform& platform, std::u16string_view path, std::string_view bytes);

// A byte-for-byte copy of `source` over `destination`, with the guarantee of
// ReplaceFileContent: a copy that fails leaves the destination as it was.
// The source is only read.
void CopyFileOverwrite(Platform& platform, std::u16string_view source, std::u16string_view destination);

// A file opened for appending. It opens (creating a missing file) when made
// and closes when it goes. A failed append cuts the file back to where it
// ended, or removes it again when the open created it.
class AppendingFile {
public:
    AppendingFile(Platform& platform, std::u16string_view path);
    ~AppendingFile();
    AppendingFile(const AppendingFile&) = delete;
    AppendingFile& operator=(const AppendingFile&) = delete;

    // What the file holds now, read through this handle.
    std::string ReadAll();
    void Append(std::string_view bytes);

private:
    Platform& platform_;
    std::u16string path_;
    std::unique_ptr<WritableFile> file_;
};

}  // namespace quenlix
