// Where windows go: each view's default place, the remembered place when the user can still reach
// it, and the About box's place. A monitor unplugged since, or a damaged setting, must not leave a
// window somewhere the user cannot get at it.
#ifndef TINTWELL_WINDOW_PLACEMENT_H
#define TINTWELL_WINDOW_PLACEMENT_H

#include <windows.h>

#include "app/app_state.h"

// Where a window of the nominal size goes to stand centred on a screen of the given size.
POINT CentredPosition(int screenWidth, int screenHeight, int width, int height);

// A view's default place: its template's size, taken as pixels, centred on the primary screen.
POINT DefaultPosition(ViewMode view);

// `stored` when the window's caption, with the window's corner there, overlaps the work area of
// some monitor, negative coordinates of a monitor left of or above the primary one included;
// `fallback` otherwise.
POINT ReachablePosition(HWND window, POINT stored, POINT fallback);

// Moves the main dialog of `view` to its remembered place in `remembered`, or to the view's
// default place when its caption could not be reached there; what is shown is what the next save
// stores.
void PlaceMainDialog(HWND dialog, RECT* remembered, ViewMode view);

// The About box's corner goes where the main dialog's corner would be if that dialog were centred.
void PlaceAboutBox(HWND box, HWND mainDialog);

#endif
