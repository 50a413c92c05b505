#include "ui/Win32HostsTextBuffer.h"

#include <algorithm>

#include "platform/Win32Failure.h"
#include "platform/Win32Text.h"

namespace quenlix {

std::u16string BoxText(HWND box) {
    const LRESULT length = SendMessageW(box, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(box, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return NulsRestored(FromWide(text));
}

std::u16string NulsShown(std::u16string_view text) {
    std::u16string shown(text);
    std::replace(shown.begin(), shown.end(), u'\0', NulSymbol);
    return shown;
}

std::u16string NulsRestored(std::u16string text) {
    std::replace(text.begin(), text.end(), NulSymbol, u'\0');
    return text;
}

void GiveEditBuffer(HWND edit, std::u16string_view text, std::size_t room) {
    UniqueLocal memory(LocalAlloc(LMEM_MOVEABLE, (std::max(text.size(), room) + 1) * sizeof(wchar_t)));
    if (!memory.Valid()) throw Win32Failure(ERROR_NOT_ENOUGH_MEMORY);
    auto* units = static_cast<char16_t*>(LocalLock(memory.Get()));
    if (units == nullptr) throw Win32Failure(ERROR_NOT_ENOUGH_MEMORY);
    std::replace_copy(text.begin(), text.end(), units, u'\0', NulSymbol);
    units[text.size()] = u'\0';
    LocalUnlock(memory.Get());

    // From here on the box owns the new buffer, and the program the old one.
    UniqueLocal old(reinterpret_cast<HLOCAL>(SendMessageW(edit, EM_GETHANDLE, 0, 0)));
    SendMessageW(edit, EM_SETHANDLE, reinterpret_cast<WPARAM>(memory.Get()), 0);
    if (old.Get() == memory.Get()) old.Release();
    memory.Release();
}

LockedEditBuffer::LockedEditBuffer(HWND edit)
    : memory_(reinterpret_cast<HLOCAL>(SendMessageW(edit, EM_GETHANDLE, 0, 0))),
      text_(memory_ != nullptr ? static_cast<const wchar_t*>(LocalLock(memory_)) : nullptr),
      length_(text_ != nullptr ? static_cast<std::size_t>(GetWindowTextLengthW(edit)) : 0) {}

LockedEditBuffer::~LockedEditBuffer() {
    if (text_ != nullptr) LocalUnlock(memory_);
}

}  // namespace quenlix
