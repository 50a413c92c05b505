#pragma once

namespace quenlix {

class Platform;

// Shows the hosts file selected in Explorer.
void ShowHostsInExplorer(Platform& platform);
// Opens the hosts file in Notepad.
void OpenHostsInNotepad(Platform& platform);
// Shows the folder of the hosts file's history copies in Explorer, making it
// first when no copy has been taken yet.
void OpenHistoryFolder(Platform& platform);
// Gives everyone full control of the hosts file; for an administrator only.
void GrantEveryoneAccess(Platform& platform);

}  // namespace quenlix
