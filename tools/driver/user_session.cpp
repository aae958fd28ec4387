#include "user_session.h"

#include <psapi.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "res/resource.h"

constexpr DWORD kPatience = 5000;  // milliseconds a window or a change may take to show
constexpr char kKeyPath[] = "SOFTWARE\\Vexmoor Utils\\Tintwell";
const char* const kValueNames[] = {"Options", "LastNormalPos", "LastCompactPos"};
constexpr UINT kTrayNotify = WM_USER + 261;  // the tray icon's callback message
constexpr int kFileNameBox = 0x047C;         // cmb13: the open-file dialog's file name box
constexpr int kColourRed = 706;              // the colour dialog's red, green and blue edits
constexpr int kMessageText = 0xFFFF;         // a message box's text

struct Session {
    ~Session() {
        TerminateProcess(process.hProcess, 99);  // fails harmlessly once the program has ended
        WaitForSingleObject(process.hProcess, kPatience);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    PROCESS_INFORMATION process{};
    HWND main = nullptr;
    HWND compact = nullptr;  // the last Compact dialog, whose tray icon must go with it
    HWND about = nullptr;
};

namespace {

bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds = kPatience) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= milliseconds) {
            return false;
        }
        Sleep(10);
    }
    return true;
}

// Waits until `shown` gives `expected`; the answer names what was shown instead.
std::string Expect(const std::string& what, const std::string& expected,
                   const std::function<std::string()>& shown) {
    std::string last;
    if (WaitUntil([&] { return (last = shown()) == expected; })) {
        return "";
    }
    return what + ": expected \"" + expected + "\", shown \"" + last + "\"";
}

// Asked of the window itself: an edit of another process keeps its text out of reach otherwise.
std::string Text(HWND window) {
    char text[1024] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, kPatience, &copied)) {
        return "<no text>";
    }
    return std::string(text, copied);
}

RECT RectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

std::string Format(LONG x, LONG y) {
    return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

std::string ExpectCorner(const std::string& what, HWND window, POINT at) {
    return Expect(what + "'s corner", Format(at.x, at.y), [&] {
        RECT rect = RectOf(window);
        return Format(rect.left, rect.top);
    });
}

// A visible top-level window of the program with that class for which `accept` holds; null when
// none came in time.
HWND WaitFor(const Session& s, const char* windowClass, const std::function<bool(HWND)>& accept,
             DWORD milliseconds = kPatience) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (found = FindWindowExA(nullptr, nullptr, windowClass, nullptr); found != nullptr;
                 found = FindWindowExA(nullptr, found, windowClass, nullptr)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(found, &owner);
                if (owner == s.process.dwProcessId && IsWindowVisible(found) && accept(found)) {
                    return true;
                }
            }
            return false;
        },
        milliseconds);
    return found;
}

// The program's message boxes carry its name as their caption; so do its main dialogs, which
// have the hex edit.
bool IsMessageBox(HWND window) {
    std::string caption = Text(window);
    return (caption == "Tintwell" || caption == "Tintwell Error") &&
           GetDlgItem(window, IDC_USER_HEX) == nullptr;
}

// Clicks the button that ends a dialog.
std::string Dismiss(HWND dialog, int button, const std::string& what) {
    PostMessageA(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
    return WaitUntil([&] { return !IsWindow(dialog); }) ? "" : what + " stayed open";
}

// Clicks a button of the main dialog, then types into the fields of the common dialog it opens,
// found by the first of them, and presses OK.
std::string FillIn(const Session& s, int button, const std::string& what,
                   const std::vector<std::pair<int, std::string>>& fields) {
    PostMessageA(GetDlgItem(s.main, button), BM_CLICK, 0, 0);
    HWND dialog = WaitFor(s, "#32770", [&](HWND w) { return GetDlgItem(w, fields[0].first); });
    if (dialog == nullptr) {
        return "no " + what;
    }
    for (const auto& [id, text] : fields) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(GetDlgItem(dialog, id), WM_SETTEXT, 0,
                            reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, kPatience,
                            &result);
    }
    return Dismiss(dialog, IDOK, "the " + what);
}

HWND Front(const Session& s) {
    return s.about != nullptr && IsWindowVisible(s.about) ? s.about : s.main;
}

