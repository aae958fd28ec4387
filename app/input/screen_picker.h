// Picking the user's colour from the screen: the left button pressed on the user's sample and
// held, the pixel under the cursor becomes the colour as the mouse moves, anywhere on any screen.
// Releasing keeps it; Escape, the right button or a lost capture put back the colour from before.
#ifndef TINTWELL_SCREEN_PICKER_H
#define TINTWELL_SCREEN_PICKER_H

#include <windows.h>

// WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_MOUSEMOVE, WM_LBUTTONUP, WM_RBUTTONDOWN and
// WM_CAPTURECHANGED of a main dialog; FALSE when they are none of the picker's business.
INT_PTR OnScreenPickMouse(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Escape (IDCANCEL) in a main dialog: ends a pick and puts back the colour from before it.
int CancelScreenPick();

#endif
