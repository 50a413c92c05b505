#pragma once

#include <string_view>

#include "platform/Sha256.h"

namespace quenlix {

// SHA-256 of `bytes` by the system's BCrypt, bound from the system folder's
// bcrypt.dll when it is called: the program imports no bcrypt function, so
// that nothing it does not use keeps it from starting. Fails when BCrypt
// cannot be bound or refuses.
Sha256Digest Win32Sha256(std::string_view bytes);

}  // namespace quenlix
