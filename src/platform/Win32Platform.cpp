#include "platform/Win32Platform.h"

#include <string>

#include "platform/Digits.h"
#include "platform/MessageStyle.h"
#include "platform/Win32EveryoneGroup.h"
#include "platform/Win32Failure.h"
#include "platform/Win32GrowingBuffer.h"
#include "platform/Win32SystemFolders.h"
#include "platform/Win32Text.h"

// The platform's own place and its questions to the user. Its other
// concerns have files of their own: Win32PlatformPrograms.cpp (programs
// started or waited for), Win32PlatformText.cpp (the ANSI code page and
// letter case), Win32PlatformFiles.cpp (files).

namespace quenlix {

namespace {

constexpr wchar_t ApplicationTitle[] = L"Quenlix";

// The styles the commands build are handed to MessageBoxW as they are.
static_assert(Mb::Ok == MB_OK && Mb::OkCancel == MB_OKCANCEL && Mb::YesNoCancel == MB_YESNOCANCEL &&
              Mb::YesNo == MB_YESNO && Mb::IconError == MB_ICONERROR && Mb::IconQuestion == MB_ICONQUESTION &&
              Mb::IconWarning == MB_ICONWARNING && Mb::IconInformation == MB_ICONINFORMATION &&
              Mb::DefaultButton2 == MB_DEFBUTTON2 && Mb::SystemModal == MB_SYSTEMMODAL &&
              Mb::SetForeground == MB_SETFOREGROUND);
static_assert(Answer::Ok == IDOK && Answer::Cancel == IDCANCEL && Answer::Yes == IDYES && Answer::No == IDNO);
static_assert(WindowStyle::Normal == SW_SHOWNORMAL && WindowStyle::MinimizedInactive == SW_SHOWMINNOACTIVE);

}  // namespace

std::u16string FailureReportText(const Failure& failure) {
    return u"错误 " + DecimalText(failure.Number()) + u"：\n" + failure.Description();
}

int Win32Platform::ShowMessage(std::u16string_view prompt, std::uint32_t style,
                               std::optional<std::u16string_view> title) {
    const std::wstring text = ToWide(prompt);
    const std::wstring caption = title ? ToWide(*title) : std::wstring(ApplicationTitle);
    return MessageBoxW(owner_, text.c_str(), caption.c_str(), style);
}

std::u16string Win32Platform::ProgramDirectory() {
    const auto found = StringFromGrowingBuffer([](wchar_t* buffer, std::size_t size) {
        return GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(size));
    });
    if (!found) return {};
    const std::wstring& path = *found;
    const auto slash = path.find_last_of(L'\\');
    return FromWide(slash == std::wstring::npos ? std::wstring_view() : std::wstring_view(path).substr(0, slash));
}

void Win32Platform::ReportFailure(const Failure& failure) {
    const std::wstring text = ToWide(FailureReportText(failure));
    MessageBoxW(owner_, text.c_str(), ApplicationTitle, Mb::Ok | Mb::IconError);
}

std::u16string Win32Platform::SystemWindowsDirectory() { return FromWide(quenlix::SystemWindowsDirectory()); }

bool Win32Platform::IsAdministrator() {
    if (!administrators_) administrators_.emplace();
    return administrators_->GroupEnabled();
}

std::u16string Win32Platform::EveryoneGroupName() { return quenlix::EveryoneGroupName(); }

std::u16string Win32Platform::ErrorDescription(std::uint32_t number) { return Win32Failure(number).Description(); }

std::u16string Win32Platform::LocalAppDataDirectory() {
    if (!shell_) shell_.emplace();
    return FromWide(shell_->LocalAppDataFolder());
}

}  // namespace quenlix
