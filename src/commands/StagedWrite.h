#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace quenlix {

// The second instance of a write that the first could not make: started
// with administrator rights, it trusts nothing it is given but a staged file
// whose SHA-256 it is told, and works out the hosts path itself. Its one
// command line is
//
//   Quenlix.exe /write-staged-hosts "<staged file>" <SHA-256 of the staged
//       file's bytes> <SHA-256 of the bytes the hosts file holds now>
//
// with the digests in lower-case hexadecimal, and the staged file a plain
// file on a local fixed disk. Any other command line writes nothing.
inline constexpr std::u16string_view StagedWriteSwitch = u"/write-staged-hosts";

// The most a staged file may hold: the largest text the hosts text box takes
// (0x7FFFFFFE characters) at three bytes a character, and a byte-order mark.
inline constexpr std::uint64_t MostStagedBytes = std::uint64_t{0x7FFFFFFE} * 3 + 3;

// The second instance's exit codes besides 0 (written) and the Win32 error
// numbers of its failures; the customer bit keeps them apart from those.
namespace StagedWriteExit {
// The hosts file no longer held the bytes the first instance based the
// write on: nothing was written.
inline constexpr std::uint32_t FileChanged = 0x20000001;
// Written, but with what the first instance must tell the user: bits below.
inline constexpr std::uint32_t WrittenWithWarnings = 0x20000100;
inline constexpr std::uint32_t ReadBackDiffers = 0x1;
inline constexpr std::uint32_t AttributesNotRestored = 0x2;
// The file could not be read back (busy, refused): written, not checked.
inline constexpr std::uint32_t ReadBackFailed = 0x4;
}  // namespace StagedWriteExit

// The second instance's whole work, given the arguments after the program's
// name. Returns the exit code. It shows nothing, ever.
std::uint32_t RunStagedWrite(Platform& platform, const std::vector<std::u16string>& arguments);

// Staged files are named "staged-<digest>-<n>.hosts" in the program's data
// folder; this removes those written more than a day ago, which no write in
// progress can still need. Failures are left for the next start.
void RemoveStaleStagedFiles(Platform& platform);

// "staged-": what a staged file's name starts with.
inline constexpr std::u16string_view StagedFilePrefix = u"staged-";

}  // namespace quenlix
