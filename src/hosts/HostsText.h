#pragma once

#include <string>
#include <string_view>

namespace quenlix {

// The hosts text: every line of the file followed by CR LF, the last line too;
// the empty file is the empty string.
//
// A line of the file ends at CR or CR LF, or at the end of the file; a lone LF
// stays inside its line. Turns the decoded file content into the hosts text.
std::u16string ApplyLineRule(std::u16string_view fileText);

// Tells, of a text seen in pieces in order, whether every CR in it is
// followed by LF: then the line rule changes it at most by adding the
// terminator of an unterminated last line.
class CrLfCheck {
public:
    void Add(std::u16string_view piece);
    bool EveryCrHasItsLf() const { return !loneCr_ && !crAtEnd_; }

private:
    bool loneCr_ = false;
    bool crAtEnd_ = false;  // the last piece ended in CR: the next must begin with LF
};

// The same as `text = ApplyLineRule(text)`, without a copy of the text when its
// line ends are CR LF already (the usual file): then at most the terminator of
// an unterminated last line is added. `check` has seen the whole text.
void ApplyLineRuleInPlace(std::u16string& text, const CrLfCheck& check);
void ApplyLineRuleInPlace(std::u16string& text);

// The stock content a missing or reset hosts file gets: 21 lines, 836 bytes.
extern const std::u16string_view DefaultHostsText;

}  // namespace quenlix
