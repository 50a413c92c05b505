// The store's load and save, and Command5's duplicate test, with the real
// Win32 platform, one run per request. bench/bench.py drives it under Wine
// through stdin and stdout and runs the reference tool (iconv, grep) natively
// between two runs.
//
//   load PATH        ReadHostsFile                     -> "MILLISECONDS UNITS"
//   check U16PATH    the last loaded text against a UTF-16LE file -> "ok" / "mismatch"
//   save PATH [utf8] the save as the commands make it, without its journal:
//                    the last loaded text, in the ANSI code page or UTF-8,
//                    made into bytes (BytesToSave) and written by
//                    WriteHostsInPlace (attributes, the read through its
//                    handle, the write, the DNS cache, the read back)
//                                                      -> "MILLISECONDS BYTES"
//   changewrite PATH history|plain
//                    a save that changes the file at PATH each run (the
//                    last loaded text, and it with one more line, in turn),
//                    by WriteHostsInPlace with the history copy and the
//                    journal, or without them -> "MILLISECONDS 1|0"
//   historycopy PATH KeepHistoryCopy alone of the file's bytes, changed each
//                    run as changewrite changes them -> "MILLISECONDS 1"
//   readback PATH    that write's read back alone (FileHolds) on the file it
//                    wrote -> "MILLISECONDS 1|0"
//   savecheck PATH   what the save does before it writes: the file opened and
//                    read through the handle that writes (InPlaceWrite), its
//                    encoding told and its snapshot taken
//                    -> "MILLISECONDS BYTES ENCODING"
//   readbytes PATH   ReadFileBytes alone -> "MILLISECONDS BYTES"
//   fromansi PATH    DecodeAnsi alone on the file's bytes -> "MILLISECONDS UNITS"
//   linerule         ApplyLineRuleInPlace alone on a copy of the last loaded
//                    text -> "MILLISECONDS UNITS"
//   command5 PATH ENTRYU16PATH
//                    its steps up to its message or its append: the entry
//                    upper-cased, the file opened and read through the
//                    handle the append writes with, and its bytes decoded,
//                    upper-cased and searched a piece at a time
//                    -> "MILLISECONDS 1|0"
//   decode PATH [strict]
//                    MultiByteToWideChar alone on the file's bytes, with
//                    MB_ERR_INVALID_CHARS when strict -> "MILLISECONDS UNITS"
//   encode [exact]   WideCharToMultiByte alone on the last loaded text, with
//                    WC_NO_BEST_FIT_CHARS and the question whether the default
//                    character was used when exact -> "MILLISECONDS BYTES"
//   edit             WM_SETTEXT of the last loaded text into a multi-line EDIT
//                    control like Text1 -> "MILLISECONDS UNITS"
//   pieces one|program|hidden|shown [LINES]
//                    the last loaded text into a hidden control like Text1:
//                    in one go (its buffer handed over), or as the program
//                    fills Text1 (Win32HostsTextFill, pieces sized by time),
//                    or in pieces of LINES lines inserted at the start, from
//                    the end of the text backwards, into the control hidden or
//                    shown (shown: painted, its view and caret put back after
//                    every piece) -> "MILLISECONDS PIECES LONGEST LASTTENTH",
//                    the longest piece and the mean of the last tenth of them
//   upper            the platform's ToUpperInPlace alone on a copy of the last
//                    loaded text -> "MILLISECONDS UNITS"
//   charupper        CharUpperBuffW alone on a copy of the last loaded text
//                                                      -> "MILLISECONDS UNITS"
//   reader PATH      the least reader (LeastReader) of a file of the ANSI
//                    code page; what it read becomes the last loaded text
//                                                      -> "MILLISECONDS UNITS"
//   steps PATH       the load and Command5 a step at a time (Session::Steps)
//                                                      -> "NAME=MILLISECONDS ..."
//   switchgroup ours|replace LINES
//                    a group of LINES entries, the whole text but its two
//                    marks, switched off in Text1 of the program's own
//                    window, shown: by the program's command (ours), or by
//                    EM_SETSEL and EM_REPLACESEL of the same range with the
//                    same text, which the command makes; each from the text
//                    just filled in -> "MILLISECONDS UNITS"
//   quit
// Paths are Windows paths (Z:\... for the Unix file system under Wine).

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <span>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchText.h"
#include "RequestLoop.h"
#include "edit/DuplicateLines.h"
#include "hosts/AnsiCodec.h"
#include "hosts/HostsEncoding.h"
#include "hosts/HostsFileReader.h"
#include "hosts/HostsHistory.h"
#include "hosts/HostsStore.h"
#include "hosts/HostsText.h"
#include "hosts/InPlaceWrite.h"
#include "platform/AnsiPieces.h"
#include "platform/AsciiCase.h"
#include "commands/EntrySwitchCommands.h"
#include "ui/Win32HostsTextBuffer.h"
#include "ui/Win32HostsTextFill.h"
#include "ui/Win32MainWindow.h"
#include "platform/FileSnapshot.h"
#include "platform/Win32Platform.h"
#include "platform/Win32Text.h"

