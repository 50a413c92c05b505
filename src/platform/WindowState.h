#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Encoding.h"
#include "platform/FileSnapshot.h"

namespace quenlix {

enum class TextBox { HostsText, Address, HostName, Results };

// A stretch of a text box's text: from `begin` up to, not including, `end`,
// in UTF-16 units.
struct TextRange {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool operator==(const TextRange&) const = default;
};

// The two widths the main window is set to. A window that some other program resized
// is neither, and reads as Other.
enum class FormWidth { Narrow, Wide, Other };

// What the commands read and write of the main window. The commands read it
// at the moment they run and cache nothing between clicks.
class WindowState {
public:
    virtual ~WindowState() = default;

    virtual void SetTitle(std::u16string_view title) = 0;

    virtual FormWidth Width() = 0;
    // Narrow or Wide.
    virtual void SetWidth(FormWidth width) = 0;

    virtual std::u16string Text(TextBox box) = 0;
    // Filling the hosts text box clears its modified flag.
    virtual void SetText(TextBox box, std::u16string_view text) = 0;

    // Whether the user changed the hosts text box since it was last filled or saved.
    virtual bool HostsTextModified() = 0;
    virtual void MarkHostsTextSaved() = 0;

    // What the hosts file held when the hosts text box was last filled from it or saved
    // to it, and the encoding it was in; nothing before either. A save keeps
    // that encoding for a file that is gone meanwhile.
    virtual std::optional<FileSnapshot> HostsSnapshot() = 0;
    virtual HostsEncoding HostsFileEncoding() = 0;
    virtual void SetHostsSnapshot(const FileSnapshot& snapshot, HostsEncoding encoding) = 0;

    // The most characters the hosts text box can hold; a longer hosts file cannot be shown.
    virtual std::size_t HostsTextCapacity() = 0;

    // Lends the text of the hosts text box to `use` for the length of the call. The hosts text box may
    // hold a whole hosts file of many megabytes; the window lends its own
    // buffer where the control allows, instead of a copy.
    virtual void ReadHostsText(const std::function<void(std::u16string_view)>& use) { use(Text(TextBox::HostsText)); }

    // The number of characters before the caret of the hosts text box; with a selection,
    // the position of its start.
    virtual std::size_t CaretPosition() = 0;

    // The selection of the hosts text box (an empty range at the caret when
    // nothing is selected).
    virtual TextRange HostsTextSelection() = 0;

    // Replaces `range` of the hosts text box with `text` as one edit, which
    // the user undoes in one step, then selects `select` and scrolls it into
    // view. The text is then unsaved: only a save writes the file.
    virtual void ReplaceHostsText(TextRange range, std::u16string_view text, TextRange select) = 0;

    // Selects `range` of the hosts text box and scrolls its start into view,
    // leaving the text as it is.
    virtual void SelectHostsText(TextRange range) = 0;

    // The character of the results box that the user last double-clicked.
    virtual std::size_t ResultsClickPosition() = 0;

    // Closes the window, which ends the program once the running command has
    // returned.
    virtual void Close() = 0;
};

}  // namespace quenlix
