#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <shlwapi.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Win32Handle.h"
#include "support/Win32ProgramWindow.h"
#include "ui/Win32CommonControls.h"
#include "support/Win32SystemHosts.h"
#include "support/Win32TempFolder.h"
#include "Win32FormTestSupport.h"
#include "ui/resources/ResourceIds.h"

namespace quenlix {
namespace {

std::wstring ExePath() {
    wchar_t folder[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, folder);
    const std::string name = QUENLIX_EXE;
    return std::wstring(folder) + L"\\" + std::wstring(name.begin(), name.end());
}

// --- The program file's resources ---

class Win32ExeResourcesTest : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryExW(ExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr) << "cannot open " << QUENLIX_EXE;
    }
    void TearDown() override {
        if (module_ != nullptr) FreeLibrary(module_);
    }

    std::string Resource(LPCWSTR name, LPCWSTR type) const {
        HRSRC found = FindResourceW(module_, name, type);
        if (found == nullptr) return {};
        HGLOBAL loaded = LoadResource(module_, found);
        const auto* bytes = static_cast<const char*>(LockResource(loaded));
        return std::string(bytes, SizeofResource(module_, found));
    }

    HMODULE module_ = nullptr;
};

template <typename T>
T Read(const std::string& bytes, std::size_t offset) {
    T value{};
    if (offset + sizeof value <= bytes.size()) std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

struct IconImage {
    int size;
    int bitCount;
    WORD id;
};

// The icon group lists 16-byte-aligned entries of 14 bytes after a 6-byte head.
std::vector<IconImage> IconGroup(const std::string& group) {
    std::vector<IconImage> images;
    const WORD count = Read<WORD>(group, 4);
    for (WORD i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 14u * i;
        const int width = Read<BYTE>(group, entry);
        images.push_back({width == 0 ? 256 : width, Read<WORD>(group, entry + 6), Read<WORD>(group, entry + 12)});
    }
    return images;
}

TEST_F(Win32ExeResourcesTest, IconGroupHoldsFourSizesIn32BitColour) {
    const std::string group = Resource(MAKEINTRESOURCEW(IDI_QUENLIX), RT_GROUP_ICON);
    ASSERT_FALSE(group.empty());
    std::set<int> sizes;
    for (const IconImage& image : IconGroup(group)) {
        sizes.insert(image.size);
        EXPECT_EQ(image.bitCount, 32) << image.size;
        EXPECT_FALSE(Resource(MAKEINTRESOURCEW(image.id), RT_ICON).empty()) << image.size;
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32, 48, 64}));
}

// A red disc bearing white, transparent in the corners: read from the pixels
// of each image, so that a broken drawing or a lost alpha channel shows.
TEST_F(Win32ExeResourcesTest, EveryIconImageIsARedDiscWithWhiteOnATransparentGround) {
    for (const IconImage& image : IconGroup(Resource(MAKEINTRESOURCEW(IDI_QUENLIX), RT_GROUP_ICON))) {
        SCOPED_TRACE(image.size);
        const std::string bits = Resource(MAKEINTRESOURCEW(image.id), RT_ICON);
        const auto header = Read<BITMAPINFOHEADER>(bits, 0);
        ASSERT_EQ(header.biSize, sizeof(BITMAPINFOHEADER)) << "not a bitmap image";
        ASSERT_EQ(header.biWidth, image.size);
        ASSERT_EQ(header.biBitCount, 32);
        const int n = image.size;
        ASSERT_GE(bits.size(), header.biSize + 4u * n * n);
        const auto pixel = [&](int x, int y) {  // rows run bottom-up: B, G, R, A
            const std::size_t at = header.biSize + 4u * (static_cast<std::size_t>(y) * n + x);
            return std::array<unsigned char, 4>{static_cast<unsigned char>(bits[at]),
                                                static_cast<unsigned char>(bits[at + 1]),
                                                static_cast<unsigned char>(bits[at + 2]),
                                                static_cast<unsigned char>(bits[at + 3])};
        };
        for (const auto& [x, y] : {std::pair{0, 0}, {n - 1, 0}, {0, n - 1}, {n - 1, n - 1}})
            EXPECT_EQ(pixel(x, y)[3], 0) << "corner " << x << "," << y;
        int red = 0, white = 0, opaque = 0;
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n; ++x) {
                const auto [b, g, r, a] = pixel(x, y);
                if (a != 255) continue;
                ++opaque;
                if (r > 150 && g < 100 && b < 100) ++red;
                if (r > 230 && g > 230 && b > 230) ++white;
            }
        }
        EXPECT_GT(opaque, n * n / 2) << "the disc fills most of the square";
        EXPECT_GT(red, opaque / 2);
        EXPECT_GT(white, 0);
    }
}

