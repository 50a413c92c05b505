#include "platform/Win32Administrators.h"

#include "platform/Win32Failure.h"
#include "platform/Win32SystemLibraries.h"

namespace quenlix {

namespace {

template <typename Function>
Function Bind(HMODULE module, const char* name) {
    FARPROC address = GetProcAddress(module, name);
    if (address == nullptr) throw LastWin32Failure();
    return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

}  // namespace

Win32Administrators::Win32Administrators()
    : advapi_(LoadSystemLibrary(L"advapi32.dll")),
      allocateSid_(Bind<AllocateSidFunction>(advapi_.Get(), "AllocateAndInitializeSid")),
      checkMembership_(Bind<CheckMembershipFunction>(advapi_.Get(), "CheckTokenMembership")),
      freeSid_(Bind<FreeSidFunction>(advapi_.Get(), "FreeSid")) {}

bool Win32Administrators::GroupEnabled() const {
    // S-1-5-32-544: the NT authority, the built-in domain, its Administrators alias.
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID group = nullptr;
    if (!allocateSid_(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                      &group))
        return false;
    // The identifier is released however the question ends.
    const struct Release {
        PSID sid;
        FreeSidFunction free;
        ~Release() { free(sid); }
    } release{group, freeSid_};
    BOOL member = FALSE;
    return checkMembership_(nullptr, group, &member) && member;
}

}  // namespace quenlix
