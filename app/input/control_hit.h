// Which control a mouse message of a main dialog is about. The colour samples are plain statics,
// transparent to the mouse, so their clicks arrive at the dialog and are placed by their point.
#ifndef TINTWELL_CONTROL_HIT_H
#define TINTWELL_CONTROL_HIT_H

#include <windows.h>
#include <windowsx.h>

// The point of a mouse message; signed, since a screen left of or above the main one is negative.
inline POINT PointOf(LPARAM lParam) {
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

// True when `control` exists and `screen`, in screen coordinates, lies within it.
inline bool IsOverControl(HWND control, POINT screen) {
    RECT rect{};
    return control != nullptr && GetWindowRect(control, &rect) && PtInRect(&rect, screen);
}

#endif