std::string ExpectTrayIcon(const Session& s, bool shown) {
    return Expect("the Compact view's tray icon", shown ? "shown" : "gone", [&] {
        // A modify request that changes nothing: the shell accepts it only for an icon it holds.
        NOTIFYICONDATAA probe{};
        probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
        probe.hWnd = s.compact;
        return Shell_NotifyIconA(NIM_MODIFY, &probe) ? "shown" : "gone";
    });
}

std::string TypeInto(HWND edit, const std::string& text) {
    // Select everything and delete it, then type: the edit takes at most six characters.
    PostMessageA(edit, EM_SETSEL, 0, -1);
    PostMessageA(edit, WM_CHAR, VK_BACK, 1);
    if (!WaitUntil([&] { return Text(edit).empty(); })) {
        return "the hex edit was not cleared";
    }
    for (char c : text) {
        PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
    }
    // Each character is handled before the edit answers for it, so once all are there the
    // program has done what typing them does (a message box it shows answers too).
    std::size_t length = std::min<std::size_t>(text.size(), 6);
    return WaitUntil([&] { return Text(edit).size() == length; }) ? "" : "typed: " + Text(edit);
}

// Opens the menu bar's Options menu (Alt+O) or the tray popup (a right click on the icon), then
// picks the item by its mnemonic, as a keyboard user would.
Step Popup(bool fromTray, char key) {
    return {[=](Session& s) -> std::string {
        PostMessageA(s.main, fromTray ? kTrayNotify : WM_SYSCOMMAND, fromTray ? 0 : SC_KEYMENU,
                     fromTray ? WM_RBUTTONDOWN : 'o');
        HWND popup = WaitFor(s, "#32768", [](HWND) { return true; });
        if (popup == nullptr) {
            return "no popup menu";
        }
        RECT rect = RectOf(popup);
        POINT cursor{};
        GetCursorPos(&cursor);
        // The tray popup's corner sits at the cursor's x, a fixed 28 pixels above the screen's end.
        int bottom = GetSystemMetrics(SM_CYSCREEN) - 28;
        if (fromTray && (rect.right != cursor.x || rect.bottom != bottom)) {
            return "tray popup's corner at " + Format(rect.right, rect.bottom) + ", not " +
                   Format(cursor.x, bottom);
        }
        PostMessageA(popup, WM_CHAR, static_cast<unsigned char>(key), 1);
        return WaitUntil([&] { return !IsWindowVisible(popup); }) ? "" : "the popup stayed open";
    }};
}

// The settings key's values, in the order of their names; an empty one is missing.
using Values = std::vector<std::string>;

Values ReadValues() {
    Values values;
    for (const char* name : kValueNames) {
        char data[64];
        DWORD length = sizeof data;
        bool read = RegGetValueA(HKEY_LOCAL_MACHINE, kKeyPath, name, RRF_RT_ANY, nullptr, data,
                                 &length) == ERROR_SUCCESS;
        values.emplace_back(data, read ? length : 0);
    }
    return values;
}

std::string Hex(const Values& values) {
    std::string text;
    char byte[4];
    for (const std::string& value : values) {
        for (unsigned char b : value) {
            std::snprintf(byte, sizeof byte, "%02X ", b);
            text += byte;
        }
        text += "| ";
    }
    return text;
}

}  // namespace

std::string Position(POINT at) {
    std::string value;
    for (LONG coordinate : {at.y, at.x}) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            value += static_cast<char>(static_cast<DWORD>(coordinate) >> shift);
        }
    }
    return value;
}

namespace {

Values Encode(const Settings& settings) {
    return {std::string(1, static_cast<char>(settings.options)), Position(settings.normal),
            Position(settings.compact)};
}

}  // namespace