// version.dll is bound by name so that the tests need no extra import
// library.
template <typename Function>
Function VersionFunction(const char* name) {
    static HMODULE version = LoadLibraryExW(L"version.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(version, name)));
}

class Win32ExeVersionTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto sizeOf = VersionFunction<DWORD(WINAPI*)(LPCWSTR, LPDWORD)>("GetFileVersionInfoSizeW");
        const auto infoOf = VersionFunction<BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID)>("GetFileVersionInfoW");
        query_ = VersionFunction<BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT)>("VerQueryValueW");
        ASSERT_TRUE(sizeOf && infoOf && query_);
        DWORD ignored = 0;
        block_.resize(sizeOf(ExePath().c_str(), &ignored));
        ASSERT_FALSE(block_.empty()) << "no version record";
        ASSERT_TRUE(infoOf(ExePath().c_str(), 0, static_cast<DWORD>(block_.size()), block_.data()));
    }

    std::wstring String(const std::wstring& name) {
        void* value = nullptr;
        UINT length = 0;
        const std::wstring path = L"\\StringFileInfo\\080404B0\\" + name;
        if (!query_(block_.data(), path.c_str(), &value, &length) || length == 0) return L"<missing>";
        return std::wstring(static_cast<const wchar_t*>(value));
    }

    std::vector<char> block_;
    BOOL(WINAPI* query_)(LPCVOID, LPCWSTR, LPVOID*, PUINT) = nullptr;
};

TEST_F(Win32ExeVersionTest, RecordIsSimplifiedChineseUnicodeVersion100NamedQuenlix) {
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(query_(block_.data(), L"\\VarFileInfo\\Translation", &value, &length));
    ASSERT_GE(length, 4u);
    EXPECT_EQ(static_cast<const WORD*>(value)[0], 0x0804);
    EXPECT_EQ(static_cast<const WORD*>(value)[1], 1200);

    for (const wchar_t* name : {L"ProductName", L"FileDescription", L"InternalName", L"Comments"})
        EXPECT_EQ(String(name), L"Quenlix") << name;
    EXPECT_EQ(String(L"OriginalFilename"), L"Quenlix.exe");
    EXPECT_EQ(String(L"CompanyName"), L"Quenlix");
    EXPECT_EQ(String(L"LegalCopyright"), L"Copyright (C) 2026 Quenlix");
    EXPECT_EQ(String(L"FileVersion"), L"1.00");
    EXPECT_EQ(String(L"ProductVersion"), L"1.00");

    ASSERT_TRUE(query_(block_.data(), L"\\", &value, &length));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
}

