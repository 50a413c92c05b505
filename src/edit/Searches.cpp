#include "edit/Searches.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <unordered_map>
#include <vector>

#include "edit/HitLines.h"
#include "edit/StringRules.h"
#include "hosts/Lines.h"

namespace quenlix {

namespace {

constexpr std::u16string_view CrLf = u"\r\n";

// Up to this many distinct terms, ShowTermsFound searches for each on its own.
constexpr std::size_t FewTerms = 8;

// Adds count copies of a piece of `size` units to `total`, refusing a result
// that no string could hold rather than letting the sum wrap around.
void AddCopies(std::size_t& total, std::size_t count, std::size_t size) {
    const std::size_t limit = std::u16string().max_size();
    if (count != 0 && size > (limit - total) / count) {
        throw std::length_error("FindEqualLines: result too long");
    }
    total += count * size;
}

// Aho-Corasick automaton over the terms of ShowTermsFound, so that one pass over
// text1 answers every term at once: an address box of many terms costs no more than
// one of a few. The trie's edges live in one hash table keyed by (node, unit),
// since UTF-16 is too wide an alphabet for a table per node.
class TermAutomaton {
public:
    static constexpr std::size_t None = std::numeric_limits<std::size_t>::max();

    explicit TermAutomaton(std::size_t totalTermSize) : usedUnit_(0x10000, false) {
        parent_.push_back(0);
        unit_.push_back(0);
        depth_.push_back(0);
        edges_.reserve(totalTermSize);
    }

    // The node that stands for `term`; equal terms share one node.
    std::size_t Add(std::u16string_view term) {
        std::size_t node = 0;
        for (const char16_t c : term) {
            usedUnit_[c] = true;
            const auto [it, inserted] = edges_.try_emplace(Key(node, c), parent_.size());
            if (inserted) {
                parent_.push_back(node);
                unit_.push_back(c);
                depth_.push_back(depth_[node] + 1);
            }
            node = it->second;
        }
        return node;
    }

    // After the last Add: for every node whether the text holds the string it
    // stands for.
    std::vector<bool> Occurring(std::u16string_view text) const {
        const std::vector<std::size_t> order = BreadthFirstOrder();
        const std::vector<std::size_t> fail = FailureLinks(order);

        std::vector<bool> reached(parent_.size(), false);
        std::size_t state = 0;
        for (const char16_t c : text) {
            if (!usedUnit_[c]) {  // no term holds c: every match breaks here
                state = 0;
                continue;
            }
            state = Step(fail, state, c);
            reached[state] = true;
        }
        // A node's string occurs wherever a longer string whose failure chain
        // leads to it was reached; children come after parents in `order`.
        for (std::size_t i = order.size(); i-- > 1;) {
            const std::size_t node = order[i];
            if (reached[node]) reached[fail[node]] = true;
        }
        return reached;
    }

private:
    static std::uint64_t Key(std::size_t node, char16_t c) {
        return (static_cast<std::uint64_t>(node) << 16) | c;
    }

    std::size_t Child(std::size_t node, char16_t c) const {
        const auto it = edges_.find(Key(node, c));
        return it == edges_.end() ? None : it->second;
    }

    std::size_t Step(const std::vector<std::size_t>& fail, std::size_t state, char16_t c) const {
        for (;;) {
            const std::size_t child = Child(state, c);
            if (child != None) return child;
            if (state == 0) return 0;
            state = fail[state];
        }
    }

    std::vector<std::size_t> BreadthFirstOrder() const {
        std::size_t maxDepth = 0;
        for (const std::size_t d : depth_) maxDepth = std::max(maxDepth, d);
        std::vector<std::size_t> start(maxDepth + 2, 0);
        for (const std::size_t d : depth_) ++start[d + 1];
        for (std::size_t d = 1; d < start.size(); ++d) start[d] += start[d - 1];
        std::vector<std::size_t> order(depth_.size());
        for (std::size_t node = 0; node < depth_.size(); ++node) order[start[depth_[node]]++] = node;
        return order;
    }

    std::vector<std::size_t> FailureLinks(const std::vector<std::size_t>& order) const {
        std::vector<std::size_t> fail(parent_.size(), 0);
        for (const std::size_t node : order) {
            if (depth_[node] < 2) continue;  // the root and its children fail to the root
            const char16_t c = unit_[node];
            std::size_t f = fail[parent_[node]];
            for (;;) {
                const std::size_t child = Child(f, c);
                if (child != None) {
                    fail[node] = child;
                    break;
                }
                if (f == 0) break;
                f = fail[f];
            }
        }
        return fail;
    }

