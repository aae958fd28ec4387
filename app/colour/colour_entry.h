// The user's two roads to a colour: six hexadecimal digits typed into the hex edit, or a pick in
// the system colour dialog. Both end in the closest swatch colour being shown.
#ifndef TINTWELL_COLOUR_ENTRY_H
#define TINTWELL_COLOUR_ENTRY_H

#include <windows.h>

int OnHexChanged(WORD notification);
int PickColour();

// Reads "RRGGBB" by the rules of scanf's "%2X%2X%2X" (white space before a field is skipped);
// false when fewer than three fields convert.
bool ParseHexColour(const char* text, COLORREF* colour);

#endif
