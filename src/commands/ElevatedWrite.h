#pragma once

#include <chrono>
#include <string>

#include "commands/StagedWrite.h"
#include "hosts/InPlaceWrite.h"
#include "platform/Platform.h"

namespace quenlix {

// A write of the hosts file that this process may not make, handed whole to
// a second instance of the program started with administrator rights
// (StagedWrite.h).

// How long the first instance waits for the second once the user has
// confirmed: the write of a hosts file of tens of megabytes and its read
// back, with room for a slow disk and a busy file.
inline constexpr std::chrono::seconds ElevatedWriteTimeout{60};

// The first instance's side. Works out the edit from the hosts file as this
// process can read it, stages the whole new content in a file of its own in
// "<local application data>\Quenlix", and runs the second instance on it,
// waiting for it; the staged file is removed afterwards. A data folder that
// is not on a local fixed disk stages nothing: the second instance would not
// take it. What the second instance did comes back as the write's result:
// not written when the edit said so, the user declined the system's
// question, or the file changed in between (said in a message unless
// silent). Any other failure of the second instance is thrown with its
// number; one still running after the wait is left to finish, and the
// failure says the outcome is known only at the next start. With
// `recoverable`, this process keeps the history copy and holds the journal
// for the whole wait, so that the copies stay in the user's own profile
// whoever confirms the system's question.
HostsWriteResult WriteThroughElevatedInstance(Platform& platform, const HostsEditor& editor, bool silent,
                                              RecoverableWrite* recoverable = nullptr);

}  // namespace quenlix