Step Main(View view, POINT at) {
    return {[=](Session& s) -> std::string {
        bool normal = view == Normal;
        HWND previous = s.main;
        s.main = WaitFor(s, "#32770", [&](HWND w) {
            return Text(w) == "Tintwell" && GetDlgItem(w, IDC_USER_HEX) != nullptr &&
                   (GetDlgItem(w, IDC_BROWSE) != nullptr) == normal;
        });
        if (s.main == nullptr) {
            return normal ? "no Normal dialog shown" : "no Compact dialog shown";
        }
        if (previous != nullptr && IsWindowVisible(previous)) {
            return "the previous dialog is still shown";
        }
        std::string failure = at.x != kAnywhere.x ? ExpectCorner("dialog", s.main, at) : "";
        // A switch away from the Compact view removes its icon while the old dialog still exists.
        s.compact = normal ? s.compact : s.main;
        return !failure.empty() || s.compact == nullptr ? failure : ExpectTrayIcon(s, !normal);
    }};
}

Step Shows(const std::string& user, const std::string& match) {
    return {[=](Session& s) {
        return Expect("the user's colour, then the match", user + " " + match, [&] {
            std::string shown;
            for (int id : {IDC_USER_RED, IDC_USER_GREEN, IDC_USER_BLUE, IDC_USER_HEX, IDC_MATCH_RED,
                           IDC_MATCH_GREEN, IDC_MATCH_BLUE, IDC_MATCH_HEX}) {
                shown += (shown.empty() ? "" : " ") + Text(GetDlgItem(s.main, id));
            }
            return shown;
        });
    }};
}

Step Path(const std::string& path) {
    return {[=](Session& s) {
        return Expect("path", path, [&] { return Text(GetDlgItem(s.main, IDC_SWATCH_PATH)); });
    }};
}

Step Type(const std::string& text) {
    return {[=](Session& s) { return TypeInto(GetDlgItem(s.main, IDC_USER_HEX), text); }};
}

Step Box(const std::string& caption, const std::string& text) {
    auto answer = [=](Session& s) -> std::string {
        HWND box = WaitFor(s, "#32770", IsMessageBox);
        if (box == nullptr) {
            return "no message box for: " + text;
        }
        std::string shown = Text(box) + ": " + Text(GetDlgItem(box, kMessageText));
        return shown == caption + ": " + text ? Dismiss(box, IDOK, "the message box")
                                              : "message box " + shown;
    };
    return {answer, true};
}

Step Press(int id) {
    return {[=](Session& s) {
        PostMessageA(GetDlgItem(s.main, id), BM_CLICK, 0, 0);
        return std::string();
    }};
}

Step Browse(const std::string& path) {
    return {[=](Session& s) {
        return FillIn(s, IDC_BROWSE, "open-file dialog", {{kFileNameBox, path}});
    }};
}

Step Pick(int red, int green, int blue) {
    return {[=](Session& s) {
        return FillIn(s, IDC_COLOURS, "colour dialog",
                      {{kColourRed, std::to_string(red)},
                       {kColourRed + 1, std::to_string(green)},
                       {kColourRed + 2, std::to_string(blue)}});
    }};
}

Step Menu(char key) {
    return Popup(false, key);
}

Step Tray(char key) {
    return Popup(true, key);
}

Step About() {
    return {[](Session& s) -> std::string {
        s.about = WaitFor(s, "#32770", [](HWND w) { return Text(w) == "About Tintwell"; });
        if (s.about == nullptr) {
            return "no About box";
        }
        std::string terms = Text(GetDlgItem(s.about, IDC_ABOUT_TERMS));
        std::size_t gap = terms.find("\r\n\r\n");
        if (gap == std::string::npos || terms.find("\r\n\r\n", gap + 4) == std::string::npos) {
            return "terms not in three paragraphs: " + terms;
        }
        RECT main = RectOf(s.main);
        return ExpectCorner("About box", s.about,
                            Centred(main.right - main.left, main.bottom - main.top));
    }};
}

Step CloseAbout() {
    return {[](Session& s) { return Dismiss(s.about, IDC_ABOUT_CLOSE, "the About box"); }};
}

Step Keys() {
    return {[](Session& s) {
        // The dialog manager turns Escape into IDCANCEL and Enter into IDOK. Enter in the About
        // box presses its focused Close button, as it should, so only Escape goes there.
        HWND front = Front(s);
        PostMessageA(front, WM_KEYDOWN, VK_ESCAPE, 1);
        if (front == s.main) {
            PostMessageA(front, WM_KEYDOWN, VK_RETURN, 1);
        }
        // Posted input is handled in order: once the hex edit has been cleared, so have the keys.
        std::string failure = TypeInto(GetDlgItem(s.main, IDC_USER_HEX), "");
        return !failure.empty() || (IsWindowVisible(front) && IsWindowVisible(s.main))
                   ? failure
                   : "a dialog closed";
    }};
}

