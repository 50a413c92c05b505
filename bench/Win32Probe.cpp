// Watches the program from outside, as a user would see it, under Wine:
// bench/bench.py drives it through stdin and stdout.
//
//   start EXE UNITS      start Quenlix.exe; milliseconds from the start of the
//                        process until Form1 is visible with Text1 holding UNITS
//                        characters -> "MILLISECONDS"
//   click [top]          scroll Text1 to its end (as Ctrl+End does; with "top",
//                        to its start), click an entry line there with the
//                        mouse; milliseconds from the click until Text2 holds
//                        the line's address -> "MILLISECONDS ADDRESS"
//   lineindex            milliseconds that Text1 takes to answer EM_LINEINDEX for
//                        its last line, and EM_GETLINECOUNT -> "MS MS"
//   memory               peak and current working set of the started program,
//                        in bytes -> "PEAK CURRENT"
//   close                close the started program's window and wait for its end
//   notepad FILE UNITS   the same as start, for Wine's Notepad opening FILE:
//                        until its window is visible and its edit box holds
//                        UNITS characters; then reports its memory and closes
//                        it -> "MILLISECONDS PEAK"
//   fill EXE UNITS       start EXE (Quenlix.exe, or the reference that fills
//                        Text1 in one piece) and watch it until Text1 holds
//                        UNITS characters and the title shows no progress:
//                        milliseconds until a window is visible and until it
//                        is ready, the longest that a WM_NULL waited for an
//                        answer meanwhile, how many distinct percentages the
//                        title showed and the progress bar's highest position
//                        (-1: none seen) -> "VISIBLE READY LONGEST PERCENTS BAR"
//   check                with Text1 full (after start or fill): clear Text4,
//                        press F8 in Text1 and wait until Text4 holds the
//                        check's findings -> "MILLISECONDS"
//   quit
//
// It only reads what any program may read of another's windows; Quenlix has
// no hook for it.

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "RequestLoop.h"
#include "ui/Layout.h"

namespace {

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::wstring Widen(const std::string& s) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

// A message to another process's window; waits while that program is busy
// (it may be loading a large file), but not for ever.
LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 60000, &result))
        throw std::runtime_error("the program did not answer");
    return static_cast<LRESULT>(result);
}

std::wstring TextOf(HWND window) {
    const LRESULT length = Ask(window, WM_GETTEXTLENGTH);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = Ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

struct Search {
    DWORD processId;
    HWND found;
};

// The visible top-level window of a process.
HWND VisibleWindowOf(DWORD processId) {
    Search search{processId, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s->processId || !IsWindowVisible(window) || GetWindow(window, GW_OWNER) != nullptr)
                return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> EditChildren(HWND window) {
    std::vector<HWND> edits;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) -> BOOL {
            wchar_t name[32];
            if (GetClassNameW(child, name, 32) && lstrcmpiW(name, L"Edit") == 0)
                reinterpret_cast<std::vector<HWND>*>(data)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&edits));
    return edits;
}

// The edit box of `window` whose top-left corner lies nearest to where the
// layout places the named text box.
HWND TextBoxOf(HWND window, std::string_view name) {
    const quenlix::Control* control = quenlix::FindControl(name);
    const double scale = GetDpiForWindow(window) / 1440.0;
    const double x = control->bounds.left * scale;
    const double y = control->bounds.top * scale;
    HWND best = nullptr;
    double bestDistance = 1e18;
    for (HWND edit : EditChildren(window)) {
        RECT rect;
        GetWindowRect(edit, &rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        const double distance = std::hypot(rect.left - x, rect.top - y);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = edit;
        }
    }
    return best;
}

// The largest edit box of a window: Notepad's only one.
HWND LargestEdit(HWND window) {
    HWND best = nullptr;
    long bestArea = -1;
    for (HWND edit : EditChildren(window)) {
        RECT rect;
        GetWindowRect(edit, &rect);
        const long area = (rect.right - rect.left) * (rect.bottom - rect.top);
        if (area > bestArea) {
            bestArea = area;
            best = edit;
        }
    }
    return best;
}

class Probe {
public:
    ~Probe() { Close(); }

