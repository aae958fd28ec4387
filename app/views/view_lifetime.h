// What a main dialog holds and when it gives it up: the parts that belong to the view now shown
// (its tray icon, its menu), the switch to the other view, and the release of the whole run.
#ifndef TINTWELL_VIEW_LIFETIME_H
#define TINTWELL_VIEW_LIFETIME_H

#include <windows.h>

#include "app/app_state.h"

void RemoveTrayIcon();
// What belongs to the dialog now shown, as opposed to the run: its tray icon and its menu.
void ReleaseViewParts();

// Stores the settings, ends the current dialog and leaves the other view for RunViews to open;
// returns 0, also at once when `target` is already the view.
INT_PTR SwitchView(ViewMode target);
// Releases what the run holds; safe to run again, as it does for the close and the destruction.
int TearDown();

#endif
