// Picks from the screen beyond a drag: started by the command or the hotkey, the magnifier, the
// keyboard, and the recent colours of the samples' menu.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "res/resource.h"
#include "session.h"
#include "user_session.h"

namespace {

constexpr int kMagnifiedSide = 11;
constexpr UINT kDefaultModifiers = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
constexpr UINT kDefaultKey = 'C';

std::string Hex(COLORREF colour) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", GetRValue(colour), GetGValue(colour),
                  GetBValue(colour));
    return text;
}

std::string Format(const RECT& r) {
    char text[64];
    std::snprintf(text, sizeof text, "(%ld, %ld)-(%ld, %ld)", r.left, r.top, r.right, r.bottom);
    return text;
}

HWND Capture(HWND main) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info);
    return info.hwndCapture;
}

HWND Magnifier(const Session& s) {
    for (HWND w = FindWindowExA(nullptr, nullptr, "TintwellMagnifier", nullptr); w != nullptr;
         w = FindWindowExA(nullptr, w, "TintwellMagnifier", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == s.process.dwProcessId && IsWindowVisible(w)) {
            return w;
        }
    }
    return nullptr;
}

// A mouse move to a point of the screen as the capture receives it, handled before it returns.
bool Move(HWND main, POINT at, WPARAM buttons) {
    POINT client = at;
    ScreenToClient(main, &client);
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(main, WM_MOUSEMOVE, buttons, MAKELPARAM(client.x, client.y),
                               SMTO_ABORTIFHUNG, kPatience, &result) != 0;
}

// Whole on the screen, and clear of the square of pixels it shows.
std::string WholeAndClear(HWND magnifier, POINT at) {
    RECT window{};
    GetWindowRect(magnifier, &window);
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const int half = kMagnifiedSide / 2;
    RECT read{at.x - half, at.y - half, at.x + half + 1, at.y + half + 1};
    RECT overlap{};
    RECT inside{};
    IntersectRect(&inside, &window, &screen);
    if (!EqualRect(&inside, &window)) {
        return "the magnifier at " + Format(window) + " is not whole on the screen";
    }
    if (IntersectRect(&overlap, &window, &read)) {
        return "the magnifier at " + Format(window) + " covers the pixels it shows";
    }
    return "";
}

}  // namespace

Step PickFromScreen(bool byHotkey) {
    return {[=](Session& s) {
        HWND main = s.main;
        if (byHotkey) {
            PostMessageA(main, WM_HOTKEY, 1, MAKELPARAM(kDefaultModifiers, kDefaultKey));
        } else {
            PostMessageA(main, WM_COMMAND, IDM_PICK_SCREEN, 0);
        }
        return WaitUntil([&] { return Capture(main) == main && Magnifier(s) != nullptr; })
                   ? ""
                   : "no pick started";
    }};
}

Step Hover(const std::vector<POINT>& to) {
    return {[=](Session& s) {
        for (POINT at : to) {
            // The real cursor goes there too, or the moves Wine makes from it would disagree;
            // they come late, through the display, and would undo a nudge that follows.
            SetCursorPos(at.x, at.y);
            Sleep(50);
            Move(s.main, at, 0);
        }
        return std::string();
    }};
}

Step Nudge(WORD key, bool shift, int times, POINT cursor) {
    return {[=](Session& s) -> std::string {
        std::vector<INPUT> keys;
        auto press = [&](WORD vk, bool up) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = vk;
            input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
            keys.push_back(input);
        };
        if (shift) {
            press(VK_SHIFT, false);
        }
        for (int i = 0; i < times; ++i) {
            press(key, false);
            press(key, true);
        }
        if (shift) {
            press(VK_SHIFT, true);
        }
        SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
        // Input is handled in order: once the program answers, it has had the keys.
        DWORD_PTR answer = 0;
        SendMessageTimeoutA(s.main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kPatience, &answer);
        if (cursor.x == kAnywhere.x) {
            return "";
        }
        POINT now{};
        return WaitUntil([&] {
            GetCursorPos(&now);
            return now.x == cursor.x && now.y == cursor.y;
        })
                   ? ""
                   : "the cursor at " + std::to_string(now.x) + ", " + std::to_string(now.y);
    }};
}

