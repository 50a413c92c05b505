// The searches and the duplicate test on a generated hosts text, one run per
// request. bench/bench.py drives it through stdin and stdout and runs the
// reference tool (grep) between two runs, so that both see the same machine.
//
//   open PREFIX   load PREFIX.u16 (the hosts text) and its queries -> "ok UNITS"
//   contains | equal | terms | duplicate | check | trace | pack | fill-packed
//                 run once -> "MILLISECONDS RESULT"  (RESULT: lines found,
//                 characters of terms found, 1/0 for a duplicate, findings of
//                 the check, lines that name the traced name, the entry
//                 lines once packed, or the units of new memory written)
//   evict         write over more memory than the caches hold (every run
//                 does this first) -> "ok"
//   verify        compare every function with its direct transcription on the
//                 open text -> "ok" or "mismatch NAME"
//   quit

#include <algorithm>
#include <iostream>
#include <optional>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "BenchText.h"
#include "edit/DuplicateLines.h"
#include "edit/EntryPacking.h"
#include "edit/HostsCheck.h"
#include "edit/NameTrace.h"
#include "edit/ReferenceSearches.h"
#include "edit/Searches.h"
#include "hosts/HostsText.h"
#include "hosts/ReferenceLineRule.h"

namespace quenlix::bench {
namespace {

// The platform's case mapping on this data: it holds ASCII and Chinese
// characters only, and Chinese characters have no case.
std::u16string AsciiUpper(std::u16string_view text) {
    std::u16string upper(text);
    for (char16_t& c : upper) c = static_cast<char16_t>(c - (static_cast<char16_t>(c - u'a') < 26 ? 32 : 0));
    return upper;
}

void AsciiUpperInPlace(std::span<char16_t> text) {
    for (char16_t& c : text) c = static_cast<char16_t>(c - (static_cast<char16_t>(c - u'a') < 26 ? 32 : 0));
}

std::size_t CountLines(std::u16string_view text) {
    std::size_t n = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) n += text[i] == u'\r' && text[i + 1] == u'\n';
    return n;
}

struct Data {
    std::u16string text;
    std::u16string contains;
    std::u16string equal;
    std::u16string terms;
    std::u16string entry;
};

// Writes over more memory than the processor's caches hold, so that the next
// run finds nothing of the text there. Without it the text of a smaller file
// stays in the last-level cache from one run to the next while that of the
// largest cannot, and the two would not be measured alike.
void EvictCaches() {
    static std::vector<unsigned char> sweep(128u << 20);
    static unsigned char round = 0;
    std::fill(sweep.begin(), sweep.end(), ++round);
    Keep(sweep);
}

std::string Run(const Data& data, const std::string& what) {
    EvictCaches();
    std::ostringstream reply;
    std::size_t result = 0;
    double ms = 0;
    if (what == "contains") {
        ms = TimeMs([&] { result = CountLines(FindLinesContaining(data.text, data.contains)); });
    } else if (what == "equal") {
        ms = TimeMs([&] { result = CountLines(FindEqualLines(data.text, data.equal)); });
    } else if (what == "terms") {
        ms = TimeMs([&] { result = FindPresentTerms(data.text, data.terms).size(); });
    } else if (what == "duplicate") {
        // As Command5 runs it once the file is read: the entry and the text
        // upper-cased, the kept lines searched.
        ms = TimeMs([&] {
            result = FirstDuplicateLineByBlocks(data.text, AsciiUpper(data.entry), AsciiUpperInPlace).has_value();
        });
    } else if (what == "check") {
        // As 检查 Hosts 文件 runs it on a file in UTF-8, which holds every
        // character: no line is handed to the code page.
        ms = TimeMs([&] { result = CheckHostsText(data.text).findings.size(); });
    } else if (what == "trace") {
        // The name of the entry line, which the file does not hold: every
        // line is looked at.
        const std::u16string_view entry = data.entry;
        const std::u16string_view name = entry.substr(entry.find(u' ') + 1);
        ms = TimeMs([&] { result = TraceHostName(data.text, name).size(); });
    } else if (what == "pack") {
        // The packed text as it goes into the box, without the box's own work.
        ms = TimeMs([&] { result = PackEntries(data.text).entryLinesAfter; });
    } else if (what == "fill-packed") {
        // What packing cannot do without: an allocation as long as the
        // packed text, written once. The allocator hands a large one memory
        // the process has not touched before, as it does to packing.
        const std::size_t packedSize = PackEntries(data.text).replacement.size();
        ms = TimeMs([&] {
            const std::u16string filled(packedSize, u' ');
            Keep(filled);
            result = filled.size();
        });
    } else {
        return "unknown request";
    }
    reply << ms << ' ' << result;
    return reply.str();
}

std::string Verify(const Data& data) {
    if (ApplyLineRule(data.text) != reference::ApplyLineRule(data.text)) return "mismatch ApplyLineRule";
    if (FindLinesContaining(data.text, data.contains) != reference::FindLinesContaining(data.text, data.contains))
        return "mismatch FindLinesContaining";
    if (FindEqualLines(data.text, data.equal) != reference::FindEqualLines(data.text, data.equal))
        return "mismatch FindEqualLines";
    if (FindPresentTerms(data.text, data.terms) != reference::FindPresentTerms(data.text, data.terms))
        return "mismatch FindPresentTerms";
    const std::u16string upper = AsciiUpper(data.text);
    // An entry that is in the file, so that the hit is compared too.
    for (const std::u16string& entry : {AsciiUpper(data.entry), std::u16string(u"0.0.0.0 DOUBLECLICK")}) {
        const auto direct = reference::FirstDuplicateLine(upper, entry);
        const auto fast = FirstDuplicateLine(upper, entry);
        if (fast.has_value() != direct.has_value() || (fast && std::u16string(*fast) != *direct))
            return "mismatch FirstDuplicateLine";
        if (FirstDuplicateLineByBlocks(data.text, entry, AsciiUpperInPlace) != direct)
            return "mismatch FirstDuplicateLineByBlocks";
    }
    return "ok";
}

}  // namespace
}  // namespace quenlix::bench

int main() {
    using namespace quenlix::bench;
    std::optional<Data> data;
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream request(line);
        std::string what;
        request >> what;
        std::string reply;
        try {
            if (what == "quit") break;
            if (what == "open") {
                std::string prefix;
                request >> prefix;
                data = Data{ReadUtf16(prefix + ".u16"), ReadUtf16(prefix + ".contains.u16"),
                            ReadUtf16(prefix + ".equal.u16"), ReadUtf16(prefix + ".terms.u16"),
                            ReadUtf16(prefix + ".entry.u16")};
                // The generated file ends every line with CR LF, so the
                // decoded file is already the hosts text.
                reply = quenlix::ApplyLineRule(data->text) == data->text
                            ? "ok " + std::to_string(data->text.size())
                            : "error: not a hosts text";
            } else if (!data) {
                reply = "error: nothing open";
            } else if (what == "evict") {
                EvictCaches();
                reply = "ok";
            } else if (what == "verify") {
                reply = Verify(*data);
            } else {
                reply = Run(*data, what);
            }
        } catch (const std::exception& e) {
            reply = std::string("error: ") + e.what();
        }
        std::cout << reply << std::endl;
    }
    return 0;
}
