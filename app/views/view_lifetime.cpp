#include "app/views/view_lifetime.h"

#include "app/colour/match_tip.h"
#include "app/input/screen_picker.h"
#include "app/settings.h"

namespace {

void ReleaseMenu() {
    // The Normal view's menu is its dialog's menu bar, which the window would destroy along with
    // itself: take it off the window so that it is destroyed once, here.
    if (g_app.menu && GetMenu(g_app.mainWindow) == g_app.menu.get()) {
        SetMenu(g_app.mainWindow, nullptr);
    }
    g_app.menu.reset();
}

}  // namespace

void RemoveTrayIcon() {
    if (g_app.trayIcon) {
        g_app.trayIcon->Remove();
        g_app.trayIcon.reset();
    }
}

void ReleaseViewParts() {
    RemoveTrayIcon();
    ReleaseMenu();
}

INT_PTR SwitchView(ViewMode target) {
    if (target == g_app.view) {
        return 0;
    }
    CancelScreenPick();
    // Stores the outgoing window's position and ends its dialog; RunViews opens the next one once
    // this one is destroyed, so switches never nest.
    SaveSettings();
    if (g_app.aboutWindow != nullptr) {
        // Its loop would otherwise keep the ended dialog, and with it the switch, until it closed.
        EndDialog(g_app.aboutWindow, 0);
    }
    g_app.view = target;
    g_app.switchPending = true;
    return 0;
}

int TearDown() {
    RemoveTrayIcon();
    DestroyMatchTip();
    g_app.swatchTable.reset();
    g_app.swatchNames.Clear();
    if (g_app.aboutWindow != nullptr) {
        EndDialog(g_app.aboutWindow, 0);
    }
    g_app.smallIcon.reset();
    ReleaseMenu();
    return 1;
}
