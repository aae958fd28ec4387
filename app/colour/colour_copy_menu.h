// The menu of a right click on either colour sample: the colour to the clipboard as "RRGGBB",
// "#RRGGBB" or "R, G, B", and the recent colours to choose from again.
#ifndef TINTWELL_COLOUR_COPY_MENU_H
#define TINTWELL_COLOUR_COPY_MENU_H

#include <windows.h>

// WM_CONTEXTMENU of a main dialog; FALSE when the click was on neither sample.
INT_PTR OnSampleContextMenu(HWND dialog, LPARAM screenPoint);

#endif
