#pragma once

#include <string>
#include <string_view>

namespace quenlix {

// The three searches of the main text (text1, the hosts text in the hosts text box) for what
// was typed into the address box (text2). Each result replaces the results box whole. No 16-bit
// bounds: any number of lines, lines of any length. Each runs in time linear
// in the sizes of the two texts plus the size of its result.

// ShowEqualLines. Both texts cut at CR LF (empty pieces included, the empty text
// giving none). For each piece b of text2 in order, and for each piece a of
// text1 in order: a equal to b adds a + CR LF. So the result is grouped by
// text2's order, and a line i times in text2 and j times in text1 comes i x j
// times; two texts ending in CR LF match their empty last pieces.
std::u16string FindEqualLines(std::u16string_view text1, std::u16string_view text2);

// ShowTermsFound. text2 cut at "," into terms (not trimmed); each term contained in
// text1, in order and as often as listed, is appended with no separator. An
// empty term is found in a non-empty text1 and adds nothing.
std::u16string FindPresentTerms(std::u16string_view text1, std::u16string_view text2);

// ShowLinesContaining. Every line of text1 that is followed by CR LF and contains text2,
// each followed by CR LF. Whatever follows the last CR LF is never examined;
// an empty line contains nothing, so it is never listed.
std::u16string FindLinesContaining(std::u16string_view text1, std::u16string_view text2);

}  // namespace quenlix
