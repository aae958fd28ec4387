// The one dialog procedure behind both views, and the frame around it: set-up of each view, the
// switch between them and the release of everything at the end of a run.
#ifndef TINTWELL_MAIN_DIALOG_H
#define TINTWELL_MAIN_DIALOG_H

#include <windows.h>

#include "app/app_state.h"

INT_PTR CALLBACK MainDialog(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

int SetUpNormalView();
int SetUpCompactView();
// Stores the settings, ends the current dialog and leaves the other view for RunViews to open;
// returns 0, also at once when `target` is already the view.
INT_PTR SwitchView(ViewMode target);
// Shows the current view's dialog, and after each switch the other view's, one at a time, until
// a dialog ends without a switch; that dialog's result, -1 when one could not be created.
INT_PTR RunViews();
// Releases what the run holds; safe to run again, as it does for the close and the destruction.
int TearDown();

int OnCommand(WORD notification, WORD id);

// The dialog template of a view.
int ViewTemplate(ViewMode view);

#endif