    std::string Handle(std::istringstream& request) {
        std::string what;
        request >> what;
        std::ostringstream reply;
        if (what == "start") {
            std::string exe;
            long long units = 0;
            request >> exe >> units;
            Close();
            const double begin = NowMs();
            process_ = Start(L"\"" + Widen(exe) + L"\"");
            window_ = WaitForText(process_, units, &text1_, [](HWND w) { return TextBoxOf(w, "Text1"); });
            reply << NowMs() - begin;
        } else if (what == "click") {
            std::string where;
            request >> where;
            std::wstring address;
            const double ms = Click(address, where != "top");
            reply << ms << ' ' << std::string(address.begin(), address.end());
        } else if (what == "lineindex") {
            // The started program's Text1 finding where its last line
            // begins, against a question it answers without looking.
            if (text1_ == nullptr) throw std::runtime_error("nothing started");
            const LRESULT count = Ask(text1_, EM_GETLINECOUNT);
            double begin = NowMs();
            Ask(text1_, EM_GETLINECOUNT);
            const double plain = NowMs() - begin;
            begin = NowMs();
            Ask(text1_, EM_LINEINDEX, count - 1);
            reply << NowMs() - begin << ' ' << plain;
        } else if (what == "memory") {
            const auto [peak, current] = Memory(process_.hProcess);
            reply << peak << ' ' << current;
        } else if (what == "close") {
            Close();
            reply << "ok";
        } else if (what == "fill") {
            std::string exe;
            long long units = 0;
            request >> exe >> units;
            reply << WatchFill(exe, units);
        } else if (what == "check") {
            reply << PressCheck();
        } else if (what == "notepad") {
            std::string file;
            long long units = 0;
            request >> file >> units;
            wchar_t system[MAX_PATH];
            GetSystemDirectoryW(system, MAX_PATH);
            const double begin = NowMs();
            PROCESS_INFORMATION notepad =
                Start(L"\"" + std::wstring(system) + L"\\notepad.exe\" \"" + Widen(file) + L"\"");
            HWND edit = nullptr;
            HWND window = WaitForText(notepad, units, &edit, LargestEdit);
            const double ms = NowMs() - begin;
            const auto [peak, current] = Memory(notepad.hProcess);
            End(notepad, window);
            reply << ms << ' ' << peak;
        } else {
            reply << "unknown request";
        }
        return reply.str();
    }

private:
    static PROCESS_INFORMATION Start(std::wstring commandLine) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process))
            throw std::runtime_error("cannot start the program");
        CloseHandle(process.hThread);
        process.hThread = nullptr;
        return process;
    }

    // Polls until the process shows a window whose edit box (as `pick` finds
    // it) holds `units` characters.
    template <typename Pick>
    static HWND WaitForText(const PROCESS_INFORMATION& process, long long units, HWND* edit, Pick pick) {
        const double deadline = NowMs() + 120000;
        while (NowMs() < deadline) {
            if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) throw std::runtime_error("the program ended");
            if (HWND window = VisibleWindowOf(process.dwProcessId)) {
                if (HWND box = pick(window); box != nullptr && Ask(box, WM_GETTEXTLENGTH) == units) {
                    *edit = box;
                    return window;
                }
            }
            Sleep(1);
        }
        throw std::runtime_error("the text did not arrive");
    }

    static std::pair<unsigned long long, unsigned long long> Memory(HANDLE process) {
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        if (!GetProcessMemoryInfo(process, &counters, sizeof counters))
            throw std::runtime_error("no memory counters");
        return {counters.PeakWorkingSetSize, counters.WorkingSetSize};
    }

    static void End(PROCESS_INFORMATION& process, HWND window) {
        if (process.hProcess == nullptr) return;
        if (window != nullptr) PostMessageW(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hProcess);
        process = PROCESS_INFORMATION{};
    }

    void Close() {
        End(process_, window_);
        window_ = nullptr;
        text1_ = nullptr;
    }

    // The title's percentage while Text1 fills, or -1.
    static int TitlePercent(HWND window) {
        wchar_t title[256] = {};
        GetWindowTextW(window, title, 256);  // another process's: read without a message
        const std::wstring text(title);
        const std::wstring mark = L" \u2014 \u6B63\u5728\u8BFB\u53D6 ";  // " — 正在读取 "
        const std::size_t at = text.find(mark);
        if (at == std::wstring::npos) return -1;
        return _wtoi(text.c_str() + at + mark.size());
    }

    std::string WatchFill(const std::string& exe, long long units) {
        Close();
        const double begin = NowMs();
        process_ = Start(L"\"" + Widen(exe) + L"\"");
        double visible = -1;
        double longest = 0;
        std::set<int> percents;
        LRESULT bar = -1;
        const double deadline = begin + 300000;
        while (NowMs() < deadline) {
            if (WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0)
                throw std::runtime_error("the program ended");
            HWND window = VisibleWindowOf(process_.dwProcessId);
            if (window == nullptr) {
                Sleep(1);
                continue;
            }
            if (visible < 0) visible = NowMs() - begin;
            const double asked = NowMs();
            Ask(window, WM_NULL);
            longest = std::max(longest, NowMs() - asked);
            const int percent = TitlePercent(window);
            if (percent >= 0) percents.insert(percent);
            // The bar goes away at the end of the fill, perhaps between the
            // two calls: a bar that no longer answers is no reading.
            DWORD_PTR position = 0;
            if (HWND progress = FindWindowExW(window, nullptr, PROGRESS_CLASSW, nullptr);
                progress != nullptr &&
                SendMessageTimeoutW(progress, PBM_GETPOS, 0, 0, SMTO_NORMAL, 60000, &position))
                bar = std::max(bar, static_cast<LRESULT>(position));
            HWND text1 = TextBoxOf(window, "Text1");
            if (percent < 0 && text1 != nullptr && Ask(text1, WM_GETTEXTLENGTH) == units) {
                const double ready = NowMs() - begin;
                window_ = window;
                text1_ = text1;
                std::ostringstream reply;
                reply << visible << ' ' << ready << ' ' << longest << ' ' << percents.size() << ' ' << bar;
                return reply.str();
            }
            Sleep(1);
        }
        throw std::runtime_error("the text did not arrive");
    }

    // F8 as a key press that reaches Text1 through the program's message
    // loop, whose accelerator table turns it into the check; the time until
    // Text4 holds the findings' first line.
    double PressCheck() {
        if (text1_ == nullptr) throw std::runtime_error("nothing started");
        HWND text4 = TextBoxOf(window_, "Text4");
        Ask(text4, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
        const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(VK_F8, MAPVK_VK_TO_VSC)) << 16;
        const double begin = NowMs();
        PostMessageW(text1_, WM_KEYDOWN, VK_F8, 1 | scan);
        PostMessageW(text1_, WM_KEYUP, VK_F8, 1 | scan | 0xC0000000);
        const double deadline = begin + 120000;
        while (NowMs() < deadline) {
            if (TextOf(text4).starts_with(L"\u5171 ")) return NowMs() - begin;  // "共 "
            Sleep(1);
        }
        throw std::runtime_error("Text4 did not get the findings");
    }

    // A click with the mouse, through the system's input queue, on an entry
    // line near the end of Text1.
    double Click(std::wstring& address, bool atEnd) {
        if (text1_ == nullptr) throw std::runtime_error("nothing started");
        HWND text2 = TextBoxOf(window_, "Text2");
        const LRESULT length = Ask(text1_, WM_GETTEXTLENGTH);
        Ask(text1_, EM_SETSEL, atEnd ? length : 0, atEnd ? length : 0);
        Ask(text1_, EM_SCROLLCARET);

        // A visible entry line (it does not begin with '#' and holds a
        // space): the last one at the end of the text, the first one at its
        // top. Its address is what the picker puts into Text2.
        const LRESULT count = Ask(text1_, EM_GETLINECOUNT);
        const LRESULT first = Ask(text1_, EM_GETFIRSTVISIBLELINE);
        LRESULT target = -1;
        for (int i = 0; i < 30 && target < 0; ++i) {
            const LRESULT line = atEnd ? count - 1 - i : first + i;
            if (line < first || line >= count) continue;
            wchar_t buffer[512];
            *reinterpret_cast<WORD*>(buffer) = 511;
            const LRESULT n = Ask(text1_, EM_GETLINE, line, reinterpret_cast<LPARAM>(buffer));
            const std::wstring text(buffer, static_cast<std::size_t>(n));
            const std::size_t space = text.find(L' ');
            if (!text.empty() && text[0] != L'#' && space != std::wstring::npos && space > 0) {
                target = line;
                address = text.substr(0, space);
            }
        }
        if (target < 0) throw std::runtime_error("no entry line in view");
        const LRESULT index = Ask(text1_, EM_LINEINDEX, target);
        const LRESULT position = Ask(text1_, EM_POSFROMCHAR, index + 1);
        POINT point{static_cast<short>(LOWORD(position)) + 2, static_cast<short>(HIWORD(position)) + 4};
        ClientToScreen(text1_, &point);

        Ask(text2, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
        SetForegroundWindow(window_);
        SetCursorPos(point.x, point.y);
        // The program has drawn the scrolled text and is waiting for input,
        // and this click cannot pass for the second half of a double click.
        WaitForInputIdle(process_.hProcess, 60000);
        Sleep(GetDoubleClickTime() + 100);
        INPUT input[2]{};
        input[0].type = INPUT_MOUSE;
        input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        input[1].type = INPUT_MOUSE;
        input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        const double begin = NowMs();
        if (SendInput(2, input, sizeof(INPUT)) != 2) throw std::runtime_error("SendInput failed");
        const double deadline = begin + 20000;
        while (NowMs() < deadline) {
            if (TextOf(text2) == address) return NowMs() - begin;
            Sleep(0);
        }
        throw std::runtime_error("Text2 did not change");
    }

    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
    HWND text1_ = nullptr;
};

}  // namespace

int main() {
    Probe probe;
    return quenlix::bench::ServeRequests(probe);
}
