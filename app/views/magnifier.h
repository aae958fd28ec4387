// The magnifier of a pick from the screen: a small top-most popup beside the cursor showing the
// pixels around it enlarged, the middle one framed, and below them the hex code of that pixel and,
// with a file loaded, of its match. It is placed clear of the pixels it shows, on the side of the
// cursor where it stays whole on the cursor's monitor.
#ifndef TINTWELL_MAGNIFIER_H
#define TINTWELL_MAGNIFIER_H

#include <windows.h>

// Moves the popup beside `at` (screen coordinates, signed; made on first use, owned by `owner`),
// then reads the pixels around `at` for it. Gives the pixel at `at` itself, or CLR_INVALID where
// no monitor shows one.
COLORREF MagnifyAround(HWND owner, POINT at);
// Writes the pixel's code and its match's below the pixels and shows the popup painted anew.
void DescribeMagnified();
// Destroys the popup; nothing when there is none.
void HideMagnifier();

// Where a magnifier of `size` goes beside `at` on a monitor of `monitor`: right of and below the
// cursor `gap` pixels away, or on the other side where it would not be whole.
POINT MagnifierPlace(POINT at, SIZE size, int gap, const RECT& monitor);

#endif
