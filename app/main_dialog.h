// The one dialog procedure behind both views, and the frame around it: set-up of each view, the
// switch between them and the release of everything at the end of a run.
#ifndef TINTWELL_MAIN_DIALOG_H
#define TINTWELL_MAIN_DIALOG_H

#include <windows.h>

#include "app/app_state.h"

INT_PTR CALLBACK MainDialog(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

int SetUpNormalView();
int SetUpCompactView();
// Ends the current dialog and runs the other view's dialog inside this call; returns 0 at once
// when `target` is already the view.
INT_PTR SwitchView(ViewMode target);
// Releases what the run holds; safe to run again, as it does for every dialog the run unwinds.
int TearDown();

int OnCommand(WORD notification, WORD id);

// The dialog template of a view.
int ViewTemplate(ViewMode view);

#endif
