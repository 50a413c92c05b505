#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "EntryCheckCases.h"

// The address table against the system's own parse, as ntdll exports it.
// The functions take forms a hosts line cannot hold, so they are asked the
// question of a hosts line: an address with no port ("1.2.3.4:80" parses
// with one) and no brackets ("[::1]" parses, with no port).
namespace quenlix::testing {
namespace {

using Ipv4Parse = LONG(WINAPI*)(const wchar_t* text, BOOLEAN strict, void* address, USHORT* port);
using Ipv6Parse = LONG(WINAPI*)(const wchar_t* text, void* address, ULONG* scope, USHORT* port);

template <typename Function>
Function NtdllFunction(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

AddressKind SystemKind(std::u16string_view text) {
    const auto ipv4 = NtdllFunction<Ipv4Parse>("RtlIpv4StringToAddressExW");
    const auto ipv6 = NtdllFunction<Ipv6Parse>("RtlIpv6StringToAddressExW");
    EXPECT_TRUE(ipv4 && ipv6);
    if (!ipv4 || !ipv6) return AddressKind::None;
    const std::wstring wide(text.begin(), text.end());
    unsigned char address[16];
    USHORT port = 0;
    if (ipv4(wide.c_str(), TRUE, address, &port) == 0 && port == 0) return AddressKind::Ipv4;
    ULONG scope = 0;
    port = 0;
    if (!wide.starts_with(L'[') && ipv6(wide.c_str(), address, &scope, &port) == 0 && port == 0)
        return AddressKind::Ipv6;
    return AddressKind::None;
}

TEST(Win32EntryCheckTest, TheAddressTableAgreesWithNtdll) {
    for (const AddressCase& c : AddressCases()) {
        const std::string shown = ::testing::PrintToString(c.text);
        const AddressKind system = SystemKind(c.text);
        if (c.wineDiffers) {
            EXPECT_NE(system, c.kind) << shown << ": the note says Wine differs here, and it no longer does";
        } else {
            EXPECT_EQ(system, c.kind) << shown;
        }
    }
}

}  // namespace
}  // namespace quenlix::testing
