// Text1 takes a whole hosts file in a buffer the program fills and hands
// over (EM_SETHANDLE) rather than through WM_SETTEXT. The box must behave as
// if the text had been set the usual way: it reads back whole, NULs
// included, the caret stands at the start, the user can go on typing into
// it, and a second load replaces the first.

#include <string>

#include "Win32FormTestSupport.h"

namespace quenlix {
namespace {

using testing::Win32FormTest;

std::u16string LargeText() {
    std::u16string text;
    while (text.size() < 300000) text += u"0.0.0.0 广告.example # 统计\r\n";
    return text;
}

TEST_F(Win32FormTest, Text1ReadsBackWhatItWasGivenWithTheCaretAtTheStart) {
    const std::u16string text = LargeText();
    SendMessageW(Child("Text1"), EM_SETSEL, 5, 5);
    form->SetText(TextBox::HostsText, text);
    EXPECT_EQ(form->Text(TextBox::HostsText), text);
    EXPECT_EQ(form->CaretPosition(), 0u);
    std::u16string lent;
    form->ReadHostsText([&](std::u16string_view view) { lent = view; });
    EXPECT_EQ(lent, text);
}

TEST_F(Win32FormTest, Text1KeepsNulsAndTheEmptyText) {
    using namespace std::string_literals;
    const std::u16string withNuls = u"a\0b\r\n\0\r\n"s;
    form->SetText(TextBox::HostsText, withNuls);
    EXPECT_EQ(form->Text(TextBox::HostsText), withNuls);
    form->SetText(TextBox::HostsText, u"");
    EXPECT_EQ(form->Text(TextBox::HostsText), u"");
}

TEST_F(Win32FormTest, Text1TakesTypingAfterItsTextWasHandedOver) {
    const std::u16string text = LargeText();
    form->SetText(TextBox::HostsText, text);
    HWND text1 = Child("Text1");
    const LRESULT end = SendMessageW(text1, WM_GETTEXTLENGTH, 0, 0);
    SendMessageW(text1, EM_SETSEL, end, end);
    SendMessageW(text1, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"127.0.0.1 新主机\r\n"));
    EXPECT_EQ(form->Text(TextBox::HostsText), text + u"127.0.0.1 新主机\r\n");
    // The user's edit can be taken back, as in any edit box.
    EXPECT_TRUE(SendMessageW(text1, EM_CANUNDO, 0, 0));
}

TEST_F(Win32FormTest, ASecondLoadOfText1ReplacesTheFirst) {
    form->SetText(TextBox::HostsText, LargeText());
    form->SetText(TextBox::HostsText, u"::1 localhost\r\n");
    EXPECT_EQ(form->Text(TextBox::HostsText), u"::1 localhost\r\n");
    EXPECT_EQ(SendMessageW(Child("Text1"), EM_GETLINECOUNT, 0, 0), 2);
}

}  // namespace
}  // namespace quenlix