TEST_F(Win32ExeResourcesTest, ManifestAsksForCommonControls6InvokerRightsAndPerMonitorDpi) {
    const std::string manifest = Resource(MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_FALSE(manifest.empty());
    const auto has = [&](const char* text) { return manifest.find(text) != std::string::npos; };
    EXPECT_TRUE(has("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));
    EXPECT_TRUE(has("level=\"asInvoker\""));
    EXPECT_TRUE(has("PerMonitorV2"));
    for (const char* os : {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                           "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_TRUE(has(os)) << os;
}

// Form1 made from the program file's resources carries its icon in both
// sizes. (Wine answers no icon query from another process, so this is
// checked here rather than on the running program.)
TEST_F(Win32ExeResourcesTest, Form1TakesItsBigAndSmallIconFromTheProgramFile) {
    testing::Win32TempFolder folder;
    testing::ScriptedMessagesPlatform platform;
    platform.systemWindowsDirectory = std::u16string(folder.Path().begin(), folder.Path().end());
    Win32MainWindow form(reinterpret_cast<HINSTANCE>(module_), platform);
    for (const auto& [which, metric] : {std::pair{ICON_BIG, SM_CXICON}, {ICON_SMALL, SM_CXSMICON}}) {
        SCOPED_TRACE(which);
        const auto icon = reinterpret_cast<HICON>(SendMessageW(form.Handle(), WM_GETICON, which, 0));
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap{};
        GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, GetSystemMetricsForDpi(metric, GetDpiForWindow(form.Handle())));
        EXPECT_EQ(bitmap.bmBitsPixel, 32);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
}

// The common controls, bound by name rather than imported, are still the
// manifest's version 6, from the Windows folder. (Wine's one library reports
// 5.81 for both versions: its side-by-side copy, named for version 6, tells.)
TEST_F(Win32ExeResourcesTest, TheBoundCommonControlsAreVersion6FromTheSystem) {
    HMODULE library = nullptr;
    ASSERT_TRUE(GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                   reinterpret_cast<LPCWSTR>(BoundCommonControls().setWindowSubclass), &library));
    const auto version = reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void*>(GetProcAddress(library, "DllGetVersion")));
    DLLVERSIONINFO info{sizeof info};
    ASSERT_TRUE(version != nullptr && version(&info) == S_OK);
    wchar_t path[MAX_PATH] = {}, windows[MAX_PATH] = {};
    GetModuleFileNameW(library, path, MAX_PATH);
    GetSystemWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring name = CharLowerW(path);
    EXPECT_TRUE(info.dwMajorVersion == 6 || (name.find(L"\\winsxs\\") != std::wstring::npos &&
                                              name.find(L"common-controls_6595b64144ccf1df_6.") != std::wstring::npos))
        << std::string(name.begin(), name.end());
    EXPECT_EQ(_wcsnicmp(path, windows, wcslen(windows)), 0) << "not from the Windows folder";
}

// --- The program itself ---

// Quenlix.exe started with "windir" on a test folder that holds a hosts file
// of its own: it must show Form1 on the running system's hosts file all the
// same, carry its icon, and end at once when closed.
class Win32RunningExeTest : public ::testing::Test {
protected:
    static constexpr char Hosts[] = "10.1.2.3 exe.test\r\n";

    // What the running system's hosts file holds when the program starts.
    virtual std::string HostsBytes() const { return Hosts; }

    void SetUp() override {
        systemHosts_.Write(HostsBytes());
        for (const wchar_t* folder : {L"system32", L"system32\\drivers", L"system32\\drivers\\etc"})
            CreateDirectoryW((windir_ / folder).c_str(), nullptr);
        testing::WriteBytes(windir_ / L"system32\\drivers\\etc\\hosts", "10.9.9.9 windir.test\r\n");

        std::wstring environment;
        for (const wchar_t* entry = GetEnvironmentStringsW(); *entry != L'\0'; entry += wcslen(entry) + 1)
            if (_wcsnicmp(entry, L"windir=", 7) != 0) environment.append(entry).push_back(L'\0');
        environment.append(L"windir=" + windir_.Path()).push_back(L'\0');

        std::wstring commandLine = L"\"" + ExePath() + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                                   environment.data(), nullptr, &startup, &process));
        process_ = UniqueHandle(process.hProcess);
        UniqueHandle thread(process.hThread);
        processId_ = process.dwProcessId;
        WaitForInputIdle(process_.Get(), 20000);
        for (int i = 0; i < 300 && form_ == nullptr; ++i) {
            form_ = FindForm();
            if (form_ == nullptr) Sleep(100);
        }
        ASSERT_NE(form_, nullptr) << "no visible Form1 within 30 s";
    }

    void TearDown() override {
        if (process_.Valid() && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT)
            TerminateProcess(process_.Get(), 99);
    }

    HWND FindForm() const { return FindProgramWindow(L"QuenlixForm1"); }

    // A visible top-level window of the program, by its class.
    HWND FindProgramWindow(const wchar_t* className) const { return testing::VisibleWindowOf(processId_, className); }

    // The message box the program shows next, within 10 s.
    HWND WaitForMessageBox() const {
        for (int i = 0; i < 100; ++i) {
            if (HWND box = FindProgramWindow(L"#32770")) return box;
            Sleep(100);
        }
        return nullptr;
    }

    static std::wstring TextOf(HWND window) {
        wchar_t text[256] = {};
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                            &ignored);
        return text;
    }

    testing::DesktopTurn turn_;  // held until the program has gone
    const testing::SystemHostsFile systemHosts_;
    testing::Win32TempFolder windir_;
    UniqueHandle process_;
    DWORD processId_ = 0;
    HWND form_ = nullptr;
};

