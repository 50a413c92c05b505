#pragma once

#include <string_view>

namespace quenlix {

class Platform;

// Starts Explorer with `path` selected in its folder.
void RevealInExplorer(Platform& platform, std::u16string_view path);
// Starts Explorer showing the folder at `path`.
void OpenFolderInExplorer(Platform& platform, std::u16string_view path);
// Starts Notepad on the file at `path`.
void OpenInNotepad(Platform& platform, std::u16string_view path);

}  // namespace quenlix
