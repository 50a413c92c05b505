#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "hosts/InPlaceWrite.h"
#include "platform/Platform.h"

namespace quenlix {

// A write of the hosts file that this process may not make, handed whole to
// a second instance of the program started with administrator rights. The
// second instance trusts nothing it is given but a file whose SHA-256 it is
// told, and works out the hosts path itself: its one command line is
//
//   Quenlix.exe /write-staged-hosts "<staged file>" <SHA-256 of the staged
//       file's bytes> <SHA-256 of the bytes the hosts file holds now>
//
// with the digests in lower-case hexadecimal. Any other command line writes
// nothing.
inline constexpr std::u16string_view StagedWriteSwitch = u"/write-staged-hosts";

// How long the first instance waits for the second once the user has
// confirmed: the write of a hosts file of tens of megabytes and its read
// back, with room for a slow disk and a busy file.
inline constexpr std::chrono::seconds ElevatedWriteTimeout{60};

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
}  // namespace StagedWriteExit

// The first instance's side. Works out the edit from the hosts file as this
// process can read it, stages the whole new content in a file of its own in
// "<local application data>\Quenlix", and runs the second instance on it,
// waiting for it; the staged file is removed afterwards. What the second
// instance did comes back as the write's result: not written when the edit
// said so, the user declined the system's question, or the file changed in
// between (said in a message unless silent). Any other failure of the second
// instance is thrown with its number. With `recoverable`, this process keeps
// the history copy and the journal, so that the copies stay in the user's own
// profile whoever confirms the system's question.
HostsWriteResult WriteThroughElevatedInstance(Platform& platform, const HostsEditor& editor, bool silent,
                                              RecoverableWrite* recoverable = nullptr);

// The second instance's side: the whole program when started with
// arguments. Returns the exit code. It shows nothing, ever.
std::uint32_t RunStagedWrite(Platform& platform, const std::vector<std::u16string>& arguments);

}  // namespace quenlix
