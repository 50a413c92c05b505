#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace quenlix {

// Asks for the name of a new group in a small dialog ("新建分组") owned by
// `owner`: the name, or none when the user cancels. A blank name, or one
// holding a line break, is refused in the dialog with a note beside the box.
std::optional<std::u16string> AskGroupName(HWND owner);

}  // namespace quenlix