    std::vector<bool> usedUnit_;
    std::vector<std::size_t> parent_;
    std::vector<char16_t> unit_;
    std::vector<std::size_t> depth_;
    std::unordered_map<std::uint64_t, std::size_t> edges_;
};

}  // namespace

std::u16string FindEqualLines(std::u16string_view text1, std::u16string_view text2) {
    const std::vector<std::u16string_view> lines2 = CutAt(text2, CrLf);
    if (text1.empty() || lines2.empty()) return {};

    // Every match equals the piece b of text2 itself, so the nested loops
    // write b + CR LF once per equal piece of text1: only the counts matter.
    // They are kept for text2's pieces, the short side in use; a piece of
    // text1 is looked up only when some piece of text2 has its length, so
    // most lines of a large text1 cost no more than finding their end.
    std::unordered_map<std::u16string_view, std::size_t> countIn1;
    countIn1.reserve(lines2.size());
    std::size_t longest = 0;
    for (const std::u16string_view b : lines2) {
        countIn1.emplace(b, 0);
        longest = std::max(longest, b.size());
    }
    std::vector<bool> lengthWanted(longest + 1, false);
    for (const std::u16string_view b : lines2) lengthWanted[b.size()] = true;
    const auto count = [&](std::u16string_view a) {
        if (a.size() > longest || !lengthWanted[a.size()]) return;
        const auto it = countIn1.find(a);
        if (it != countIn1.end()) ++it->second;
    };
    // The pieces of text1 at CR LF, as CutAt gives them, without a list.
    LineWalk pieces(text1, LineBreaks::Box, /*emptyRest=*/true);
    for (auto piece = pieces.Next(); piece; piece = pieces.Next()) count(piece->text);

    std::vector<std::size_t> copies(lines2.size());
    std::size_t total = 0;
    for (std::size_t i = 0; i < lines2.size(); ++i) {
        copies[i] = countIn1.find(lines2[i])->second;
        AddCopies(total, copies[i], lines2[i].size() + CrLf.size());
    }

    std::u16string result;
    result.reserve(total);
    for (std::size_t i = 0; i < lines2.size(); ++i) {
        for (std::size_t n = 0; n < copies[i]; ++n) {
            result.append(lines2[i]);
            result.append(CrLf);
        }
    }
    return result;
}

std::u16string FindPresentTerms(std::u16string_view text1, std::u16string_view text2) {
    // An empty text1 contains no term, not even the empty one; an empty term
    // found in a non-empty text1 adds nothing. Either way only non-empty terms
    // can change the result.
    if (text1.empty()) return {};
    const std::vector<std::u16string_view> terms = CutAt(text2, u",");

    // The distinct terms that can change the result.
    std::unordered_map<std::u16string_view, bool> found;
    for (const std::u16string_view term : terms) {
        if (!term.empty()) found.emplace(term, false);
    }
    if (found.size() <= FewTerms) {
        // A handful of terms, as typed: each is looked for on its own, and the
        // search stops at its first occurrence.
        for (auto& [term, present] : found) present = SubstringSearcher(term).Find(text1) != SubstringSearcher::npos;
    } else {
        // Many terms: one pass of the automaton answers them all.
        TermAutomaton automaton(text2.size());
        std::vector<std::pair<std::u16string_view, std::size_t>> nodes;
        for (const auto& [term, present] : found) nodes.emplace_back(term, automaton.Add(term));
        const std::vector<bool> occurring = automaton.Occurring(text1);
        for (const auto& [term, node] : nodes) found[term] = occurring[node];
    }

    std::size_t total = 0;
    for (const std::u16string_view term : terms) {
        if (!term.empty() && found[term]) total += term.size();
    }
    std::u16string result;
    result.reserve(total);
    for (const std::u16string_view term : terms) {
        if (!term.empty() && found[term]) result.append(term);
    }
    return result;
}

std::u16string FindLinesContaining(std::u16string_view text1, std::u16string_view text2) {
    std::vector<std::u16string_view> hits;
    std::size_t total = 0;
    const auto hit = [&](std::u16string_view line) {
        hits.push_back(line);
        total += line.size() + CrLf.size();
    };

    if (text2.empty()) {
        // Every non-empty line followed by CR LF contains the empty string.
        LineWalk lines(text1, LineBreaks::Box);
        for (auto line = lines.Next(); line && line->hasBreak; line = lines.Next()) {
            if (!line->text.empty()) hit(line->text);
        }
    } else {
        // An occurrence counts when it lies inside a line, clear of the line's
        // CR LF; whatever follows the last CR LF is never examined.
        const SubstringSearcher searcher(text2);
        JudgeHitLines(text1, searcher, LineBreaks::Box, [&](const HitLine& line, std::size_t at) {
            if (!line.hasBreak) return HitVerdict::Stop;
            if (at + searcher.Size() > line.end) return HitVerdict::LaterHit;
            hit(text1.substr(line.begin, line.end - line.begin));
            return HitVerdict::NextLine;
        });
    }

    std::u16string result;
    result.reserve(total);
    for (const std::u16string_view line : hits) {
        result.append(line);
        result.append(CrLf);
    }
    return result;
}

}  // namespace quenlix
