// The store's load and save, and Command5's duplicate test, with the real
// Win32 platform, one run per request. bench/bench.py drives it under Wine
// through stdin and stdout and runs the reference tool (iconv, grep) natively
// between two runs.
//
//   load PATH        ReadHostsText                     -> "MILLISECONDS UNITS"
//   check U16PATH    the last loaded text against a UTF-16LE file -> "ok" / "mismatch"
//   save PATH [utf8] OverwriteHostsText with the last loaded text, in the
//                    ANSI code page or UTF-8 -> "MILLISECONDS BYTES"
//   hostswrite PATH  the save as the commands make it: the last loaded text
//                    encoded and written by WriteHostsInPlace (attributes, the
//                    read through its handle, the write, the DNS cache, the
//                    read back) -> "MILLISECONDS BYTES"
//   changewrite PATH history|plain
//                    a save that changes the file at PATH each run (the
//                    last loaded text, and it with one more line, in turn),
//                    by WriteHostsInPlace with the history copy and the
//                    journal, or without them -> "MILLISECONDS 1|0"
//   historycopy PATH KeepHistoryCopy alone of the file's bytes, changed each
//                    run as changewrite changes them -> "MILLISECONDS 1"
//   readback PATH    that write's read back alone (FileHolds) on the file it
//                    wrote -> "MILLISECONDS 1|0"
//   savecheck PATH   what the save does before it writes: the file read once
//                    more, its encoding told and its snapshot taken
//                    -> "MILLISECONDS BYTES ENCODING"
//   readbytes PATH   ReadFileBytes alone -> "MILLISECONDS BYTES"
//   fromansi PATH    DecodeAnsi alone on the file's bytes -> "MILLISECONDS UNITS"
//   linerule         ApplyLineRuleInPlace alone on a copy of the last loaded
//                    text -> "MILLISECONDS UNITS"
//   encodeline       EncodeLine of the last loaded text (the save's first step)
//                                                      -> "MILLISECONDS BYTES"
//   replace PATH     ReplaceFileContent with those bytes (the save's second step)
//                                                      -> "MILLISECONDS BYTES"
//   command5 PATH ENTRYU16PATH
//                    its steps: read, upper-case a block at a time, search
//                    -> "MILLISECONDS 1|0"
//   decode PATH [strict]
//                    MultiByteToWideChar alone on the file's bytes, with
//                    MB_ERR_INVALID_CHARS when strict -> "MILLISECONDS UNITS"
//   encode [exact]   WideCharToMultiByte alone on the last loaded text, with
//                    WC_NO_BEST_FIT_CHARS and the question whether the default
//                    character was used when exact -> "MILLISECONDS BYTES"
//   edit             WM_SETTEXT of the last loaded text into a multi-line EDIT
//                    control like Text1 -> "MILLISECONDS UNITS"
//   upper            the platform's ToUpper alone on the last loaded text -> "MILLISECONDS UNITS"
//   quit
// Paths are Windows paths (Z:\... for the Unix file system under Wine).

#include <windows.h>

#include <map>
#include <sstream>
#include <string>

#include "BenchText.h"
#include "RequestLoop.h"
#include "edit/DuplicateLines.h"
#include "hosts/AnsiCodec.h"
#include "hosts/HostsHistory.h"
#include "hosts/HostsStore.h"
#include "hosts/HostsText.h"
#include "hosts/HostsWrite.h"
#include "hosts/SafeWrite.h"
#include "platform/FileSnapshot.h"
#include "platform/Win32Platform.h"

namespace quenlix::bench {
namespace {

std::u16string Utf16Path(const std::string& path) { return std::u16string(path.begin(), path.end()); }

// Milliseconds that a multi-line EDIT control of Text1's kind (both scroll
// bars, the system's message font, Text1's size) takes to take `text` with one
// WM_SETTEXT: the part of showing a large file that belongs to the control.
double FillEditControl(const std::u16string& text) {
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 520, 480, nullptr, nullptr, nullptr, nullptr);
    HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                WS_CHILD | WS_VISIBLE | ES_LEFT | ES_MULTILINE | ES_WANTRETURN | ES_AUTOHSCROLL |
                                    ES_AUTOVSCROLL | WS_HSCROLL | WS_VSCROLL,
                                8, 8, 497, 449, parent, nullptr, nullptr, nullptr);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
    const double ms = TimeMs([&] { SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())); });
    DestroyWindow(parent);
    DeleteObject(font);
    return ms;
}