TEST_F(Win32RunningExeTest, ShowsForm1OnTheRunningSystemsHostsFileNotWindirs) {
    const std::wstring title = TextOf(form_);
    EXPECT_TRUE(title == L"Hosts (已获得管理员权限)" || title == L"Hosts (未获得管理员权限)");
    HWND text1 = FindWindowExW(form_, nullptr, L"Edit", nullptr);
    ASSERT_NE(text1, nullptr);
    EXPECT_EQ(TextOf(text1), L"10.1.2.3 exe.test\r\n");
}

TEST_F(Win32RunningExeTest, EndsAtOnceWhenClosedWithNothingTyped) {
    PostMessageW(form_, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(process_.Get(), 10000), WAIT_OBJECT_0) << "still running: a question was asked?";
    DWORD code = 1;
    GetExitCodeProcess(process_.Get(), &code);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(systemHosts_.Read(), Hosts);
}

// Typed edits are not thrown away without a word: closing asks, Cancel keeps
// the window, No closes it with the file as it was.
TEST_F(Win32RunningExeTest, ClosingWithTypedEditsAsksFirst) {
    HWND text1 = FindWindowExW(form_, nullptr, L"Edit", nullptr);
    ASSERT_NE(text1, nullptr);
    for (const wchar_t c : std::wstring_view(L"# typed")) PostMessageW(text1, WM_CHAR, c, 1);
    for (const int answer : {IDCANCEL, IDNO}) {
        PostMessageW(form_, WM_CLOSE, 0, 0);
        HWND box = WaitForMessageBox();
        ASSERT_NE(box, nullptr) << "no question about the unsaved edits";
        EXPECT_EQ(TextOf(box), L"提示");
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
        const DWORD waited = WaitForSingleObject(process_.Get(), answer == IDNO ? 10000 : 1000);
        EXPECT_EQ(waited, answer == IDNO ? WAIT_OBJECT_0 : WAIT_TIMEOUT) << answer;
    }
    DWORD code = 1;
    GetExitCodeProcess(process_.Get(), &code);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(systemHosts_.Read(), Hosts);
}

// --- A hosts file of 200,000 lines: the window first, then the text ---

std::string Narrow(std::wstring_view text) {
    std::string bytes(text.size() * 3, '\0');
    bytes.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                                               bytes.data(), static_cast<int>(bytes.size()), nullptr,
                                                               nullptr)));
    return bytes;
}

class Win32LargeHostsExeTest : public Win32RunningExeTest {
protected:
    static constexpr int Lines = 200'000;

    std::string HostsBytes() const override {
        std::string text;
        text.reserve(Lines * 30);
        for (int i = 0; i < Lines; ++i)
            text += (i % 50 == 0 ? "# list " : "0.0.0.0 ad") + std::to_string(i) + ".example.com\r\n";
        return text;
    }

    static bool Filling(HWND form) { return TitleOf(form).find(L" \u2014 正在读取 ") != std::wstring::npos; }

    // Read without a message, as another process reads a window's title.
    static std::wstring TitleOf(HWND form) {
        wchar_t title[256] = {};
        GetWindowTextW(form, title, 256);
        return title;
    }

    HWND Control(const wchar_t* windowClass, const wchar_t* caption) const {
        return FindWindowExW(form_, nullptr, windowClass, caption);
    }
};

