// The About box: name and version, the program's icon and its distribution terms.
#ifndef TINTWELL_ABOUT_BOX_H
#define TINTWELL_ABOUT_BOX_H

#include <windows.h>

extern const char kAboutTerms[];

INT_PTR CALLBACK AboutBox(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the box as a modal dialog without an owner, so the main dialog stays usable meanwhile.
int ShowAboutBox();

#endif
