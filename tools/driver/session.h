// What the steps share: the record of the program's windows, and the waits, finds and reads.
#ifndef TINTWELL_DRIVER_SESSION_H
#define TINTWELL_DRIVER_SESSION_H

#include "user_session.h"

constexpr DWORD kPatience = 5000;     // milliseconds a window or a change may take to show
constexpr int kMessageText = 0xFFFF;  // a message box's text

struct Session {
    ~Session();
    PROCESS_INFORMATION process{};
    HWND main = nullptr;
    HWND compact = nullptr;  // the last Compact dialog, whose tray icon must go with it
    HWND about = nullptr;
};

bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds = kPatience);
// Waits until `shown` gives `expected`; the answer names what was shown instead.
std::string Expect(const std::string& what, const std::string& expected,
                   const std::function<std::string()>& shown);

// A visible top-level window of the program with that class for which `accept` holds (any, for
// none); null when none came in time.
HWND WaitFor(const Session& s, const char* windowClass,
             const std::function<bool(HWND)>& accept = nullptr, DWORD milliseconds = kPatience);
bool IsMessageBox(HWND window);
HWND Front(const Session& s);  // the About box when it is open, else the main dialog
// Clicks the button that ends a dialog.
std::string Dismiss(HWND dialog, int button, const std::string& what);
// Types the mnemonics into a shown popup menu, then Escape twice for what a greyed or missing
// item leaves open; the program has handled the command when this returns.
std::string Choose(const Session& s, HWND popup, const std::string& keys);
HWND Capture(HWND main);  // the window holding the mouse in the program

std::string Text(HWND window);  // as UTF-8
// Sends a message to a window of the program and waits, at most kPatience, until it is handled.
void Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// A mouse message over that point of the screen, as the dialog's capture receives it.
void Mouse(HWND main, UINT message, POINT at, WPARAM buttons);
RECT RectOf(HWND window);
POINT MiddleOf(HWND window);
COLORREF PixelAt(POINT at);  // as the screen shows it
std::string Format(LONG x, LONG y);
std::string Hex(COLORREF colour);  // RRGGBB

#endif