Step Move(POINT to) {
    return {[=](Session& s) {
        SetWindowPos(s.main, nullptr, to.x, to.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
        return ExpectCorner("dialog", s.main, to);
    }};
}

Step Close() {
    return {[](Session& s) {
        PostMessageA(s.main, WM_SYSCOMMAND, SC_CLOSE, 0);
        return std::string();
    }};
}

Step Exit() {
    return {[](Session& s) -> std::string {
        DWORD code = STILL_ACTIVE;
        WaitForSingleObject(s.process.hProcess, kPatience);
        GetExitCodeProcess(s.process.hProcess, &code);
        if (code == STILL_ACTIVE) {
            return "the program did not end";
        }
        return code == 0 ? "" : "exit code " + std::to_string(code);
    }};
}

Step Stored(const Settings& settings) {
    return {[=](Session&) {
        return Expect("stored settings", Hex(Encode(settings)), [] { return Hex(ReadValues()); });
    }};
}

std::string RunSession(const std::string& exe, const std::string& arguments,
                       const std::vector<Step>& steps) {
    wchar_t wide[4096] = {};
    MultiByteToWideChar(CP_ACP, 0, arguments.c_str(), -1, wide, 4095);
    return RunSessionWide(exe, wide, steps);
}

bool Store(const std::optional<Settings>& settings) {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kKeyPath);
    Values values = settings ? Encode(*settings) : Values{};
    bool stored = true;
    for (std::size_t i = 0; i < values.size(); ++i) {
        stored &= StoreValue(kValueNames[i], REG_BINARY, values[i]);
    }
    return stored;
}

POINT Centred(int width, int height) {
    return {(GetSystemMetrics(SM_CXSCREEN) - width) / 2,
            (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
}

std::string WindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') {
        path = "Z:" + path;
        std::replace(path.begin(), path.end(), '/', '\\');
    }
    return path;
}

// Installer
std::string RunSessionOn(HANDLE process, const std::vector<Step>& steps) {
    Session s;
    s.process.hProcess = process;
    s.process.dwProcessId = GetProcessId(process);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        std::string failure = steps[i].run(s);
        if (!failure.empty()) {
            return "step " + std::to_string(i + 1) + ": " + failure;
        }
    }
    return "";
}

// View switching, window placement and file names in any script.

namespace {

std::string Utf8(const std::wstring& text) {
    char bytes[2048] = {};
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes, sizeof bytes - 1, nullptr, nullptr);
    return bytes;
}

struct Census {
    DWORD process;
    int windows, dialogs;  // top-level windows of the process, and of them dialogs
};

BOOL CALLBACK CountWindow(HWND window, LPARAM data) {
    auto* census = reinterpret_cast<Census*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[8] = {};
    GetClassNameA(window, name, sizeof name);
    census->windows += owner == census->process;
    census->dialogs += owner == census->process && std::string(name) == "#32770";
    return TRUE;
}

Census Count(const Session& s) {
    Census census{s.process.dwProcessId, 0, 0};
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&census));
    return census;
}

// The commit charge, which Windows also reports as PrivateUsage; Wine fills only this field for
// another process.
long long PrivateBytes(const Session& s) {
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(s.process.hProcess, &counters, sizeof counters);
    return static_cast<long long>(counters.PagefileUsage);
}

}  // namespace

