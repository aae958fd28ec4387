#include "session.h"

#include <algorithm>
#include <cstdio>

#include "res/resource.h"

namespace {

// The program's top-level windows of that class (any, for null), shown or not.
std::vector<HWND> WindowsOf(const Session& s, const char* windowClass) {
    std::vector<HWND> found;
    for (HWND w = FindWindowExA(nullptr, nullptr, windowClass, nullptr); w != nullptr;
         w = FindWindowExA(nullptr, w, windowClass, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == s.process.dwProcessId) {
            found.push_back(w);
        }
    }
    return found;
}

}  // namespace

Session::~Session() {
    TerminateProcess(process.hProcess, 99);  // fails harmlessly once the program has ended
    WaitForSingleObject(process.hProcess, kPatience);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds) {
    for (DWORD start = GetTickCount(); !condition(); Sleep(10)) {
        if (GetTickCount() - start >= milliseconds) {
            return false;
        }
    }
    return true;
}

std::string Expect(const std::string& what, const std::string& expected,
                   const std::function<std::string()>& shown) {
    std::string last;
    return WaitUntil([&] { return (last = shown()) == expected; })
               ? ""
               : what + ": expected \"" + expected + "\", shown \"" + last + "\"";
}

HWND WaitFor(const Session& s, const char* windowClass, const std::function<bool(HWND)>& accept,
             DWORD milliseconds) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND w : WindowsOf(s, windowClass)) {
                if (IsWindowVisible(w) && (!accept || accept(w))) {
                    return (found = w) != nullptr;
                }
            }
            return false;
        },
        milliseconds);
    return found;
}

// Message boxes have the program's name as caption, as do main dialogs, which have the hex edit.
bool IsMessageBox(HWND window) {
    std::string caption = Text(window);
    return (caption == "Tintwell" || caption == "Tintwell Error") &&
           GetDlgItem(window, IDC_USER_HEX) == nullptr;
}

HWND Front(const Session& s) {
    return s.about != nullptr && IsWindowVisible(s.about) ? s.about : s.main;
}

std::string Dismiss(HWND dialog, int button, const std::string& what) {
    PostMessageA(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
    return WaitUntil([&] { return !IsWindow(dialog); }) ? "" : what + " stayed open";
}

std::string Choose(const Session& s, HWND popup, const std::string& keys) {
    for (char key : keys + "\x1B\x1B") {
        if (key == '\x1B') {
            PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 1);
        } else {
            PostMessageA(popup, WM_CHAR, static_cast<unsigned char>(key), 1);
        }
    }
    if (!WaitUntil([&] { return !IsWindowVisible(popup); })) {
        return "the popup stayed open";
    }
    Send(s.main, WM_NULL);  // the command a menu gives comes before the answer to this
    return "";
}

HWND Capture(HWND main) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info);
    return info.hwndCapture;
}

// Asked of the window itself, in UTF-16: the text of another process's edit is out of reach
// otherwise, and the program's own code page may differ from this one's.
std::string Text(HWND window) {
    wchar_t text[1024] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, kPatience, &copied)) {
        return "<no text>";
    }
    char bytes[4096] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, sizeof bytes - 1, nullptr, nullptr);
    return bytes;
}

void Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kPatience, &result);
}

void Mouse(HWND main, UINT message, POINT at, WPARAM buttons) {
    ScreenToClient(main, &at);
    Send(main, message, buttons, MAKELPARAM(at.x, at.y));
}

RECT RectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

POINT MiddleOf(HWND window) {
    RECT r = RectOf(window);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

COLORREF PixelAt(POINT at) {
    HDC screen = GetDC(nullptr);
    COLORREF pixel = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return pixel;
}

std::string Format(LONG x, LONG y) {
    return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

std::string Hex(COLORREF colour) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", GetRValue(colour), GetGValue(colour),
                  GetBValue(colour));
    return text;
}

namespace {

std::string RunSteps(Session& s, const std::vector<Step>& steps) {
    for (std::size_t i = 0; i < steps.size(); ++i) {
        // A message box the step does not answer was shown in reply to the step before. (A main
        // dialog on its way out may look like one, once its controls are gone.)
        HWND box =
            steps[i].answersBox
                ? nullptr
                : WaitFor(
                      s, "#32770", [&](HWND w) { return w != s.main && IsMessageBox(w); }, 0);
        std::string failure = box != nullptr
                                  ? "unexpected message box: " + Text(GetDlgItem(box, kMessageText))
                                  : steps[i].run(s);
        if (!failure.empty()) {
            return "step " + std::to_string(i + 1) + ": " + failure;
        }
    }
    return "";
}

}  // namespace

std::string RunSession(const std::string& arguments, const std::vector<Step>& steps) {
    wchar_t wide[4096] = {};
    MultiByteToWideChar(CP_ACP, 0, arguments.c_str(), -1, wide, 4095);
    return RunSession(std::wstring(wide), steps);
}

std::string RunSession(const std::wstring& arguments, const std::vector<Step>& steps) {
    Session s;
    // The program's path is plain ASCII, in a build folder.
    std::wstring program(ProgramPath().begin(), ProgramPath().end());
    std::wstring folder = program.substr(0, program.find_last_of(L"\\/"));
    std::wstring commandLine =
        L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    // No inherited handles: the program must not hold the test's output open.
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &s.process)) {
        return "cannot start " + ProgramPath();
    }
    return RunSteps(s, steps);
}

std::string RunSessionOn(HANDLE process, const std::vector<Step>& steps) {
    Session s;
    s.process.hProcess = process;
    s.process.dwProcessId = GetProcessId(process);
    return RunSteps(s, steps);
}

std::string& ProgramPath() {
    static std::string path = __argc > 1 ? WindowsPath(__argv[1]) : std::string();
    return path;
}

std::string WindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') {
        path = "Z:" + path;
        std::replace(path.begin(), path.end(), '/', '\\');
    }
    return path;
}

POINT Centred(int width, int height) {
    return {(GetSystemMetrics(SM_CXSCREEN) - width) / 2,
            (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
}

Step Exit() {
    return {[](Session& s) -> std::string {
        DWORD code = STILL_ACTIVE;
        WaitForSingleObject(s.process.hProcess, kPatience);
        GetExitCodeProcess(s.process.hProcess, &code);
        return code == STILL_ACTIVE ? "the program did not end"
               : code == 0          ? ""
                                    : "exit code " + std::to_string(code);
    }};
}
