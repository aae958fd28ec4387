#include "app/main_dialog.h"

#include <new>

#include "app/colour_copy_menu.h"
#include "app/colour_display.h"
#include "app/match_tip.h"
#include "app/file_drop.h"
#include "app/hex_paste.h"
#include "app/screen_picker.h"
#include "app/settings.h"
#include "app/tray_icon.h"
#include "res/resource.h"

namespace {

void RelabelSwitchView(HMENU menu, const char* text) {
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_TYPE;
    item.fType = MFT_STRING;
    item.dwTypeData = const_cast<char*>(text);
    SetMenuItemInfoA(menu, IDM_SWITCH_VIEW, FALSE, &item);
}

void MoveTo(const RECT& rect) {
    SetWindowPos(g_app.mainWindow, HWND_TOP, rect.left, rect.top, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE);
}

void RemoveTrayIcon() {
    if (g_app.trayIcon) {
        g_app.trayIcon->Remove();
        g_app.trayIcon.reset();
    }
}

void ReleaseMenu() {
    // The Normal view's menu is its dialog's menu bar, which the window would destroy along with
    // itself: take it off the window so that it is destroyed once, here.
    if (g_app.menu && GetMenu(g_app.mainWindow) == g_app.menu.get()) {
        SetMenu(g_app.mainWindow, nullptr);
    }
    g_app.menu.reset();
}

INT_PTR OnInitDialog(HWND window) {
    g_app.aboutWindow = nullptr;
    g_app.mainWindow = window;
    AttachColourBrushes(window);
    WireControls();
    CreateMatchTip(window);
    AcceptPastedColours(g_app.controls.userHex);
    DragAcceptFiles(window, TRUE);
    if (g_app.view != ViewMode::Compact) {
        SetUpNormalView();
    } else {
        SetUpCompactView();
    }
    ShowMatchedColour(g_app.matchedColour);
    g_app.ignoreHexChange = true;
    ShowUserColour(g_app.userColour);
    g_app.ignoreHexChange = false;
    // The view's set-up has placed the focus, or chosen not to.
    return FALSE;
}

}  // namespace

int ViewTemplate(ViewMode view) {
    return view != ViewMode::Compact ? IDD_NORMAL : IDD_COMPACT;
}

INT_PTR CALLBACK MainDialog(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(window);
    case WM_CLOSE:
    case WM_DESTROY:
        SaveSettings();
        return TearDown();
    case WM_NCDESTROY:
        ReleaseColourBrushes(window);
        return 0;
    case WM_COMMAND:
        return OnCommand(HIWORD(wParam), LOWORD(wParam));
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<INT_PTR>(OnCtlColorStatic(window, reinterpret_cast<HWND>(lParam),
                                                          reinterpret_cast<HDC>(wParam)));
    case WM_TRAYNOTIFY:
        return OnTrayNotify(wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_CAPTURECHANGED:
        return OnScreenPickMouse(window, message, wParam, lParam);
    case WM_CONTEXTMENU:
        return OnSampleContextMenu(window, lParam);
    case WM_DROPFILES:
        return OnDropFiles(reinterpret_cast<HDROP>(wParam));
    default:
        return 0;
    }
}

int SetUpNormalView() {
    HWND dialog = g_app.mainWindow;
    // The dialog's own menu bar; TearDown takes it off the window before destroying it.
    g_app.menu.reset(GetMenu(dialog));
    RelabelSwitchView(g_app.menu.get(), "Compact &View");
    g_app.controls.browse = GetDlgItem(dialog, IDC_BROWSE);
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(g_app.smallIcon.get()));
    MoveTo(g_app.normalRect);
    if (g_app.swatchTable && g_app.swatchTable->IsLoaded()) {
        SetWindowTextA(g_app.controls.swatchPath, g_app.swatchPath);
        SetFocus(g_app.controls.userHex);
    }
    return 1;
}

int SetUpCompactView() {
    // A menu held now is an older Normal dialog's menu bar, which that window destroys itself.
    g_app.menu.release();
    g_app.menu.reset(LoadMenuA(ProgramModule(), MAKEINTRESOURCEA(IDR_OPTIONS_MENU)));
    RelabelSwitchView(g_app.menu.get(), "Normal &View");
    RemoveTrayIcon();
    // Without the record the Compact view simply runs without a tray icon.
    g_app.trayIcon.reset(new (std::nothrow) TrayIcon(g_app.mainWindow, WM_TRAYNOTIFY, 0,
                                                     g_app.smallIcon.get(), "Tintwell"));
    if (g_app.trayIcon) {
        g_app.trayIcon->Add();
    }
    MoveTo(g_app.compactRect);
    return 1;
}

INT_PTR SwitchView(ViewMode target) {
    if (target == g_app.view) {
        return 0;
    }
    // Stores the outgoing window's position and ends its dialog, which stays, hidden, until the
    // dialog opened below has ended and this call has returned into its loop.
    SaveSettings();
    g_app.view = target;
    if (target != ViewMode::Compact) {
        RemoveTrayIcon();
        ReleaseMenu();
    }
    return DialogBoxParamA(ProgramModule(), MAKEINTRESOURCEA(ViewTemplate(target)), nullptr,
                           MainDialog, 0);
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