namespace quenlix::bench {
namespace {

std::u16string Utf16Path(const std::string& path) { return std::u16string(path.begin(), path.end()); }

// A multi-line EDIT control of Text1's kind (both scroll bars, the system's
// message font, Text1's size) in a window of its own, not shown.
class Text1LikeBox {
public:
    Text1LikeBox() {
        parent_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 520, 480, nullptr, nullptr, nullptr, nullptr);
        edit_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                WS_CHILD | WS_VISIBLE | ES_LEFT | ES_MULTILINE | ES_WANTRETURN | ES_AUTOHSCROLL |
                                    ES_AUTOVSCROLL | WS_HSCROLL | WS_VSCROLL,
                                8, 8, 497, 449, parent_, nullptr, nullptr, nullptr);
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        font_ = CreateFontIndirectW(&metrics.lfMessageFont);
        SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        SendMessageW(edit_, EM_SETLIMITTEXT, 0, 0);
    }
    ~Text1LikeBox() {
        DestroyWindow(parent_);
        DeleteObject(font_);
    }
    Text1LikeBox(const Text1LikeBox&) = delete;
    Text1LikeBox& operator=(const Text1LikeBox&) = delete;

    HWND Parent() const { return parent_; }
    HWND Edit() const { return edit_; }

private:
    HWND parent_;
    HWND edit_;
    HFONT font_;
};

// Milliseconds that the control takes to take `text` with one WM_SETTEXT:
// the part of showing a large file that belongs to the control.
double FillEditControl(const std::u16string& text) {
    Text1LikeBox box;
    return TimeMs([&] { SendMessageW(box.Edit(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())); });
}

void DispatchWaitingMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

