// How the tray icon reaches its dialog and where its popup opens, named once for the program and
// for the end-to-end driver that clicks the icon and measures the popup.
#ifndef TINTWELL_TRAY_POPUP_H
#define TINTWELL_TRAY_POPUP_H

#include <windows.h>

// Callback message of the tray icon, private to the main dialogs.
constexpr UINT WM_TRAYNOTIFY = WM_USER + 261;
// The popup's bottom edge stands this far above the screen's, where a bottom taskbar's icons sit.
constexpr int kTrayPopupLift = 28;

#endif
