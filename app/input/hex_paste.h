// Pasting a colour into the hex edit in the ways it is written elsewhere: "#4A90D9", "4a90d9",
// "0x4A90D9", with blanks or line ends around it.
#ifndef TINTWELL_HEX_PASTE_H
#define TINTWELL_HEX_PASTE_H

#include <windows.h>

// Makes `edit` take a pasted colour as its six digits; other pasted text goes in as before.
void AcceptPastedColours(HWND edit);

#endif
