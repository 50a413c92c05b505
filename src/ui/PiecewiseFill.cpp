#include "ui/PiecewiseFill.h"

#include <algorithm>

#include "edit/StringRules.h"

namespace quenlix {

std::size_t PieceStartBefore(std::u16string_view text, std::size_t end, std::size_t size) {
    if (end == 0) return 0;
    // Looking back from `end - size` (at least one character back) for the
    // end of the line before: the piece starts just after it.
    const std::size_t from = end - std::clamp<std::size_t>(size, 1, end);
    if (from == 0) return 0;
    const std::size_t lineEnd = text.substr(0, from).rfind(u'\n');
    return lineEnd == std::u16string_view::npos ? 0 : lineEnd + 1;
}

std::size_t NextPieceSize(std::size_t lastSize, double lastMs) {
    // Scaled towards the target time, but by no more than half or double at
    // a step: one piece slowed by the rest of the machine must not make the
    // next one tiny or huge.
    const double scale = lastMs > 0 ? std::clamp(TargetPieceMs / lastMs, 0.5, 2.0) : 2.0;
    const auto timed = static_cast<std::size_t>(static_cast<double>(lastSize) * scale);
    return std::max<std::size_t>(timed, 1);
}

PiecewiseFill::PiecewiseFill(std::u16string_view text, std::size_t firstPieceSize)
    : text_(text), start_(text.size()), pieceStart_(text.size()) {
    ChoosePiece(firstPieceSize);
}

void PiecewiseFill::ChoosePiece(std::size_t size) {
    lastSize_ = size;
    pieceStart_ = PieceStartBefore(text_, start_, size);
}

void PiecewiseFill::PieceInserted(double ms) {
    start_ = pieceStart_;
    ChoosePiece(NextPieceSize(lastSize_, ms));
}

int PiecewiseFill::Percent() const {
    if (text_.empty()) return 100;
    const std::size_t filled = text_.size() - start_;
    return static_cast<int>(filled * 100 / text_.size());
}

std::u16string FillingTitle(std::u16string_view title, int percent) {
    return std::u16string(title) + u" \u2014 正在读取 " + DecimalText(static_cast<std::size_t>(percent)) + u"%";
}

}  // namespace quenlix
