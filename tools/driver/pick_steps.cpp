// Picks from the screen beyond a drag: started by the command or the hotkey, the magnifier, the
// keyboard, and the recent colours kept in the settings.
#include <windows.h>

#include "res/resource.h"
#include "session.h"

namespace {

constexpr int kSide = 11;  // pixels across the magnifier's square
constexpr UINT kDefaultModifiers = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
constexpr UINT kDefaultKey = 'C';

HWND Magnifier(const Session& s) {
    return WaitFor(s, "TintwellMagnifier", nullptr, 0);
}

// Nothing when the magnifier is whole on the screen and clear of the square of pixels it shows.
std::string WholeAndClear(HWND magnifier, POINT at) {
    RECT window = RectOf(magnifier), inside{}, overlap{};
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT read{at.x - kSide / 2, at.y - kSide / 2, at.x + kSide / 2 + 1, at.y + kSide / 2 + 1};
    IntersectRect(&inside, &window, &screen);
    std::string where = "the magnifier at " + Format(window.left, window.top) + "-" +
                        Format(window.right, window.bottom);
    return !EqualRect(&inside, &window)              ? where + " is not whole on the screen"
           : IntersectRect(&overlap, &window, &read) ? where + " covers the pixels it shows"
                                                     : "";
}

// The middle square's colour, the one left of it, and the text.
std::string Cells(HWND magnifier) {
    RECT client{};
    GetClientRect(magnifier, &client);
    POINT middle{0, 0};
    ClientToScreen(magnifier, &middle);
    const int cell = client.right / kSide;
    middle.x += kSide / 2 * cell + cell / 2;
    middle.y += kSide / 2 * cell + cell / 2;
    return Hex(PixelAt(middle)) + " " + Hex(PixelAt({middle.x - cell, middle.y})) + " " +
           Text(magnifier);
}

}  // namespace

Step PickFromScreen(bool byHotkey) {
    return {[=](Session& s) {
        if (byHotkey) {
            PostMessageA(s.main, WM_HOTKEY, 1, MAKELPARAM(kDefaultModifiers, kDefaultKey));
        } else {
            PostMessageA(s.main, WM_COMMAND, IDM_PICK_SCREEN, 0);
        }
        return WaitUntil([&] { return Capture(s.main) == s.main && Magnifier(s) != nullptr; })
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
            Mouse(s.main, WM_MOUSEMOVE, at, 0);
        }
        return std::string();
    }};
}

Step Nudge(WORD key, bool shift, int times, POINT cursor) {
    return {[=](Session& s) -> std::string {
        if (shift) {
            keybd_event(VK_SHIFT, 0, 0, 0);
        }
        for (int i = 0; i < times; ++i) {
            keybd_event(static_cast<BYTE>(key), 0, 0, 0);
            keybd_event(static_cast<BYTE>(key), 0, KEYEVENTF_KEYUP, 0);
        }
        if (shift) {
            keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
        }
        Send(s.main, WM_NULL);  // input is handled in order: once answered, the keys are in
        return cursor.x == kAnywhere.x ? "" : Expect("the cursor", Format(cursor.x, cursor.y), [] {
            POINT now{};
            GetCursorPos(&now);
            return Format(now.x, now.y);
        });
    }};
}

Step Magnified(POINT at, const std::string& cells) {
    return {[=](Session& s) {
        // It follows the cursor: wait for its move to the point.
        return Expect("the magnifier", cells, [&] {
            HWND magnifier = Magnifier(s);
            return magnifier == nullptr
                       ? "no magnifier"
                       : (cells.empty() ? "" : Cells(magnifier)) + WholeAndClear(magnifier, at);
        });
    }};
}

Step NoMagnifier() {
    return {[](Session& s) {
        return WaitUntil([&] { return Magnifier(s) == nullptr; }) ? "" : "the magnifier stayed";
    }};
}

Step HotkeyFree(bool free) {
    return {[=](Session&) -> std::string {
        constexpr int kProbe = 0x7A11;
        bool granted = RegisterHotKey(nullptr, kProbe, kDefaultModifiers, kDefaultKey) != FALSE;
        if (granted) {
            UnregisterHotKey(nullptr, kProbe);
        }
        return granted == free ? ""
               : free          ? "the hotkey is held"
                               : "the hotkey was granted to another program";
    }};
}