Step SwitchRepeatedly(int times, SIZE_T growthLimit) {
    return {[=](Session& s) -> std::string {
        Census first{};
        long long memory = 0;
        DWORD start = GetTickCount();
        for (int i = 1; i <= times; ++i) {
            HWND old = s.main;
            bool toNormal = GetDlgItem(old, IDC_BROWSE) == nullptr;
            PostMessageA(old, WM_COMMAND, IDM_SWITCH_VIEW, 0);
            s.main = WaitFor(s, "#32770", [&](HWND w) {
                return w != old && GetDlgItem(w, IDC_USER_HEX) != nullptr &&
                       (GetDlgItem(w, IDC_BROWSE) != nullptr) == toNormal;
            });
            if (s.main == nullptr) {
                return "no dialog after switch " + std::to_string(i);
            }
            if (i == times / 10) {
                first = Count(s);
                memory = PrivateBytes(s);
            }
        }
        Census last = Count(s);
        long long growth = PrivateBytes(s) - memory;
        std::printf("%d switches in %lu ms; private memory %+lld KB since the first tenth\n", times,
                    GetTickCount() - start, growth / 1024);
        if (last.dialogs != 1 || last.windows != first.windows) {
            return std::to_string(last.dialogs) + " dialogs and " + std::to_string(last.windows) +
                   " windows, after " + std::to_string(first.windows);
        }
        return growth < static_cast<long long>(growthLimit)
                   ? ""
                   : "private memory grew by " + std::to_string(growth) + " bytes";
    }};
}

Step WidePath(const std::wstring& path) {
    return {[=](Session& s) {
        return Expect("path", Utf8(path), [&] {
            wchar_t text[1024] = {};
            DWORD_PTR copied = 0;
            SendMessageTimeoutW(GetDlgItem(s.main, IDC_SWATCH_PATH), WM_GETTEXT, 1024,
                                reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, kPatience,
                                &copied);
            return Utf8(text);
        });
    }};
}

std::string RunSessionWide(const std::string& exe, const std::wstring& arguments,
                           const std::vector<Step>& steps) {
    Session s;
    // The program's path is plain ASCII, in a build folder.
    std::wstring program(exe.begin(), exe.end());
    std::wstring folder = program.substr(0, program.find_last_of(L"\\/"));
    std::wstring commandLine =
        L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    // No inherited handles: the program must not hold the test's output open.
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &s.process)) {
        return "cannot start " + exe;
    }
    for (std::size_t i = 0; i < steps.size(); ++i) {
        // A message box the step does not answer was shown in reply to the step before.
        HWND box = steps[i].answersBox ? nullptr : WaitFor(s, "#32770", IsMessageBox, 0);
        std::string failure = box != nullptr
                                  ? "unexpected message box: " + Text(GetDlgItem(box, kMessageText))
                                  : steps[i].run(s);
        if (!failure.empty()) {
            return "step " + std::to_string(i + 1) + ": " + failure;
        }
    }
    return "";
}

// The tooltip over the matched sample

namespace {

std::string ShownTip(const Session& s) {
    HWND tip = WaitFor(
        s, "tooltips_class32", [](HWND) { return true; }, 0);
    wchar_t text[256] = {};
    char utf8[1024] = {};
    DWORD_PTR copied = 0;
    if (tip != nullptr && SendMessageTimeoutW(tip, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text),
                                              SMTO_ABORTIFHUNG, kPatience, &copied)) {
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8 - 1, nullptr, nullptr);
    }
    return tip == nullptr ? "" : utf8[0] != '\0' ? utf8 : "<empty tooltip>";
}

}  // namespace

Step Tip(const std::string& text) {
    return {[=](Session& s) -> std::string {
        // The mouse leaves for the user's sample, posted, as the moves of the real mouse merge
        // while they wait; then it comes to rest on the matched sample, one pixel beside where it
        // rested before, or merged with the last move it would be no move at all.
        RECT away = RectOf(GetDlgItem(s.main, IDC_USER_SAMPLE));
        MapWindowPoints(nullptr, s.main, reinterpret_cast<POINT*>(&away), 2);
        PostMessageA(s.main, WM_MOUSEMOVE, 0, MAKELPARAM(away.left + 1, away.top + 1));
        if (!WaitUntil([&] { return ShownTip(s).empty(); })) {
            return "a tooltip stayed: " + ShownTip(s);
        }
        RECT sample = RectOf(GetDlgItem(s.main, IDC_MATCH_SAMPLE));
        POINT now{};
        GetCursorPos(&now);
        LONG x = (sample.left + sample.right) / 2;
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dx = (now.x == x ? x + 1 : x) * 65536 / GetSystemMetrics(SM_CXSCREEN);
        input.mi.dy = (sample.top + sample.bottom) / 2 * 65536 / GetSystemMetrics(SM_CYSCREEN);
        input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &input, sizeof input);
        if (text.empty()) {  // longer than the tooltip's own delay before it shows
            return WaitUntil([&] { return !ShownTip(s).empty(); }, 1500)
                       ? "a tooltip showed: " + ShownTip(s)
                       : "";
        }
        return Expect("the matched sample's tooltip", text, [&] { return ShownTip(s); });
    }};
}

