#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/WindowState.h"

namespace quenlix::testing {

// The main window's state as plain fields, with the initial texts the real
// window starts with.
class FakeWindow : public WindowState {
public:
    std::u16string title = u"Hosts";
    FormWidth width = FormWidth::Narrow;
    bool closed = false;
    bool modified = false;  // set by a test that types into Text1
    std::optional<FileSnapshot> snapshot;
    HostsEncoding encoding = HostsEncoding::Ansi;
    std::size_t capacity = 0x7FFFFFFE;
    std::array<std::u16string, 4> texts{u"Text1", u"Text2", u"Text3", u"Text4"};
    std::size_t caret = 0;
    TextRange selection;  // of Text1; empty at `caret` unless a test selects
    std::size_t resultsClick = 0;  // in Text4
    int replacements = 0;  // how many single edits ReplaceHostsText made

    std::u16string& text(TextBox box) { return texts[static_cast<int>(box)]; }

    void SetTitle(std::u16string_view t) override { title = t; }
    FormWidth Width() override { return width; }
    void SetWidth(FormWidth w) override { width = w; }
    std::u16string Text(TextBox box) override {
        return texts[static_cast<int>(box)];
    }
    void SetText(TextBox box, std::u16string_view t) override {
        texts[static_cast<int>(box)] = t;
        if (box == TextBox::HostsText) modified = false;
    }
    bool HostsTextModified() override { return modified; }
    void MarkHostsTextSaved() override { modified = false; }
    std::optional<FileSnapshot> HostsSnapshot() override { return snapshot; }
    HostsEncoding HostsFileEncoding() override { return encoding; }
    void SetHostsSnapshot(const FileSnapshot& s, HostsEncoding e) override {
        snapshot = s;
        encoding = e;
    }
    std::size_t HostsTextCapacity() override { return capacity; }
    std::size_t CaretPosition() override { return caret; }
    TextRange HostsTextSelection() override {
        return selection.end > selection.begin ? selection : TextRange{caret, caret};
    }
    void ReplaceHostsText(TextRange range, std::u16string_view t, TextRange select) override {
        text(TextBox::HostsText).replace(range.begin, range.end - range.begin, t);
        modified = true;
        ++replacements;
        selection = select;
        caret = select.begin;
    }
    void SelectHostsText(TextRange range) override {
        selection = range;
        caret = range.begin;
    }
    std::size_t ResultsClickPosition() override { return resultsClick; }
    void Close() override { closed = true; }
};

}  // namespace quenlix::testing
