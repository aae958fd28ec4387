// The magnifier of a pick from the screen: a small top-most popup beside the cursor showing the
// pixels around it enlarged, the middle one framed, and below them the hex code of that pixel and,
// with a file loaded, of its match. It is placed clear of the pixels it shows, on the side of the
// cursor where it stays whole on the cursor's monitor.
#ifndef TINTWELL_MAGNIFIER_H
#define TINTWELL_MAGNIFIER_H

#include <windows.h>

// Reads the pixels around `at` (screen coordinates, signed) and shows them beside it; the popup is
// made on first use and owned by `owner`.
void ShowMagnifier(HWND owner, POINT at);
// Destroys the popup; nothing when there is none.
void HideMagnifier();

// Where a magnifier of `size` goes beside `at` on a monitor of `monitor`: right of and below the
// cursor `gap` pixels away, or on the other side where it would not be whole.
POINT MagnifierPlace(POINT at, SIZE size, int gap, const RECT& monitor);

#endif
