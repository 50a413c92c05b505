#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace quenlix {

// The hosts file is written in place: grown first to the new length when
// the new bytes are longer, then written from the first byte that changes
// on, then cut to the new length. A write cut off by a crash or a power cut
// leaves the new bytes up to some point, followed by the old bytes from
// that point on, at the longer of the two lengths (a grown file holds zeros
// where no byte has come yet). Any other content was put there by someone
// else.

// The size of the pieces whose hashes the journal keeps of the new bytes:
// what can be told of a cut-off file's head without keeping the new bytes
// whole. Only the piece the cut falls in cannot be checked.
inline constexpr std::size_t WrittenPieceBytes = std::size_t{64} << 10;

// The hashes of `head` followed by `tail`, `pieceBytes` at a time, the last
// piece shorter.
std::vector<std::uint64_t> PieceHashes(std::string_view head, std::string_view tail,
                                       std::size_t pieceBytes = WrittenPieceBytes);

// Whether `now` is what a write of new bytes (`afterSize` of them, with
// these piece hashes) over `before` leaves when it is cut off. Also true for
// the finished write itself; the caller tells that apart by its snapshot.
bool IsLeftByCutOffWrite(std::string_view now, std::string_view before, std::uint64_t afterSize,
                         std::span<const std::uint64_t> afterPieces, std::size_t pieceBytes = WrittenPieceBytes);

}  // namespace quenlix
