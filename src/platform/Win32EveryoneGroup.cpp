#include "platform/Win32EveryoneGroup.h"

#include <windows.h>

#include "platform/Win32SystemLibraries.h"
#include "platform/Win32Text.h"

namespace quenlix {

namespace {

using LookupAccountSidFunction = BOOL(WINAPI*)(LPCWSTR, PSID, LPWSTR, LPDWORD, LPWSTR, LPDWORD, PSID_NAME_USE);

}  // namespace

std::u16string EveryoneGroupName() {
    const UniqueModule advapi = LoadSystemLibrary(L"advapi32.dll");
    const auto lookup = RequiredFunction<LookupAccountSidFunction>(advapi.Get(), "LookupAccountSidW");

    // S-1-1-0: the world authority and its one sub-authority; a SID with a
    // single sub-authority fits the SID structure as it is declared.
    SID everyone{SID_REVISION, 1, SECURITY_WORLD_SID_AUTHORITY, {SECURITY_WORLD_RID}};
    std::wstring name(64, L'\0');
    std::wstring domain(64, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        DWORD nameSize = static_cast<DWORD>(name.size());
        DWORD domainSize = static_cast<DWORD>(domain.size());
        SID_NAME_USE use;
        if (lookup(nullptr, &everyone, name.data(), &nameSize, domain.data(), &domainSize, &use)) {
            name.resize(nameSize);
            if (!name.empty()) return FromWide(name);
            break;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
        name.resize(nameSize);  // the sizes needed, terminators included
        domain.resize(domainSize);
    }
    return u"Everyone";
}

}  // namespace quenlix
