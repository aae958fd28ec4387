#include "app/input/screen_picker.h"

#include <algorithm>
#include <utility>

#include "app/app_state.h"
#include "app/colour/recent_colours.h"
#include "app/colour/user_colour.h"
#include "app/input/control_hit.h"
#include "app/views/magnifier.h"

namespace {

POINT ToScreen(HWND dialog, LPARAM clientPoint) {
    POINT at = PointOf(clientPoint);
    ClientToScreen(dialog, &at);
    return at;
}

// The pixel is the magnifier's middle one, read once for both; coordinates span the whole virtual
// screen, with the main screen's corner at 0, 0.
void Follow(POINT at) {
    ScreenPick& pick = g_app.pick;
    pick.at = at;
    const COLORREF pixel = MagnifyAround(g_app.mainWindow, at);
    // Off every screen there is no pixel: the last colour stays.
    if (pixel != CLR_INVALID) {
        pick.read = true;
        if (pixel != g_app.userColour) {
            SetUserColour(pixel);
        }
    }
    DescribeMagnified();
}

// Ends the pick; the capture change that the release causes finds it ended already.
INT_PTR End(bool keep) {
    ScreenPick& pick = g_app.pick;
    pick.active = false;
    pick.keys.reset();
    HideMagnifier();
    if (GetCapture() == g_app.mainWindow) {
        ReleaseCapture();
    }
    if (!keep) {
        RestoreColours(pick.before);
    } else {
        if (pick.read) {
            RememberColour(g_app.userColour);
        }
        // Started from anywhere, the pick brings the colour it found back to the window.
        if (!pick.held) {
            SetForegroundWindow(g_app.mainWindow);
        }
    }
    return TRUE;
}

// The keyboard during a pick, seen by the main dialog's loop before the dialog manager, which
// would otherwise move the focus with the arrows.
bool OnPickKey(WPARAM key) {
    const int step = GetKeyState(VK_SHIFT) < 0 ? 10 : 1;
    POINT at = g_app.pick.at;
    switch (key) {
    case VK_LEFT:
        at.x -= step;
        break;
    case VK_RIGHT:
        at.x += step;
        break;
    case VK_UP:
        at.y -= step;
        break;
    case VK_DOWN:
        at.y += step;
        break;
    case VK_RETURN:
        End(true);
        return true;
    case VK_ESCAPE:
        End(false);
        return true;
    default:
        return false;
    }
    // The system reports the cursor's move later, as if the user had made it; by then further
    // keys may have moved it on, so those moves are known by their points and passed over.
    ScreenPick& pick = g_app.pick;
    if (pick.nudgeCount == sizeof pick.nudges / sizeof pick.nudges[0]) {
        std::copy(pick.nudges + 1, pick.nudges + pick.nudgeCount, pick.nudges);
        --pick.nudgeCount;
    }
    pick.nudges[pick.nudgeCount++] = at;
    SetCursorPos(at.x, at.y);
    Follow(at);
    return true;
}

// True for the move that a nudge made, and drops it and the nudges before it from the list; a
// move to anywhere else is the user's, and ends the list.
bool IsNudgeMove(POINT at) {
    ScreenPick& pick = g_app.pick;
    for (std::size_t i = 0; i < pick.nudgeCount; ++i) {
        if (pick.nudges[i].x == at.x && pick.nudges[i].y == at.y) {
            std::copy(pick.nudges + i + 1, pick.nudges + pick.nudgeCount, pick.nudges);
            pick.nudgeCount -= i + 1;
            return true;
        }
    }
    pick.nudgeCount = 0;
    return false;
}

LRESULT CALLBACK PickKeys(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && g_app.pick.active && message->message == WM_KEYDOWN &&
        OnPickKey(message->wParam)) {
        return TRUE;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void Begin(HWND dialog, bool held) {
    ScreenPick& pick = g_app.pick;
    pick.active = true;
    pick.held = held;
    pick.read = false;
    pick.nudgeCount = 0;
    pick.before = CurrentColours();
    pick.keys.reset(SetWindowsHookExA(WH_MSGFILTER, PickKeys, nullptr, GetCurrentThreadId()));
    SetCapture(dialog);
    SetCursor(LoadCursorA(nullptr, IDC_CROSS));
}

INT_PTR Start(HWND dialog, LPARAM clientPoint) {
    POINT at = ToScreen(dialog, clientPoint);
    if (!IsOverControl(g_app.controls.userSample, at)) {
        return FALSE;
    }
    Begin(dialog, true);
    g_app.pick.at = at;
    MagnifyAround(dialog, at);
    DescribeMagnified();
    return TRUE;
}

INT_PTR OnMove(HWND dialog, WPARAM buttons, LPARAM clientPoint) {
    // In a drag, a move without the left button is not the user's: Wine sends some of its own,
    // from wherever the cursor rests, when the capture starts.
    if (g_app.pick.held && !(buttons & MK_LBUTTON)) {
        return TRUE;
    }
    const POINT at = ToScreen(dialog, clientPoint);
    if (!IsNudgeMove(at)) {
        Follow(at);
    }
    return TRUE;
}

}  // namespace

INT_PTR OnScreenPickMouse(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    ScreenPick& pick = g_app.pick;
    // A second press soon after the first arrives as a double click.
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
        // Without a button held, the click that keeps the colour ends as it is released.
        return pick.active ? TRUE : Start(dialog, lParam);
    }
    if (!pick.active) {
        if (message == WM_RBUTTONDOWN || message == WM_RBUTTONUP) {
            // The release of the press that cancelled a pick opens no copy menu.
            return std::exchange(pick.cancelledByRight, false) && message == WM_RBUTTONUP;
        }
        return FALSE;
    }
    switch (message) {
    case WM_MOUSEMOVE:
        return OnMove(dialog, wParam, lParam);
    case WM_LBUTTONUP:
        return End(true);
    case WM_RBUTTONDOWN:
        pick.cancelledByRight = true;
        return End(false);
    case WM_CAPTURECHANGED:
        // Another window took the mouse (a system menu, a switch of task): the pick is over.
        return End(false);
    default:
        return FALSE;
    }
}

int StartScreenPick() {
    HWND dialog = g_app.mainWindow;
    if (g_app.pick.active || dialog == nullptr || !IsWindowEnabled(dialog)) {
        return 0;
    }
    // In front, the dialog has the keys and its capture takes the mouse over every window.
    SetForegroundWindow(dialog);
    Begin(dialog, false);
    POINT at{};
    GetCursorPos(&at);
    Follow(at);
    return 0;
}

int KeepScreenPick() {
    if (g_app.pick.active) {
        End(true);
    }
    return 0;
}

int CancelScreenPick() {
    if (g_app.pick.active) {
        End(false);
    }
    return 0;
}
