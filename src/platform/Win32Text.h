#pragma once

#include <string>
#include <string_view>

namespace quenlix {

// On Windows wchar_t is a UTF-16 code unit, so these only change the type.
inline std::wstring ToWide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
inline std::u16string FromWide(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

}  // namespace quenlix
