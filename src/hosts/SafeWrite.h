#pragma once

#include <memory>
#include <string_view>

#include "platform/Platform.h"

namespace quenlix {

// Replaces the whole content of a file with `bytes`, so that a failure at any
// step leaves the file exactly as it was (or missing, when it was missing).
//
// The file is rewritten in place through one handle rather than through a
// temporary file and a rename: that keeps its access list, attributes and
// identity, and it works for a user who may write the file but may not create
// files in its folder. The old content is read first through the same handle
// and written back if anything fails; the file is first grown to the new
// length, so a full disk fails before a single old byte is overwritten.
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
