#pragma once

// The file's line rule read the slow, literal way: a sequential reader that
// hands out one line at a time, and a loop that appends each line and CR LF.
// Shares no code with ApplyLineRule, so that it can be compared against it.

#include <cstddef>
#include <string>
#include <string_view>

namespace quenlix::reference {

class SequentialLineReader {
public:
    explicit SequentialLineReader(std::u16string_view file) : file_(file) {}

    bool AtEnd() const { return position_ >= file_.size(); }

    // The run up to the next CR, or CR LF, or the end of the file; the CR or
    // CR LF is consumed and is not part of the line. A lone LF stays in it.
    std::u16string ReadLine() {
        std::u16string line;
        while (!AtEnd()) {
            const char16_t c = file_[position_++];
            if (c == u'\r') {
                if (!AtEnd() && file_[position_] == u'\n') ++position_;
                break;
            }
            line.push_back(c);
        }
        return line;
    }

private:
    std::u16string_view file_;
    std::size_t position_ = 0;
};

inline std::u16string ApplyLineRule(std::u16string_view file) {
    SequentialLineReader reader(file);
    std::u16string text;
    while (!reader.AtEnd()) {
        text += reader.ReadLine();
        text += u"\r\n";
    }
    return text;
}

}  // namespace quenlix::reference
