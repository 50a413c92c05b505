#pragma once

#include <string>
#include <string_view>

namespace quenlix {

// On Windows wchar_t is a UTF-16 code unit, so these only change the type.
inline std::wstring ToWide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
inline std::u16string FromWide(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

// The same code units seen as the API's type, for texts too large to copy
// (a whole hosts file): the API reads or writes them in place.
static_assert(sizeof(wchar_t) == sizeof(char16_t));
inline const wchar_t* WideData(std::u16string_view text) { return reinterpret_cast<const wchar_t*>(text.data()); }
inline wchar_t* WideData(std::u16string& text) { return reinterpret_cast<wchar_t*>(text.data()); }

}  // namespace quenlix
