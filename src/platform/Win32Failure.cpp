#include "platform/Win32Failure.h"

#include <windows.h>

#include "platform/Win32Text.h"

namespace quenlix {

Failure Win32Failure(std::uint32_t error) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::u16string description;
    if (length > 0 && buffer != nullptr) description = FromWide(std::wstring_view(buffer, length));
    if (buffer != nullptr) LocalFree(buffer);
    while (!description.empty() && (description.back() == u'\n' || description.back() == u'\r' ||
                                    description.back() == u' '))
        description.pop_back();
    if (description.empty()) description = u"未知错误";
    return Failure(error, std::move(description));
}

Failure LastWin32Failure() { return Win32Failure(GetLastError()); }

}  // namespace quenlix
