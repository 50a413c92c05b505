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

// The bytes of a file after a load and a save with no edit: its own, the
// line rule applied to its units (its bytes, or after the mark its UTF-16
// code units, an odd last byte staying last), since every byte that is a
// CR or an LF decodes to that character on its own.
inline std::string ApplyLineRuleToBytes(std::string_view bytes, std::size_t markSize, bool utf16, bool bigEndian) {
    std::string out(bytes.substr(0, markSize));
    bytes.remove_prefix(markSize);
    const std::size_t width = utf16 ? 2 : 1;
    std::u16string units;
    for (std::size_t i = 0; i + width <= bytes.size(); i += width) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = utf16 ? static_cast<unsigned char>(bytes[i + 1]) : 0;
        units.push_back(static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first));
    }
    for (const char16_t c : ApplyLineRule(units)) {
        if (utf16 && bigEndian) out.push_back(static_cast<char>(c >> 8));
        out.push_back(static_cast<char>(c & 0xFF));
        if (utf16 && !bigEndian) out.push_back(static_cast<char>(c >> 8));
    }
    if (utf16 && bytes.size() % 2 != 0) out.push_back(bytes.back());
    return out;
}

}  // namespace quenlix::reference