TEST_F(Win32LargeHostsExeTest, ShowsTheWindowFirstAnswersThroughoutAndEndsWithTheWholeTextReady) {
    ASSERT_TRUE(Filling(form_)) << "the window came only after the text: " << Narrow(TitleOf(form_));
    HWND text1 = FindWindowExW(form_, nullptr, L"Edit", nullptr);
    ASSERT_NE(text1, nullptr);
    const wchar_t* const held[] = {L"刷新", L"保存到 Hosts", L"备份 Host", L"Hosts 备份还原", L"还原默认 Hosts",
                                   L"获取访问限权", L"追加Text2", L"追加Text2+Text3", L"判断是否重复 追加",
                                   L"查找=Text2 显示相同", L"查找含Text2 显示", L"查找含Text2 全部显示"};
    const wchar_t* const free[] = {L"测试功能 \u2192", L"打开所在文件夹", L"记事本打开Hosts"};
    for (const wchar_t* caption : held)
        EXPECT_FALSE(IsWindowEnabled(Control(L"Button", caption))) << Narrow(caption);
    for (const wchar_t* caption : free)
        EXPECT_TRUE(IsWindowEnabled(Control(L"Button", caption))) << Narrow(caption);
    EXPECT_TRUE(GetWindowLongPtrW(text1, GWL_STYLE) & ES_READONLY);
    EXPECT_NE(FindWindowExW(form_, nullptr, PROGRESS_CLASSW, nullptr), nullptr);

    // However busy the machine, a window that waits for the whole text would
    // keep a message waiting for many seconds.
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::seconds(150);
    Clock::duration longest{};
    int polls = 0;
    while (Filling(form_) && Clock::now() < deadline) {
        const auto asked = Clock::now();
        DWORD_PTR ignored = 0;
        ASSERT_TRUE(SendMessageTimeoutW(form_, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored));
        longest = std::max(longest, Clock::now() - asked);
        ++polls;
        Sleep(20);
    }
    ASSERT_FALSE(Filling(form_)) << "still filling after 150 s";
    EXPECT_GT(polls, 10);
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(longest).count(), 2000);

    for (const wchar_t* caption : held)
        EXPECT_TRUE(IsWindowEnabled(Control(L"Button", caption))) << Narrow(caption);
    EXPECT_FALSE(GetWindowLongPtrW(text1, GWL_STYLE) & ES_READONLY);
    // The full bar stays a moment after the text is ready, then goes.
    const auto barDeadline = Clock::now() + std::chrono::seconds(10);
    while (FindWindowExW(form_, nullptr, PROGRESS_CLASSW, nullptr) != nullptr && Clock::now() < barDeadline) Sleep(20);
    EXPECT_EQ(FindWindowExW(form_, nullptr, PROGRESS_CLASSW, nullptr), nullptr);

    const std::string bytes = HostsBytes();
    const std::wstring expected(bytes.begin(), bytes.end());
    DWORD_PTR length = 0;
    SendMessageTimeoutW(text1, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 10000, &length);
    ASSERT_EQ(length, expected.size());
    std::wstring text(expected.size() + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(text1, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL, 10000,
                        &copied);
    text.resize(copied);
    EXPECT_TRUE(text == expected) << "the text differs from the file";

    // Nothing to undo: Ctrl+Z in the box leaves the whole text.
    DWORD_PTR canUndo = 1;
    SendMessageTimeoutW(text1, EM_CANUNDO, 0, 0, SMTO_NORMAL, 10000, &canUndo);
    EXPECT_EQ(canUndo, 0u);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(text1, WM_CHAR, 0x1A, 1, SMTO_NORMAL, 10000, &ignored);  // what Ctrl+Z types
    SendMessageTimeoutW(text1, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 10000, &length);
    EXPECT_EQ(length, expected.size()) << "Ctrl+Z took text out";
}

TEST_F(Win32LargeHostsExeTest, ClosingDuringTheFillEndsAtOnceAndWritesNothing) {
    ASSERT_TRUE(Filling(form_));
    PostMessageW(form_, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(process_.Get(), 10000), WAIT_OBJECT_0) << "the fill went on, or a question came";
    DWORD code = 1;
    GetExitCodeProcess(process_.Get(), &code);
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(systemHosts_.Read() == HostsBytes()) << "the hosts file changed";
}

}  // namespace
}  // namespace quenlix
