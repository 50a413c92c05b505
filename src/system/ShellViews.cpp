#include "system/ShellViews.h"

#include <string>

#include "platform/MessageStyle.h"
#include "platform/Platform.h"

namespace quenlix {

void RevealInExplorer(Platform& platform, std::u16string_view path) {
    // The path goes unquoted right after the comma: Explorer takes everything
    // after "/select," as the one path, spaces included.
    platform.StartProgram(u"explorer /select," + std::u16string(path), WindowStyle::Normal);
}

void OpenFolderInExplorer(Platform& platform, std::u16string_view path) {
    // Quoted, so that a comma in the path (Explorer's own separator) stays
    // part of it; no Windows path holds a quote.
    platform.StartProgram(u"explorer \"" + std::u16string(path) + u"\"", WindowStyle::Normal);
}

void OpenInNotepad(Platform& platform, std::u16string_view path) {
    platform.StartProgram(u"Notepad.exe " + std::u16string(path), WindowStyle::Normal);
}

}  // namespace quenlix