class Session {
public:
    std::string Handle(std::istringstream& request) {
        std::string what;
        std::string path;
        request >> what >> path;
        std::ostringstream reply;
        if (what == "load") {
            text_.clear();
            text_.shrink_to_fit();
            const double ms = TimeMs([&] { text_ = ReadHostsText(platform_, Utf16Path(path)); });
            reply << ms << ' ' << text_.size();
        } else if (what == "check") {
            reply << (ReadUtf16(path) == text_ ? "ok" : "mismatch");
        } else if (what == "save") {
            std::string encoding;
            request >> encoding;
            const HostsEncoding as = encoding == "utf8" ? HostsEncoding::Utf8 : HostsEncoding::Ansi;
            const double ms = TimeMs([&] { OverwriteHostsText(platform_, Utf16Path(path), text_, as); });
            reply << ms << ' ' << ReadBytes(path).size();
        } else if (what == "hostswrite") {
            HostsWriteResult result;
            const double ms = TimeMs([&] {
                result = WriteHostsInPlace(platform_, Utf16Path(path),
                                           WholeContent(EncodeHostsText(platform_, text_, HostsEncoding::Ansi)));
            });
            reply << ms << ' ' << (result.written && !result.readBackDiffers ? ReadBytes(path).size() : 0);
        } else if (what == "changewrite") {
            std::string mode;
            request >> mode;
            std::string bytes = EncodeHostsText(platform_, text_, HostsEncoding::Ansi);
            if (longer_[path] = !longer_[path]; longer_[path]) bytes += "# changed\r\n";
            const HostsEditor editor = WholeContent(std::move(bytes));
            RecoverableWrite recoverable(platform_, [](const Failure&) { return false; });
            HostsWriteResult result;
            const double ms = TimeMs([&] {
                result = WriteHostsInPlace(platform_, Utf16Path(path), editor, Creation::OpenOrCreate,
                                           mode == "history" ? &recoverable : nullptr);
            });
            reply << ms << ' ' << (result.written ? 1 : 0);
        } else if (what == "historycopy") {
            std::string bytes = ReadBytes(path);
            if (longer_[path] = !longer_[path]; longer_[path]) bytes += "# changed\r\n";
            const double ms = TimeMs([&] { KeepHistoryCopy(platform_, bytes); });
            reply << ms << " 1";
        } else if (what == "readback") {
            const std::string bytes = EncodeHostsText(platform_, text_, HostsEncoding::Ansi);
            bool same = false;
            const double ms = TimeMs([&] { same = FileHolds(platform_, Utf16Path(path), {}, bytes); });
            reply << ms << ' ' << same;
        } else if (what == "savecheck") {
            // What the save reads before it writes: the file through the
            // handle that then writes it, told apart from the load by its
            // snapshot and encoding.
            FileSnapshot snapshot;
            HostsEncoding encoding = HostsEncoding::Ansi;
            const double ms = TimeMs([&] {
                const FileRewrite file(platform_, Utf16Path(path));
                snapshot = SnapshotBuilder::Of(file.Previous());
                encoding = DetectEncoding(file.Previous());
            });
            reply << ms << ' ' << snapshot.size << ' ' << static_cast<int>(encoding);
        } else if (what == "readbytes") {
            std::string bytes;
            const double ms = TimeMs([&] { bytes = platform_.ReadFileBytes(Utf16Path(path)); });
            reply << ms << ' ' << bytes.size();
        } else if (what == "fromansi") {
            const std::string bytes = platform_.ReadFileBytes(Utf16Path(path));
            std::u16string text;
            const double ms = TimeMs([&] { text = DecodeAnsi(platform_, bytes); });
            reply << ms << ' ' << text.size();
        } else if (what == "linerule") {
            std::u16string copy = text_;
            const double ms = TimeMs([&] { ApplyLineRuleInPlace(copy); });
            reply << ms << ' ' << copy.size();
        } else if (what == "encodeline") {
            std::string bytes;
            const double ms = TimeMs([&] { bytes = EncodeLine(platform_, text_); });
            reply << ms << ' ' << bytes.size();
        } else if (what == "replace") {
            const std::string bytes = EncodeLine(platform_, text_);
            const double ms = TimeMs([&] { ReplaceFileContent(platform_, Utf16Path(path), bytes); });
            reply << ms << ' ' << bytes.size();
        } else if (what == "command5") {
            std::string entryPath;
            request >> entryPath;
            const std::u16string entry = ReadUtf16(entryPath);
            bool duplicate = false;
            // The steps of Command5 up to its message or its append.
            const double ms = TimeMs([&] {
                const std::u16string text = ReadHostsText(platform_, Utf16Path(path));
                const auto toUpper = [&](std::u16string_view piece) { return platform_.ToUpper(piece); };
                duplicate = FirstDuplicateLineByBlocks(text, platform_.ToUpper(entry), toUpper).has_value();
            });
            reply << ms << ' ' << duplicate;
        } else if (what == "decode") {
            std::string strict;
            request >> strict;
            const DWORD flags = strict == "strict" ? MB_ERR_INVALID_CHARS : 0;
            const std::string bytes = ReadBytes(path);
            std::wstring wide(bytes.size(), L'\0');  // never more characters than bytes
            int units = 0;
            const double ms = TimeMs([&] {
                units = MultiByteToWideChar(CP_ACP, flags, bytes.data(), static_cast<int>(bytes.size()), wide.data(),
                                            static_cast<int>(wide.size()));
            });
            reply << ms << ' ' << units;
        } else if (what == "encode") {
            const bool exact = path == "exact";  // the one word after the request
            BOOL usedDefault = FALSE;
            std::string bytes(text_.size() * 2, '\0');
            int length = 0;
            const double ms = TimeMs([&] {
                length = WideCharToMultiByte(CP_ACP, exact ? WC_NO_BEST_FIT_CHARS : 0,
                                             reinterpret_cast<const wchar_t*>(text_.data()),
                                             static_cast<int>(text_.size()), bytes.data(),
                                             static_cast<int>(bytes.size()), nullptr, exact ? &usedDefault : nullptr);
            });
            reply << ms << ' ' << length;
        } else if (what == "edit") {
            reply << FillEditControl(text_) << ' ' << text_.size();
        } else if (what == "upper") {
            std::u16string upper;
            const double ms = TimeMs([&] { upper = platform_.ToUpper(text_); });
            reply << ms << ' ' << upper.size();
        } else {
            reply << "unknown request";
        }
        return reply.str();
    }

private:
    Win32Platform platform_;
    std::u16string text_;
    // Per file, whether changewrite wrote the longer content last.
    std::map<std::string, bool> longer_;
};

}  // namespace
}  // namespace quenlix::bench

int main() {
    quenlix::bench::Session session;
    return quenlix::bench::ServeRequests(session);
}
