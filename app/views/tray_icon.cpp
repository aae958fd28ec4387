#include "app/views/tray_icon.h"

#include <cstring>

#include "app/app_state.h"

TrayIcon::TrayIcon(HWND window, UINT callbackMessage, UINT id, HICON icon, const char* tip) {
    // The original, smallest form of the record: every shell version accepts it.
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = id;
    data.uCallbackMessage = callbackMessage;
    data.hIcon = icon;
    data.uFlags = NIF_MESSAGE | NIF_ICON;
    if (tip != nullptr) {
        std::strncpy(data.szTip, tip, sizeof data.szTip - 1);
        data.uFlags |= NIF_TIP;
    }
}

void TrayIcon::Add() {
    if (!added) {
        Shell_NotifyIconA(NIM_ADD, &data);
        added = true;
    }
}

BOOL TrayIcon::Remove() {
    if (!added) {
        return FALSE;
    }
    added = false;
    return Shell_NotifyIconA(NIM_DELETE, &data);
}

INT_PTR OnTrayNotify(WPARAM /*iconId*/, LPARAM mouseMessage) {
    switch (mouseMessage) {
    case WM_LBUTTONDOWN:
        SetForegroundWindow(g_app.mainWindow);
        break;
    case WM_RBUTTONDOWN: {
        POINT cursor{};
        GetCursorPos(&cursor);
        // The window must be in front, or the popup does not close when the user clicks elsewhere.
        SetForegroundWindow(g_app.mainWindow);
        int y = GetSystemMetrics(SM_CYSCREEN) - kTrayPopupLift;
        TrackPopupMenu(GetSubMenu(g_app.menu.get(), 0), TPM_BOTTOMALIGN | TPM_RIGHTALIGN, cursor.x,
                       y, 0, g_app.mainWindow, nullptr);
        break;
    }
    default:
        break;
    }
    return 0;
}
