#pragma once

#include <string>
#include <vector>

// The cases of the entry check, with what Windows makes of each: run on the
// portable rules natively, and under Wine on ntdll's own parse as well.
namespace quenlix::testing {

enum class AddressKind { None, Ipv4, Ipv6 };

struct AddressCase {
    std::u16string text;
    AddressKind kind;  // as Windows takes it on a hosts line
    // Where Wine's ntdll is known to answer otherwise than Windows: how.
    const char* wineDiffers = nullptr;
};

inline const std::vector<AddressCase>& AddressCases() {
    using enum AddressKind;
    static const std::vector<AddressCase> cases = {
        {u"127.0.0.1", Ipv4},
        {u"0.0.0.0", Ipv4},
        {u"255.255.255.255", Ipv4},
        {u"10.0.0.1", Ipv4},
        {u"1.2.3", None},  // the loose parse takes it as 1.2.0.3
        {u"1.2.3.4.5", None},
        {u"256.1.1.1", None},
        {u"1.2.3.256", None},
        {u"1.2.3.4294967297", None},  // wraps to 1 in 32 bits
        {u"01.2.3.4", None},          // octal in the loose parse, refused by the strict one
        {u"1.2.3.00", None},
        {u"0x7f.0.0.1", None},
        {u"+1.2.3.4", None},
        {u"1.2.3.-4", None},
        {u"1.2.3.4:80", None},  // the function takes a port; a hosts line has none
        {u"1.2.3.4:", None},
        {u" 1.2.3.4", None},
        {u"1.2.3.4 ", None},
        {u"1.2.3.", None},
        {u".1.2.3", None},
        {u"1.2.3.4/24", None},
        {u"\uFF11.2.3.4", None},  // a full-width digit
        {u"", None},
        {u"localhost", None},
        {u"::1", Ipv6},
        {u"::", Ipv6},
        {u"fe80::1%12", Ipv6},
        {u"::ffff:1.2.3.4", Ipv6},
        {u"::1.2.3.4", Ipv6},
        {u"FE80::ABCD:ef01", Ipv6},
        {u"2001:db8:85a3::8a2e:370:7334", Ipv6},
        {u"1:2:3:4:5:6:7:8", Ipv6},
        {u"0000:0000:0000:0000:0000:0000:0000:0001", Ipv6},
        {u"1:2:3:4:5:6:1.2.3.4", Ipv6},
        {u"1::2:3:4:5:1.2.3.4", Ipv6},
        {u"1::", Ipv6},
        {u"1::3:4:5:6:7:8", Ipv6},  // "::" for one group
        {u"1:2:3:4:5:6:7::", Ipv6},
        {u"::1:2:3:4:5:6", Ipv6},
        {u"::%0", Ipv6},
        {u"fe80::1%4294967295", Ipv6},
        {u"::ffff:1.2.3.4%3", Ipv6},
        // Windows takes a leading "::" for one group at least (Wine's own
        // tests record it of Windows for "::0:0:0:0:0:0:0"); Wine 8 takes
        // it for none, as the IPv6 text rules would.
        {u"::1:2:3:4:5:6:7", None, "Wine 8 takes a leading \"::\" for no group"},
        {u"::1:2:3:4:5:1.2.3.4", None, "Wine 8 takes a leading \"::\" for no group"},
        {u"1:2:3:4:5:6:7", None},
        {u"1:2:3:4:5:6:7:8:9", None},
        {u"1:2:3:4:5:6:7:8::", None},
        {u"1:2:3:4:5:6:7:1.2.3.4", None},
        {u"1::2::3", None},
        {u":::", None},
        {u":1::", None},
        {u"1::5555:", None},
        {u"12345::", None},
        {u"1::fffff", None},
        {u"::g", None},
        {u"::0x1", None},
        {u"::1/128", None},
        {u"::1 ", None},
        {u"[::1]", None},     // the function takes brackets, and a port after them: a URL's forms
        {u"[::1]:80", None},
        {u"fe80::1%", None},
        {u"fe80::1%eth0", None},
        {u"fe80::1%4294967296", None},
        // Past 2^32 by more: Wine's check for the overflow misses this wrap.
        {u"fe80::1%4772185890", None, "Wine 8 wraps the zone index to 477218594"},
        {u"::ffff:1.2.3", None},
        {u"::ffff:1.2.3.256", None},
        {u"::ffff:1.2.3.4.5", None},
        {u"1.2.3.4::", None},
    };
    return cases;
}

struct NameCase {
    std::u16string name;
    bool valid;
};

inline const std::vector<NameCase>& NameCases() {
    static const std::vector<NameCase> cases = {
        {u"localhost", true},  // a single label: a name of the local network
        {u"nas", true},
        {u"my-pc", true},
        {u"my_pc", true},
        {u"_sip._tcp.example.com", true},
        {u"example.com.", true},
        {u"xn--fiqs8s.example", true},
        {u"中文.example", true},
        {u"123", true},
        {u"a", true},
        {std::u16string(63, u'a') + u".com", true},
        {std::u16string(64, u'a') + u".com", false},
        {std::u16string(62, u'a') + u'.' + std::u16string(63, u'b') + u'.' + std::u16string(63, u'c') + u'.' +
             std::u16string(63, u'd') + u'.',
         true},  // 255 with the trailing dot
        {std::u16string(63, u'a') + u'.' + std::u16string(63, u'b') + u'.' + std::u16string(63, u'c') + u'.' +
             std::u16string(63, u'd') + u'.',
         false},
        {u"my!site", false},
        {u"-a.example", false},
        {u"a-.example", false},
        {u"a..b", false},
        {u".example", false},
        {u"example.com..", false},
        {u".", false},
        {u"", false},
        {u"*.example.com", false},  // the file knows no wildcards
        {u"a/b", false},
        {u"a:b", false},
        {u"user@host", false},
    };
    return cases;
}

}  // namespace quenlix::testing
