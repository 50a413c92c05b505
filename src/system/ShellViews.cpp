#include "system/ShellViews.h"

#include <string>

#include "hosts/HostsPaths.h"
#include "platform/MessageStyle.h"
#include "platform/Platform.h"

namespace quenlix {

void RevealInExplorer(Platform& platform, std::u16string_view path) {
    // The path goes unquoted right after the comma: that is the command line
    // Explorer has always been given here.
    platform.StartProgram(u"explorer /select," + std::u16string(path), WindowStyle::Normal);
}

void OpenInNotepad(Platform& platform) {
    platform.StartProgram(u"Notepad.exe " + HostsPath(platform), WindowStyle::Normal);
}

void Command11(WindowState&, Platform& platform) { RevealInExplorer(platform, HostsPath(platform)); }

void Command12(WindowState&, Platform& platform) { OpenInNotepad(platform); }

}  // namespace quenlix