Step Magnified(POINT at, COLORREF centre, COLORREF left, const std::string& text) {
    return {[=](Session& s) -> std::string {
        HWND magnifier = nullptr;
        std::string shown;
        const std::string expected = Hex(centre) + " " + Hex(left) + " " + text;
        bool same = WaitUntil([&] {
            magnifier = Magnifier(s);
            if (magnifier == nullptr) {
                shown = "no magnifier";
                return false;
            }
            RECT client{};
            GetClientRect(magnifier, &client);
            POINT origin{0, 0};
            ClientToScreen(magnifier, &origin);
            const int cell = client.right / kMagnifiedSide;
            const int middle = origin.y + kMagnifiedSide / 2 * cell + cell / 2;
            HDC screen = GetDC(nullptr);
            COLORREF c = GetPixel(screen, origin.x + kMagnifiedSide / 2 * cell + cell / 2, middle);
            COLORREF l =
                GetPixel(screen, origin.x + (kMagnifiedSide / 2 - 1) * cell + cell / 2, middle);
            ReleaseDC(nullptr, screen);
            shown = Hex(c) + " " + Hex(l) + " " + Text(magnifier);
            return shown == expected;
        });
        if (!same) {
            return "the magnifier: expected \"" + expected + "\", shown \"" + shown + "\"";
        }
        return WholeAndClear(magnifier, at);
    }};
}

Step Magnified(POINT at) {
    return {[=](Session& s) {
        HWND magnifier = nullptr;
        // It follows the cursor: wait for its move to the point.
        WaitUntil([&] {
            magnifier = Magnifier(s);
            return magnifier != nullptr && WholeAndClear(magnifier, at).empty();
        });
        return magnifier == nullptr ? "no magnifier" : WholeAndClear(magnifier, at);
    }};
}

Step NoMagnifier() {
    return {[](Session& s) {
        return WaitUntil([&] { return Magnifier(s) == nullptr; }) ? "" : "the magnifier stayed";
    }};
}

Step LoseCapture() {
    return {[](Session& s) {
        PostMessageA(s.main, WM_CANCELMODE, 0, 0);
        return WaitUntil([&] { return Capture(s.main) == nullptr; }) ? "" : "the mouse still held";
    }};
}

Step InFront() {
    return {[](Session& s) {
        return WaitUntil([&] { return GetForegroundWindow() == s.main; })
                   ? ""
                   : "the main dialog is not in front";
    }};
}

Step HotkeyFree(bool free) {
    return {[=](Session&) -> std::string {
        constexpr int kProbe = 0x7A11;
        bool granted = RegisterHotKey(nullptr, kProbe, kDefaultModifiers, kDefaultKey) != FALSE;
        if (granted) {
            UnregisterHotKey(nullptr, kProbe);
        }
        if (granted == free) {
            return "";
        }
        return free ? "the hotkey is held" : "the hotkey was granted to another program";
    }};
}

Step Recent(int sample, char key) {
    return {[=](Session& s) -> std::string {
        HWND main = s.main;
        RECT r{};
        GetWindowRect(GetDlgItem(main, sample), &r);
        HWND popup = nullptr;
        PostMessageA(main, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(main),
                     MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
        if (!WaitUntil([&] { return IsWindowVisible(popup = FindWindowA("#32768", nullptr)); })) {
            return "no samples' menu";
        }
        // By mnemonics, which the menu takes as they come: the submenu, then its item ('c' there
        // is the clearing command). Escape closes what a missing item leaves open.
        for (char k : {'c', key}) {
            PostMessageA(popup, WM_CHAR, static_cast<unsigned char>(k), 1);
        }
        PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 1);
        PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 1);
        if (!WaitUntil([&] { return !IsWindowVisible(popup); })) {
            return "the samples' menu stayed open";
        }
        DWORD_PTR answer = 0;
        SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kPatience, &answer);
        return "";
    }};
}

Step StoredHistory(const std::string& colours) {
    return {[=](Session&) -> std::string {
        BYTE data[64];
        DWORD length = sizeof data;
        DWORD type = 0;
        if (RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Vexmoor Utils\\Tintwell", "History",
                         RRF_RT_ANY, &type, data, &length) != ERROR_SUCCESS) {
            return "no History stored";
        }
        std::string stored;
        for (DWORD i = 0; i + 2 < length; i += 3) {
            stored += (stored.empty() ? "" : " ") + Hex(RGB(data[i], data[i + 1], data[i + 2]));
        }
        if (type != REG_BINARY || length % 3 != 0 || stored != colours) {
            return "History: expected \"" + colours + "\", stored \"" + stored + "\" of type " +
                   std::to_string(type);
        }
        return std::string();
    }};
}

Step MeasureMoves(POINT a, POINT b, int rounds) {
    return {[=](Session& s) -> std::string {
        HWND main = s.main;
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        std::vector<double> times;
        for (int i = 0; i < 2 * rounds; ++i) {
            POINT at = i % 2 == 0 ? a : b;
            SetCursorPos(at.x, at.y);
            LARGE_INTEGER start;
            LARGE_INTEGER end;
            QueryPerformanceCounter(&start);
            Move(main, at, 0);
            QueryPerformanceCounter(&end);
            times.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                            static_cast<double>(frequency.QuadPart));
        }
        std::sort(times.begin(), times.end());
        std::printf("pick move (magnifier and match): median %.2f ms, worst %.2f ms of %zu\n",
                    times[times.size() / 2], times.back(), times.size());
        return Capture(main) == main ? "" : "the pick ended while measured";
    }};
}
