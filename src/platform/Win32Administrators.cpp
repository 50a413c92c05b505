#include "platform/Win32Administrators.h"

#include "platform/Win32SystemLibraries.h"

namespace quenlix {

Win32Administrators::Win32Administrators()
    : advapi_(LoadSystemLibrary(L"advapi32.dll")),
      allocateSid_(RequiredFunction<AllocateSidFunction>(advapi_.Get(), "AllocateAndInitializeSid")),
      checkMembership_(RequiredFunction<CheckMembershipFunction>(advapi_.Get(), "CheckTokenMembership")),
      freeSid_(RequiredFunction<SidRelease::FreeSidFunction>(advapi_.Get(), "FreeSid")) {}

bool Win32Administrators::GroupEnabled() const {
    // S-1-5-32-544: the NT authority, the built-in domain, its Administrators alias.
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID allocated = nullptr;
    if (!allocateSid_(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                      &allocated))
        return false;
    const UniqueSid group(allocated, SidRelease{freeSid_});  // released however the question ends
    BOOL member = FALSE;
    return checkMembership_(nullptr, group.get(), &member) && member;
}

}  // namespace quenlix
