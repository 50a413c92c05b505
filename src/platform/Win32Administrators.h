#pragma once

#include <windows.h>

#include "platform/Win32Handle.h"

namespace quenlix {

// The administrator query over advapi32, bound by name when it is made, from
// the system directory only.
class Win32Administrators {
public:
    // Fails when advapi32 or one of its functions cannot be bound.
    Win32Administrators();

    // Whether the built-in Administrators group is enabled in the token of
    // the calling thread, or of the process when the thread does not
    // impersonate. A failed call gives false.
    bool GroupEnabled() const;

private:
    using AllocateSidFunction = BOOL(WINAPI*)(PSID_IDENTIFIER_AUTHORITY, BYTE, DWORD, DWORD, DWORD, DWORD, DWORD,
                                              DWORD, DWORD, DWORD, PSID*);
    using CheckMembershipFunction = BOOL(WINAPI*)(HANDLE, PSID, PBOOL);

    UniqueModule advapi_;
    AllocateSidFunction allocateSid_;
    CheckMembershipFunction checkMembership_;
    SidRelease::FreeSidFunction freeSid_;
};

}  // namespace quenlix
