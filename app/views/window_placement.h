// Whether a main dialog can be reached where it was last left: a monitor unplugged since, or a
// damaged setting, must not leave the window somewhere the user cannot get at it.
#ifndef TINTWELL_WINDOW_PLACEMENT_H
#define TINTWELL_WINDOW_PLACEMENT_H

#include <windows.h>

// `stored` when the window's caption, with the window's corner there, overlaps the work area of
// some monitor, negative coordinates of a monitor left of or above the primary one included;
// `fallback` otherwise.
POINT ReachablePosition(HWND window, POINT stored, POINT fallback);

#endif
