#include "app/input/screen_picker.h"

#include "app/app_state.h"
#include "app/colour/user_colour.h"
#include "app/input/control_hit.h"

namespace {

// The screen's device context for the time of one read; borrowed from the system.
class ScreenDc {
  public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    ~ScreenDc() {
        if (dc_ != nullptr) {
            ReleaseDC(nullptr, dc_);
        }
    }
    HDC get() const { return dc_; }

  private:
    HDC dc_;
};

POINT ToScreen(HWND dialog, LPARAM clientPoint) {
    POINT at = PointOf(clientPoint);
    ClientToScreen(dialog, &at);
    return at;
}

INT_PTR Start(HWND dialog, LPARAM clientPoint) {
    if (!IsOverControl(g_app.controls.userSample, ToScreen(dialog, clientPoint))) {
        return FALSE;
    }
    g_app.pick.active = true;
    g_app.pick.before = CurrentColours();
    SetCapture(dialog);
    SetCursor(LoadCursorA(nullptr, IDC_CROSS));
    return TRUE;
}

// The screen DC spans the whole virtual screen, with the main screen's corner at 0, 0.
INT_PTR Follow(HWND dialog, WPARAM buttons, LPARAM clientPoint) {
    // A move without the left button is not the user's drag: Wine sends some of its own, from
    // wherever the cursor rests, when the capture starts.
    if (!(buttons & MK_LBUTTON)) {
        return TRUE;
    }
    POINT at = ToScreen(dialog, clientPoint);
    ScreenDc screen;
    COLORREF pixel = screen.get() != nullptr ? GetPixel(screen.get(), at.x, at.y) : CLR_INVALID;
    // Off every screen there is no pixel: the last colour stays.
    if (pixel != CLR_INVALID && pixel != g_app.userColour) {
        SetUserColour(pixel);
    }
    return TRUE;
}

void PutBack() {
    RestoreColours(g_app.pick.before);
}

// Ends the pick; the capture change that the release causes finds it ended already.
INT_PTR End(bool keep) {
    g_app.pick.active = false;
    ReleaseCapture();
    if (!keep) {
        PutBack();
    }
    return TRUE;
}

}  // namespace

INT_PTR OnScreenPickMouse(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    // A second press soon after the first arrives as a double click.
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
        return Start(dialog, lParam);
    }
    if (!g_app.pick.active) {
        return FALSE;
    }
    switch (message) {
    case WM_MOUSEMOVE:
        return Follow(dialog, wParam, lParam);
    case WM_LBUTTONUP:
        return End(true);
    case WM_RBUTTONDOWN:
        return End(false);
    case WM_CAPTURECHANGED:
        // Another window took the mouse (a system menu, a switch of task): the pick is over.
        g_app.pick.active = false;
        PutBack();
        return TRUE;
    default:
        return FALSE;
    }
}

int CancelScreenPick() {
    if (g_app.pick.active) {
        End(false);
    }
    return 0;
}