std::string& ProgramPath() {
    // Every test program is given the tintwell.exe under test as its first argument.
    static std::string path = __argc > 1 ? WindowsPath(__argv[1]) : std::string();
    return path;
}

bool StoreValue(const char* name, DWORD type, const std::string& bytes) {
    return RegSetKeyValueA(HKEY_LOCAL_MACHINE, kKeyPath, name, type, bytes.data(),
                           static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

Step Painted(COLORREF user, COLORREF match) {
    auto hex = [](COLORREF colour) {
        char text[16];
        std::snprintf(text, sizeof text, "%06lX ", static_cast<unsigned long>(colour));
        return std::string(text);
    };
    return {[=](Session& s) {
        return Expect("the samples' centre pixels", hex(user) + hex(match), [&] {
            std::string shown;
            HDC screen = GetDC(nullptr);
            for (int id : {IDC_USER_SAMPLE, IDC_MATCH_SAMPLE}) {
                RECT rect = RectOf(GetDlgItem(s.main, id));
                shown += hex(
                    GetPixel(screen, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
            }
            ReleaseDC(nullptr, screen);
            return shown;
        });
    }};
}

// Colours in and out

namespace {

POINT MiddleOf(HWND main, int id) {
    RECT r = RectOf(GetDlgItem(main, id));
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

HWND Capture(HWND main) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info);
    return info.hwndCapture;
}

// A mouse message as the user's mouse would make it over that point of the screen, handled
// before the call returns; the left button is held for moves. (Wine sends moves of its own,
// from where the real cursor is, without the button.)
void Mouse(HWND main, UINT message, POINT at) {
    ScreenToClient(main, &at);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(main, message, message == WM_MOUSEMOVE ? MK_LBUTTON : 0,
                        MAKELPARAM(at.x, at.y), SMTO_ABORTIFHUNG, kPatience, &result);
}

bool SetClipboard(const std::string& text) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    // The program may hold the clipboard a moment.
    bool set = WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }) && EmptyClipboard() &&
               SetClipboardData(CF_TEXT, memory) != nullptr;
    CloseClipboard();
    if (!set) {
        GlobalFree(memory);
    }
    return set;
}

std::string Clipboard() {
    HGLOBAL data = OpenClipboard(nullptr) ? GetClipboardData(CF_TEXT) : nullptr;
    const char* text = data != nullptr ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    std::string copied = text != nullptr ? text : "<no text>";
    GlobalUnlock(data);
    CloseClipboard();
    return copied;
}

}  // namespace

ColourPatch::ColourPatch(COLORREF colour, POINT corner)
    : brush(CreateSolidBrush(colour)), middle{corner.x + 40, corner.y + 40} {
    std::string name = "patch" + std::to_string(colour);
    WNDCLASSA type{};
    type.lpfnWndProc = DefWindowProcA;
    type.hbrBackground = brush;
    type.lpszClassName = name.c_str();
    RegisterClassA(&type);
    window =
        CreateWindowExA(WS_EX_TOPMOST | WS_EX_NOACTIVATE, name.c_str(), "", WS_POPUP | WS_VISIBLE,
                        corner.x, corner.y, 80, 80, nullptr, nullptr, nullptr, nullptr);
    // Wine puts a painted window on the screen once its thread looks at its queue.
    shown = WaitUntil([&] {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
        HDC screen = GetDC(nullptr);
        COLORREF pixel = GetPixel(screen, middle.x, middle.y);
        ReleaseDC(nullptr, screen);
        return pixel == colour;
    });
}

ColourPatch::~ColourPatch() {
    // The class goes too: it paints with this brush, and a later patch of the colour needs its own.
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    DestroyWindow(window);
    UnregisterClassA(name, nullptr);
    DeleteObject(brush);
}

