#pragma once

#include <cstdint>

#include "platform/Failure.h"

namespace quenlix {

// A failure for a Win32 error code, with the system's description of it.
Failure Win32Failure(std::uint32_t error);

// The failure for GetLastError() of the call that just failed.
Failure LastWin32Failure();

}  // namespace quenlix
