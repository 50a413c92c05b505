#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace quenlix {

class Platform;

// How long the grant waits for cacls. cacls changes one file's access list
// in well under a second; the rest is room for a slow disk, a virus scanner
// holding the file, or a domain controller slow to answer for the group's
// name. A cacls that waits for what never comes (an answer typed on its
// console) must not keep the window disabled for good.
inline constexpr std::chrono::seconds GrantTimeout{30};

// The arguments for cacls that give the group named `everyone` full control
// of the file at `hostsPath`, editing the file's access list (/e) rather than
// replacing it. The path and the group's entry are one argument each,
// whatever they hold: a localized group name can hold spaces
// ("Tout le monde").
std::u16string GrantArguments(std::u16string_view hostsPath, std::u16string_view everyone);

struct GrantOutcome {
    // cacls ended in time and said it succeeded (exit code 0).
    bool changed;
    // Otherwise what became of cacls, in the user's words: "cacls 退出代码 5".
    std::u16string failure;
};

// Gives the group Everyone full control of the hosts file at `hostsPath`, so
// that later writes need no elevation: runs the system's cacls and waits for
// it, for at most GrantTimeout. Fails when cacls cannot start.
GrantOutcome GrantHostsAccess(Platform& platform, std::u16string_view hostsPath);

}  // namespace quenlix
