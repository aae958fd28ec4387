// What the main dialogs show: the user's colour and the matched colour as painted samples,
// decimal components and six hexadecimal digits.
#ifndef TINTWELL_COLOUR_DISPLAY_H
#define TINTWELL_COLOUR_DISPLAY_H

#include <windows.h>

int WireControls();
// The program's own rewrite of the hex edit included: its echo is not taken as the user typing.
int ShowUserColour(COLORREF colour);
int ShowMatchedColour(COLORREF colour);

// The brush for a coloured static of `dialog`, or null for the system's default colours.
HBRUSH OnCtlColorStatic(HWND dialog, HWND control, HDC dc);

// Each dialog owns its brushes from initialisation until its window is gone.
void AttachColourBrushes(HWND dialog);
void ReleaseColourBrushes(HWND dialog);

// "RRGGBB" from bits 0-23, red first; `text` holds at least 7 characters.
void FormatHexColour(COLORREF colour, char* text);

#endif
