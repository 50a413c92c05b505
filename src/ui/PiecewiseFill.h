#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quenlix {

// A multi-line edit box lays out every line it is given before it answers
// again: under Wine about 40 µs a line, most of a minute for a million. A
// text this long or longer goes into the hosts text box a piece at a time,
// with the window answering between pieces; a shorter one is laid out
// faster than a user could tell the difference, in one go (see
// docs/performance.md for the measurement behind the figure).
inline constexpr std::size_t PiecewiseFillThreshold = 100'000;

// How long one piece should keep the window from answering. Each piece
// costs the box a pass over everything it already holds on top of the lines
// it lays out (under Wine about 35 ms at a million lines), so larger pieces
// waste less; this one leaves room below the 200 ms within which a window
// is expected to answer, for a next piece that takes longer than the last
// and for a machine busy with something else as well.
inline constexpr double TargetPieceMs = 120.0;

// The pieces go into the box from the end of the text towards its start,
// each at the very start of the box: there the box finds its place without
// walking all the lines it already holds (under Wine, several walks of
// every line at each insert at the end). Every piece begins at the start
// of a line and ends where the next piece begins, so none splits a line or
// a CR LF.
class PiecewiseFill {
public:
    PiecewiseFill(std::u16string_view text, std::size_t firstPieceSize);

    bool Done() const { return start_ == 0; }
    // The next piece to insert: [start, end) of the text.
    std::size_t PieceStart() const { return pieceStart_; }
    std::size_t PieceEnd() const { return start_; }
    // Records that the piece went in and took `ms`; picks the next one.
    void PieceInserted(double ms);

    // How much of the text the box holds, in whole per cent: 100 only
    // once it holds all of it.
    int Percent() const;

private:
    void ChoosePiece(std::size_t size);

    std::u16string_view text_;
    std::size_t start_;       // the box holds [start_, size) of the text
    std::size_t pieceStart_;  // the next piece is [pieceStart_, start_)
    std::size_t lastSize_ = 0;
};

// The start of the line that holds the character just before `end` minus
// `size`: where a piece of about `size` characters that ends at `end` begins.
// Never `end` itself unless `end` is 0, so every piece holds something.
std::size_t PieceStartBefore(std::u16string_view text, std::size_t end, std::size_t size);

// How many characters the next piece should hold, from the size and the time
// of the last one.
std::size_t NextPieceSize(std::size_t lastSize, double lastMs);

// The window's title while the hosts text box fills.
std::u16string FillingTitle(std::u16string_view title, int percent);

}  // namespace quenlix
