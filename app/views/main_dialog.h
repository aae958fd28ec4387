// The one dialog procedure behind both views, the set-up of each view, and the loop that shows
// one view's dialog after another.
#ifndef TINTWELL_MAIN_DIALOG_H
#define TINTWELL_MAIN_DIALOG_H

#include <windows.h>

#include "app/app_state.h"

INT_PTR CALLBACK MainDialog(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

int SetUpNormalView();
int SetUpCompactView();
// Shows the current view's dialog, and after each switch the other view's, one at a time, until
// a dialog ends without a switch; that dialog's result, -1 when one could not be created.
INT_PTR RunViews();

// The dialog template of a view.
int ViewTemplate(ViewMode view);

#endif
