#include "hosts/CutOffWrite.h"

#include <algorithm>

#include "platform/FileSnapshot.h"

namespace quenlix {

std::vector<std::uint64_t> PieceHashes(std::string_view head, std::string_view tail, std::size_t pieceBytes) {
    std::vector<std::uint64_t> hashes;
    const std::uint64_t size = head.size() + tail.size();
    for (std::uint64_t start = 0; start < size; start += pieceBytes) {
        const std::uint64_t end = std::min<std::uint64_t>(start + pieceBytes, size);
        SnapshotBuilder piece;
        if (start < head.size()) piece.Add(head.substr(start, std::min<std::uint64_t>(end, head.size()) - start));
        if (end > head.size()) {
            const std::uint64_t from = std::max<std::uint64_t>(start, head.size()) - head.size();
            piece.Add(tail.substr(from, end - head.size() - from));
        }
        hashes.push_back(piece.Finish().hash);
    }
    return hashes;
}

bool IsLeftByCutOffWrite(std::string_view now, std::string_view before, std::uint64_t afterSize,
                         std::span<const std::uint64_t> afterPieces, std::size_t pieceBytes) {
    if (now.size() != std::max<std::uint64_t>(before.size(), afterSize)) return false;
    if (afterPieces.size() != (afterSize + pieceBytes - 1) / pieceBytes) return false;
    // Where the old bytes (and the zeros of a grown file) begin: as early as
    // they reach back unbroken from the end.
    const auto old = [&](std::size_t at) { return at < before.size() ? before[at] : '\0'; };
    std::size_t cut = now.size();
    while (cut > 0 && now[cut - 1] == old(cut - 1)) --cut;
    // Bytes past the new end that are not the old ones: no write of these
    // put them there.
    if (cut > afterSize) return false;
    // Each whole piece before the cut holds the new bytes.
    for (std::size_t piece = 0; piece * pieceBytes < cut; ++piece) {
        const std::size_t start = piece * pieceBytes;
        const std::size_t end = static_cast<std::size_t>(std::min<std::uint64_t>(start + pieceBytes, afterSize));
        if (end > cut) break;  // the piece the cut falls in
        if (SnapshotBuilder::Of(now.substr(start, end - start)).hash != afterPieces[piece]) return false;
    }
    return true;
}

}  // namespace quenlix
