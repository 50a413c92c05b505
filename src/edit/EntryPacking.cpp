#include "edit/EntryPacking.h"

#include <algorithm>
#include <vector>

#include "edit/EntryCheck.h"
#include "edit/HostNames.h"
#include "edit/HostsLine.h"

namespace quenlix {

namespace {

// A run of lines that may pack together, and the names it holds so far.
class Run {
public:
    bool Empty() const { return lines_ == 0; }
    std::u16string_view Address() const { return address_; }

    void Start(std::u16string_view address, const TextLine& line, std::u16string_view text) {
        address_ = address;
        begin_ = line.begin;
        firstBreak_ = text.substr(line.end, line.next - line.end);
        lines_ = 0;
        namesLength_ = 0;
        names_.clear();
        seen_.Clear();
    }
    void Add(const HostsLineFields& fields, const TextLine& line, std::u16string_view text) {
        ++lines_;
        end_ = line.next;
        lastBreak_ = text.substr(line.end, line.next - line.end);
        for (const std::u16string_view name : fields.names)
            if (!seen_.FindOrAdd(name, 0)) {
                names_.push_back(name);
                namesLength_ += name.size();
            }
    }

    std::size_t Begin() const { return begin_; }
    std::size_t End() const { return end_; }
    std::size_t Lines() const { return lines_; }
    std::size_t Names() const { return names_.size(); }
    std::size_t PackedLines() const { return (names_.size() + MostNamesOnALine - 1) / MostNamesOnALine; }
    // How long the run is once packed.
    std::size_t PackedLength() const {
        return PackedLines() * address_.size() + names_.size() + namesLength_ +
               (PackedLines() - 1) * firstBreak_.size() + lastBreak_.size();
    }

    // The run packed, onto the end of `out`.
    void AppendPacked(std::u16string& out) const {
        for (std::size_t i = 0; i < names_.size(); i += MostNamesOnALine) {
            out += address_;
            const std::size_t last = std::min(names_.size(), i + MostNamesOnALine);
            for (std::size_t k = i; k < last; ++k) {
                out += u' ';
                out += names_[k];
            }
            out += last == names_.size() ? lastBreak_ : firstBreak_;
        }
    }

private:
    std::u16string_view address_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    std::size_t lines_ = 0;
    std::size_t namesLength_ = 0;
    std::u16string_view firstBreak_;
    std::u16string_view lastBreak_;
    std::vector<std::u16string_view> names_;
    HostNameTable seen_;
};

// For an entry line.
bool MayPack(const HostsLineFields& fields) {
    return fields.commentAt == NoPosition && fields.names.size() <= MostNamesOnALine &&
           std::all_of(fields.names.begin(), fields.names.end(), IsHostName);
}

}  // namespace

PackedEntries PackEntries(std::u16string_view text) {
    PackedEntries packed;
    HostsLineFields fields;
    Run run;
    std::u16string scratch;
    // What follows the last changed run, not yet copied: copied only when
    // another run changes after it.
    std::size_t copiedTo = 0;
    bool changed = false;

    const auto finishRun = [&] {
        if (run.Empty()) return;
        packed.entryLinesAfter += run.Lines();
        packed.names += run.Names();
        if (run.Lines() < 2) return;
        // Only a run as long packed as it is may be packed already.
        if (run.PackedLength() == run.End() - run.Begin()) {
            scratch.clear();
            run.AppendPacked(scratch);
            if (scratch == text.substr(run.Begin(), run.End() - run.Begin())) return;
        }
        packed.entryLinesAfter -= run.Lines() - run.PackedLines();
        if (!changed) {
            changed = true;
            packed.range.begin = run.Begin();
            // Packing never lengthens the text: room for the rest of it at once.
            packed.replacement.reserve(text.size() - run.Begin());
        } else {
            packed.replacement.append(text.substr(copiedTo, run.Begin() - copiedTo));
        }
        run.AppendPacked(packed.replacement);
        copiedTo = packed.range.end = run.End();
    };

    for (auto line = ReadHostsLineAt(text, 0, fields); line; line = ReadHostsLineAt(text, line->next, fields)) {
        // A run's address is known good: the next line's, if the same, is too.
        const bool entry =
            (!run.Empty() && !fields.names.empty() && fields.address == run.Address()) || IsEntry(fields);
        packed.entryLinesBefore += entry;
        if (entry && MayPack(fields)) {
            if (run.Empty() || run.Address() != fields.address) {
                finishRun();
                run.Start(fields.address, *line, text);
            }
            run.Add(fields, *line, text);
            continue;
        }
        finishRun();
        run.Start({}, *line, text);  // an empty run
        if (entry) {
            ++packed.entryLinesAfter;
            packed.names += fields.names.size();
        }
    }
    finishRun();
    return packed;
}

}  // namespace quenlix
