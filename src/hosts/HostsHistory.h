#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace quenlix {

// Copies of the hosts file as it was before each change, so that a save of
// the wrong text, a reset or an old backup restored never takes away the only
// copy of what was there. They live in the user's own profile and are plain
// files a user can open in Notepad or copy back over the hosts file.

// How many copies are kept, and how many bytes they may take all together.
// The newest copy stays whatever its size.
inline constexpr std::size_t HistoryCopiesKept = 50;
inline constexpr std::uint64_t HistoryBytesKept = std::uint64_t{100} << 20;

// `time` as the copies' names give it: "2026-12-07_18-30-12".
std::u16string TimeStamp(const LocalTime& time);

// The name of a copy taken at `time`, "hosts_2026-12-07_18-30-12.txt", and
// with "_2", "_3" and on after the seconds for the further copies of one
// second. Explorer sorts them by name as they were taken, and Notepad opens
// them at a double click.
std::u16string HistoryCopyName(const LocalTime& time, int number = 1);

// Whether `name` is a copy's name: files a user puts beside the copies are
// never counted, compared or removed.
bool IsHistoryCopyName(std::u16string_view name);

// Keeps `bytes` as the newest copy (copies are ordered by the time they
// were written, not by their names), written and flushed, and gives its name;
// when the newest copy holds the same bytes already, gives that one's name
// and writes nothing. Then removes the oldest copies beyond the limits, never
// the newest. Fails when the copy cannot be written; a copy that cannot be
// removed is left (one copy too many loses nothing).
std::u16string KeepHistoryCopy(Platform& platform, std::string_view bytes);

}  // namespace quenlix
