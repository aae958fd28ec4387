// Picking the user's colour from the screen, anywhere on any monitor, with the magnifier beside
// the cursor: either the left button pressed on the user's sample and held, or started by the
// command or the hotkey without a button. The pixel under the cursor becomes the colour as the
// mouse moves; the arrow keys move the cursor by one pixel, with Shift by ten. Releasing the
// button, a click or Enter keeps it; Escape, the right button or a lost capture put back the
// colours from before.
#ifndef TINTWELL_SCREEN_PICKER_H
#define TINTWELL_SCREEN_PICKER_H

#include <windows.h>

// WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_MOUSEMOVE, WM_LBUTTONUP, WM_RBUTTONDOWN and
// WM_CAPTURECHANGED of a main dialog; FALSE when they are none of the picker's business.
INT_PTR OnScreenPickMouse(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// A pick without a held button from where the cursor is; nothing while a pick runs or while
// the main dialog is disabled by a box or a common dialog of its own.
int StartScreenPick();
// Enter (IDOK) in a main dialog: ends a pick and keeps its colour.
int KeepScreenPick();
// Escape (IDCANCEL) in a main dialog, and whatever takes the dialog away mid-pick (a menu, a view
// switch, the end of the run): ends a pick and puts back the colours from before it.
int CancelScreenPick();

#endif