Step Drag(const std::vector<POINT>& to) {
    return {[=](Session& s) {
        Mouse(s.main, WM_LBUTTONDOWN, MiddleOf(s.main, IDC_USER_SAMPLE));
        for (POINT at : to) {
            Mouse(s.main, WM_MOUSEMOVE, at);
        }
        return Capture(s.main) == s.main ? "" : "the mouse not captured";
    }};
}

Step EndPick(UINT message) {
    return {[=](Session& s) {
        if (message == WM_KEYDOWN) {
            PostMessageA(s.main, WM_KEYDOWN, VK_ESCAPE, 1);
        } else {
            Mouse(s.main, message, {700, 700});
        }
        return WaitUntil([&] { return Capture(s.main) == nullptr; }) ? "" : "the mouse still held";
    }};
}

Step Paste(const std::string& text) {
    return {[=](Session& s) {
        if (!SetClipboard(text)) {
            return "clipboard not set";
        }
        HWND edit = GetDlgItem(s.main, IDC_USER_HEX);
        PostMessageA(edit, EM_SETSEL, 0, -1);
        PostMessageA(edit, WM_PASTE, 0, 0);
        return "";
    }};
}

Step Copy(int sample, char key, const std::string& copied) {
    return {[=](Session& s) -> std::string {
        const std::string before = "<before the copy>", expected = copied.empty() ? before : copied;
        POINT at = MiddleOf(s.main, sample);
        HWND popup = nullptr;
        if (!SetClipboard(before) ||
            !PostMessageA(s.main, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(s.main),
                          MAKELPARAM(at.x, at.y)) ||
            !WaitUntil([&] { return IsWindowVisible(popup = FindWindowA("#32768", nullptr)); })) {
            return "no copy menu";
        }
        // Escape closes a menu whose item was greyed.
        PostMessageA(popup, WM_CHAR, static_cast<unsigned char>(key), 1);
        PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 1);
        if (!WaitUntil([&] { return !IsWindowVisible(popup); })) {
            return "the copy menu stayed open";
        }
        // The program copies once the menu has given its command, before it answers a message.
        DWORD_PTR answer = 0;
        SendMessageTimeoutA(s.main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kPatience, &answer);
        return Expect("the clipboard", expected, [] { return Clipboard(); });
    }};
}

// The drop's block is written into the program's memory, the only place the program can read
// it. DragFinish cannot free such a block; it goes with the process.
Step Drop(const std::string& path) {
    return {[=](Session& s) {
        HANDLE process =
            OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, s.process.dwProcessId);
        DROPFILES header{sizeof header, {}, FALSE, FALSE};
        std::string block = std::string(reinterpret_cast<const char*>(&header), sizeof header) +
                            path + std::string(2, '\0');
        void* remote = VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT, PAGE_READWRITE);
        bool written = WriteProcessMemory(process, remote, block.data(), block.size(), nullptr);
        CloseHandle(process);
        PostMessageA(s.main, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
        return written ? "" : "no drop in the program's memory";
    }};
}

// Swatch files

namespace {

std::string Be16(unsigned value) {
    return {static_cast<char>(value >> 8), static_cast<char>(value)};
}

}  // namespace

std::filesystem::path WriteSwatchFile(const std::filesystem::path& name,
                                      const std::vector<Swatch>& swatches, bool named, int count) {
    const unsigned announced = count < 0 ? static_cast<unsigned>(swatches.size()) : count;
    std::string plain = Be16(1) + Be16(announced), names = Be16(2) + Be16(announced);
    for (const Swatch& s : swatches) {
        std::wstring text(s.name.size() + 1, L'\0');
        text.resize(MultiByteToWideChar(CP_UTF8, 0, s.name.c_str(), -1, &text[0], 99));
        std::string record =
            Be16(s.space) + Be16(s.red * 257) + Be16(s.green * 257) + Be16(s.blue * 257) + Be16(0);
        plain += record;
        names += record + Be16(0) + Be16(static_cast<unsigned>(text.size()));
        for (wchar_t unit : text) {
            names += Be16(unit);
        }
    }
    const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    std::ofstream(path, std::ios::binary) << plain + (named ? names : "");
    return path;
}

// For steps kept in files of their own

HWND MainDialogOf(const Session& s) {
    return s.main;
}

DWORD ProcessIdOf(const Session& s) {
    return s.process.dwProcessId;
}