// The ways of filling the control that the program chose between: see
// "pieces" above.
std::string FillEditControlInPieces(const std::u16string& text, const std::string& how, std::size_t lines) {
    Text1LikeBox box;
    std::vector<double> pieces;
    const auto piece = [&](const auto& insert) {
        pieces.push_back(TimeMs(insert));
        DispatchWaitingMessages();
    };
    double ms = 0;
    if (how == "one") {
        ShowWindow(box.Edit(), SW_HIDE);
        ms = TimeMs([&] { GiveEditBuffer(box.Edit(), text); });
        pieces.push_back(ms);
    } else if (how == "program") {
        ShowWindow(box.Parent(), SW_SHOWNOACTIVATE);
        Win32HostsTextFill fill(box.Parent(), box.Edit(), {}, text, RECT{8, 420, 500, 440}, nullptr);
        ms = TimeMs([&] {
            while (!fill.AllInserted()) piece([&] { fill.InsertPiece(); });
            fill.Finish();
        });
    } else {
        const bool shown = how == "shown";
        ShowWindow(box.Parent(), SW_SHOWNOACTIVATE);
        if (!shown) ShowWindow(box.Edit(), SW_HIDE);
        GiveEditBuffer(box.Edit(), {}, text.size());
        std::vector<std::size_t> starts{0};
        for (std::size_t at = 0, count = 0; (at = text.find(u'\n', at)) != std::u16string::npos; ++at)
            if (++count % lines == 0 && at + 1 < text.size()) starts.push_back(at + 1);
        starts.push_back(text.size());
        std::u16string ended = text;  // each piece ended by a NUL in place for its call
        ms = TimeMs([&] {
            for (std::size_t k = starts.size() - 1; k > 0; --k) {
                piece([&] {
                    const LRESULT firstLine = SendMessageW(box.Edit(), EM_GETFIRSTVISIBLELINE, 0, 0);
                    SendMessageW(box.Edit(), EM_SETSEL, 0, 0);
                    const char16_t after = ended[starts[k]];
                    ended[starts[k]] = u'\0';
                    SendMessageW(box.Edit(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(ended.data() + starts[k - 1]));
                    ended[starts[k]] = after;
                    if (!shown) return;
                    SendMessageW(box.Edit(), EM_SETSEL, 0, 0);
                    SendMessageW(box.Edit(), EM_LINESCROLL, 0,
                                 firstLine - SendMessageW(box.Edit(), EM_GETFIRSTVISIBLELINE, 0, 0));
                    UpdateWindow(box.Edit());
                });
            }
        });
    }
    if (static_cast<std::size_t>(GetWindowTextLengthW(box.Edit())) != text.size()) return "error: the box lost text";
    const std::size_t tenth = std::max<std::size_t>(1, pieces.size() / 10);
    double last = 0;
    for (std::size_t i = pieces.size() - tenth; i < pieces.size(); ++i) last += pieces[i];
    std::ostringstream reply;
    reply << ms << ' ' << pieces.size() << ' ' << *std::max_element(pieces.begin(), pieces.end()) << ' '
          << last / static_cast<double>(tenth);
    return reply.str();
}

// The least a program can do to hold a file of the ANSI code page as UTF-16
// through the system: ReadFile in the pieces ReadFilePieces reads, each
// decoded by MultiByteToWideChar straight into room for the whole text (room
// the program does not fill first), cut only where no character is split.
// No check, no escaped bytes, no line rule, no snapshot.
struct LeastRead {
    std::unique_ptr<wchar_t[]> text;
    std::size_t units = 0;
};

LeastRead LeastReader(const std::u16string& path) {
    const std::wstring wide(path.begin(), path.end());
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open");
    LARGE_INTEGER size;
    GetFileSizeEx(file, &size);
    const auto units = static_cast<std::size_t>(size.QuadPart);
    std::unique_ptr<wchar_t[]> text(new wchar_t[units + 1]);
    std::size_t done = 0;
    std::string piece(Win32Platform::ReadPieceBytes * 2, '\0');
    std::size_t held = 0;
    const auto decode = [&](std::size_t bytes) {
        done += static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, piece.data(), static_cast<int>(bytes),
                                                             text.get() + done, static_cast<int>(units - done)));
    };
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file, piece.data() + held, Win32Platform::ReadPieceBytes, &read, nullptr) || read == 0) break;
        const std::size_t have = held + read;
        const std::size_t cut = LastSafeCut(std::string_view(piece.data(), have));
        decode(cut);
        held = have - cut;
        std::memmove(piece.data(), piece.data() + cut, held);
    }
    if (held > 0) decode(held);
    CloseHandle(file);
    return {std::move(text), done};
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
            const double ms = TimeMs([&] { text_ = ReadHostsFile(platform_, Utf16Path(path)).text; });
            reply << ms << ' ' << text_.size();
        } else if (what == "check") {
            reply << (ReadUtf16(path) == text_ ? "ok" : "mismatch");
        } else if (what == "save") {
            std::string encoding;
            request >> encoding;
            const HostsEncoding as = encoding == "utf8" ? HostsEncoding::Utf8 : HostsEncoding::Ansi;
            HostsWriteResult result;
            const double ms = TimeMs([&] {
                result = WriteHostsInPlace(platform_, Utf16Path(path), [&](const HostsNow& now) {
                    return HostsEdit{0, BytesToSave(platform_, text_, as, now.bytes, as).bytes};
                });
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
            const double ms = TimeMs([&] { same = FileHolds(platform_, Utf16Path(path), SnapshotBuilder::Of(bytes)); });
            reply << ms << ' ' << same;
        } else if (what == "savecheck") {
            // What the save reads before it writes: the file through the
            // handle that then writes it, told apart from the load by its
            // snapshot and encoding.
            FileSnapshot snapshot;
            HostsEncoding encoding = HostsEncoding::Ansi;
            const double ms = TimeMs([&] {
                const InPlaceWrite write(platform_, Utf16Path(path));
                snapshot = SnapshotBuilder::Of(write.Now().bytes);
                encoding = DetectEncoding(write.Now().bytes);
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
        } else if (what == "command5") {
            std::string entryPath;
            request >> entryPath;
            const std::u16string entry = ReadUtf16(entryPath);
            bool duplicate = false;
            const double ms = TimeMs([&] {
                const InPlaceWrite write(platform_, Utf16Path(path));
                duplicate = FirstDuplicateLineIn(platform_, write.Now().pieces, platform_.ToUpper(entry)).has_value();
            });
            reply << ms << ' ' << duplicate;
        } else if (what == "reader") {
            // What it read becomes the last loaded text, for "check".
            LeastRead read;
            const double ms = TimeMs([&] { read = LeastReader(Utf16Path(path)); });
            text_.assign(reinterpret_cast<const char16_t*>(read.text.get()), read.units);
            reply << ms << ' ' << read.units;
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
        } else if (what == "pieces") {
            std::size_t lines = 3000;
            request >> lines;
            reply << FillEditControlInPieces(text_, path, std::max<std::size_t>(lines, 1));
        } else if (what == "switchgroup") {
            std::size_t lines = 100000;
            request >> lines;
            reply << SwitchGroupMs(path == "ours", lines) << ' ' << switchedText_.size();
        } else if (what == "steps") {
            reply << Steps(Utf16Path(path));
        } else if (what == "upper") {
            std::u16string upper = text_;
            const double ms = TimeMs([&] { platform_.ToUpperInPlace(upper); });
            reply << ms << ' ' << upper.size();
        } else if (what == "charupper") {
            std::u16string upper = text_;
            const double ms = TimeMs([&] {
                CharUpperBuffW(reinterpret_cast<wchar_t*>(upper.data()), static_cast<DWORD>(upper.size()));
            });
            reply << ms << ' ' << upper.size();
        } else {
            reply << "unknown request";
        }
        return reply.str();
    }

    // Where the load's time and Command5's go, a step added at a time, each
    // step a run of its own: "NAME=MILLISECONDS ...". The "warm" steps write
    // into room whose memory was touched before, as the load does not: the
    // difference is the first touch of the memory the text takes.
private:
    std::string Steps(const std::u16string& file) {
        if (warm_.capacity() < 32u << 20) {
            warm_.resize(32u << 20);
            warm_.clear();
        }
        std::ostringstream parts;
        const auto run = [&](const char* name, auto&& work) { parts << name << '=' << TimeMs(work) << ' '; };
        const auto pieces = [&](auto&& piece) { platform_.ReadFilePieces(file, piece); };
        run("pieces", [&] { pieces([](std::string_view, std::uint64_t) {}); });
        run("pieces+snapshot", [&] {
            SnapshotBuilder snapshot;
            pieces([&](std::string_view piece, std::uint64_t) { snapshot.Add(piece); });
            Keep(snapshot.Finish());
        });
        run("pieces+decode-warm", [&] {
            warm_.clear();
            AnsiCodec codec(platform_);
            pieces([&](std::string_view piece, std::uint64_t) { codec.AppendDecoded(warm_, piece); });
            Keep(warm_);
        });
        run("pieces+decode+crlf-warm", [&] {
            warm_.clear();
            AnsiCodec codec(platform_);
            CrLfCheck crLf;
            pieces([&](std::string_view piece, std::uint64_t) {
                const std::size_t before = warm_.size();
                codec.AppendDecoded(warm_, piece);
                crLf.Add(std::u16string_view(warm_).substr(before));
            });
            Keep(warm_);
        });
        run("pieces+MultiByteToWideChar-warm", [&] {
            warm_.clear();
            pieces([&](std::string_view piece, std::uint64_t) {
                const std::size_t before = warm_.size();
                warm_.resize(before + piece.size());
                const int size = static_cast<int>(piece.size());
                const int units = MultiByteToWideChar(CP_ACP, 0, piece.data(), size,
                                                      reinterpret_cast<wchar_t*>(warm_.data() + before), size);
                warm_.resize(before + static_cast<std::size_t>(units));
            });
            Keep(warm_);
        });
        run("load", [&] { Keep(ReadHostsFile(platform_, file)); });
        run("least-reader", [&] { Keep(LeastReader(file)); });
        run("command5-read", [&] { Keep(InPlaceWrite(platform_, file).Now().bytes.size()); });
        const std::string bytes = platform_.ReadFileBytes(file);
        run("command5-decode", [&] {
            std::size_t units = 0;
            DecodeHostsTextInStretches(
                platform_, PiecesOf(bytes), [&](std::span<char16_t> stretch) { units += stretch.size(); }, [] {});
            Keep(units);
        });
        run("command5-decode+upper", [&] {
            std::size_t units = 0;
            DecodeHostsTextInStretches(
                platform_, PiecesOf(bytes),
                [&](std::span<char16_t> stretch) {
                    platform_.ToUpperInPlace(stretch);
                    units += stretch.size();
                },
                [] {});
            Keep(units);
        });
        run("command5", [&] {
            const InPlaceWrite write(platform_, file);
            Keep(FirstDuplicateLineIn(platform_, write.Now().pieces, u"0.0.0.0 NOT-THERE.EXAMPLE.COM"));
        });
        return parts.str();
    }

    double SwitchGroupMs(bool ours, std::size_t lines) {
        if (window_ == nullptr) {
            window_ = std::make_unique<Win32MainWindow>(GetModuleHandleW(nullptr), platform_);
            ShowWindow(window_->Handle(), SW_SHOWNOACTIVATE);
        }
        if (groupLines_ != lines) {
            groupLines_ = lines;
            groupText_ = u"#==== bench\r\n";
            for (std::size_t i = 0; i < lines; ++i) {
                const std::string line = "10." + std::to_string(i >> 16 & 255) + '.' + std::to_string(i >> 8 & 255) +
                                         '.' + std::to_string(i & 255) + " host" + std::to_string(i) + ".example\r\n";
                groupText_.append(line.begin(), line.end());
            }
            groupText_ += u"#====\r\n";
            const HostsTextEdit edit = *SwitchGroup(groupText_, ReadGroups(groupText_).at(0));
            switchEdit_ = edit;
            switchedText_ = std::u16string(groupText_).replace(edit.range.begin, edit.range.end - edit.range.begin,
                                                                edit.text);
        }
        window_->SetText(TextBox::HostsText, groupText_);
        UpdateWindow(window_->Handle());
        HWND box = window_->ControlWindow("Text1");
        const std::wstring replacement = ToWide(switchEdit_.text);
        const double ms = TimeMs([&] {
            if (ours) {
                SwitchHostsGroup(*window_, 0);
            } else {
                SendMessageW(box, EM_SETSEL, switchEdit_.range.begin, switchEdit_.range.end);
                SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(replacement.c_str()));
            }
        });
        if (window_->Text(TextBox::HostsText) != switchedText_) throw std::runtime_error("the group did not switch");
        return ms;
    }

    Win32Platform platform_;
    std::unique_ptr<Win32MainWindow> window_;
    std::size_t groupLines_ = 0;
    std::u16string groupText_;
    HostsTextEdit switchEdit_;
    std::u16string switchedText_;
    std::u16string text_;
    std::u16string warm_;  // room touched once, for the steps that leave the first touch out
    // Per file, whether changewrite wrote the longer content last.
    std::map<std::string, bool> longer_;
};

}  // namespace
}  // namespace quenlix::bench

int main() {
    quenlix::bench::Session session;
    return quenlix::bench::ServeRequests(session);
}
