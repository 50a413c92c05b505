#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/Encoding.h"
#include "platform/Win32Handle.h"

namespace quenlix {

// The hosts text box holds a whole hosts file, tens of megabytes for a large one: it is
// filled from a buffer the program prepares and hands over, and read in
// place, rather than through copies made for WM_SETTEXT and WM_GETTEXT; NULs
// are shown as NulSymbol.

std::u16string NulsShown(std::u16string_view text);
std::u16string NulsRestored(std::u16string text);

// The whole text of a box, NULs given back as NUL.
std::u16string BoxText(HWND box);

// Hands an edit box of several lines a buffer that holds `text` already,
// NULs shown: the box takes it over as it is (EM_SETHANDLE). The box lets go
// of its old buffer but leaves it to the program to free. With a larger
// `room`, the buffer has room for that many characters, so that text
// added later goes in without the box moving its whole buffer each time.
void GiveEditBuffer(HWND edit, std::u16string_view text, std::size_t room = 0);

// An edit box's own buffer, locked for reading while this object lives.
class LockedEditBuffer {
public:
    explicit LockedEditBuffer(HWND edit);
    ~LockedEditBuffer();
    LockedEditBuffer(const LockedEditBuffer&) = delete;
    LockedEditBuffer& operator=(const LockedEditBuffer&) = delete;

    // False when the box has no buffer to lend (a box of one line).
    bool Valid() const { return text_ != nullptr; }
    std::u16string_view View() const { return {reinterpret_cast<const char16_t*>(text_), length_}; }

private:
    HLOCAL memory_;
    const wchar_t* text_;
    std::size_t length_;
};

}  // namespace quenlix
