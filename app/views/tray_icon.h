// The Compact view's notification-area icon: the record handed to the shell, filled once, with
// its add and delete requests in one place.
#ifndef TINTWELL_TRAY_ICON_H
#define TINTWELL_TRAY_ICON_H

#include <windows.h>
#include <shellapi.h>

#include "app/views/tray_popup.h"

class TrayIcon {
  public:
    // tip may be null: the icon then has no tooltip.
    TrayIcon(HWND window, UINT callbackMessage, UINT id, HICON icon, const char* tip);
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;
    // Does not talk to the shell: the owner calls Remove first.
    ~TrayIcon() = default;

    // One add request until the next Remove; the shell's answer is not examined.
    void Add();
    // The shell's answer to the delete request, or FALSE when nothing was added.
    BOOL Remove();

    bool IsAdded() const { return added; }
    const NOTIFYICONDATAA& Data() const { return data; }

  private:
    NOTIFYICONDATAA data{};
    bool added = false;
};

// WM_TRAYNOTIFY in a main dialog: left press raises the window, right press opens the first popup
// of `menu` as the command menu.
INT_PTR OnTrayNotify(HWND dialog, HMENU menu, LPARAM mouseMessage);

#endif
