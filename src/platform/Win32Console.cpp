#include "platform/Win32Console.h"

#include <string>

#include "platform/Win32Text.h"

namespace quenlix {

namespace {

bool Usable(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

std::string Utf8Of(std::u16string_view text) {
    const std::wstring wide = ToWide(text);
    if (wide.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), size, nullptr,
                            nullptr);
    return bytes;
}

}  // namespace

Win32Console::Win32Console() {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    // A program of the window subsystem gets no console of its own: what is
    // not redirected goes to the console of the one that started it.
    if ((!Usable(out) || !Usable(err)) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        consoleOutput_.Reset(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                         nullptr, OPEN_EXISTING, 0, nullptr));
        if (!Usable(out)) out = consoleOutput_.Get();
        if (!Usable(err)) err = consoleOutput_.Get();
    }
    out_ = StreamOf(out);
    err_ = StreamOf(err);
}

Win32Console::Stream Win32Console::StreamOf(HANDLE handle) {
    if (!Usable(handle)) return {};
    DWORD mode = 0;
    return {handle, GetFileType(handle) == FILE_TYPE_CHAR && GetConsoleMode(handle, &mode) != FALSE};
}

// A line that cannot be written (a pipe closed by the reader) is dropped:
// the exit code still tells the outcome.
void Win32Console::Write(const Stream& stream, std::u16string_view line) {
    if (stream.handle == nullptr) return;
    if (stream.console) {
        const std::wstring text = ToWide(line) + L"\r\n";
        DWORD written = 0;
        WriteConsoleW(stream.handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    const std::string bytes = Utf8Of(line) + "\r\n";
    DWORD written = 0;
    WriteFile(stream.handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace quenlix
