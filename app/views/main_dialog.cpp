#include "app/views/main_dialog.h"

#include <new>

#include "app/commands.h"
#include "app/colour/colour_copy_menu.h"
#include "app/colour/colour_display.h"
#include "app/colour/match_tip.h"
#include "app/colour/user_colour.h"
#include "app/files/file_drop.h"
#include "app/input/hex_paste.h"
#include "app/input/pick_hotkey.h"
#include "app/input/screen_picker.h"
#include "app/settings.h"
#include "app/views/added_commands.h"
#include "app/views/tray_icon.h"
#include "app/views/view_lifetime.h"
#include "app/views/window_placement.h"
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

INT_PTR OnDestroy(HWND window) {
    CancelScreenPick();
    ReleasePickHotkey(window);
    if (g_app.switchPending) {
        // The switch has stored the settings; the next view's dialog opens once this one is gone.
        ReleaseViewParts();
        return 0;
    }
    SaveSettings();
    return TearDown();
}

INT_PTR OnInitDialog(HWND window) {
    g_app.aboutWindow = nullptr;
    g_app.mainWindow = window;
    AttachColourBrushes(window);
    WireControls();
    CreateMatchTip(window);
    AcceptPastedColours(g_app.controls.userHex);
    DragAcceptFiles(window, TRUE);
    // Before the view's menu gets its commands: the pick's shows the hotkey only if it is held.
    HoldPickHotkey(window);
    if (g_app.view != ViewMode::Compact) {
        SetUpNormalView();
    } else {
        SetUpCompactView();
    }
    ShowCurrentColours();
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
        SaveSettings();
        return TearDown();
    case WM_DESTROY:
        return OnDestroy(window);
    case WM_NCDESTROY:
        ReleaseColourBrushes(window);
        return 0;
    case WM_COMMAND:
        return OnCommand(HIWORD(wParam), LOWORD(wParam));
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<INT_PTR>(OnCtlColorStatic(window, reinterpret_cast<HWND>(lParam),
                                                          reinterpret_cast<HDC>(wParam)));
    case WM_TRAYNOTIFY:
        return OnTrayNotify(window, g_app.menu.get(), lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_CAPTURECHANGED:
        return OnScreenPickMouse(window, message, wParam, lParam);
    case WM_HOTKEY:
        return wParam == kPickHotkeyId ? StartScreenPick() : 0;
    case WM_ENTERMENULOOP:
        // The menu takes the mouse: a pick would lose it anyway.
        return CancelScreenPick();
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
    InsertAddedCommands(g_app.menu.get());
    g_app.controls.browse = GetDlgItem(dialog, IDC_BROWSE);
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(g_app.smallIcon.get()));
    PlaceMainDialog(dialog, &g_app.normalRect, ViewMode::Normal);
    if (g_app.swatchTable && g_app.swatchTable->IsLoaded()) {
        SetWindowTextA(g_app.controls.swatchPath, g_app.swatchPath);
        SetFocus(g_app.controls.userHex);
    }
    return 1;
}

int SetUpCompactView() {
    g_app.menu.reset(LoadMenuA(ProgramModule(), MAKEINTRESOURCEA(IDR_OPTIONS_MENU)));
    RelabelSwitchView(g_app.menu.get(), "Normal &View");
    InsertAddedCommands(g_app.menu.get());
    RemoveTrayIcon();
    // Without the record the Compact view simply runs without a tray icon.
    g_app.trayIcon.reset(new (std::nothrow) TrayIcon(g_app.mainWindow, WM_TRAYNOTIFY, 0,
                                                     g_app.smallIcon.get(), "Tintwell"));
    if (g_app.trayIcon) {
        g_app.trayIcon->Add();
    }
    PlaceMainDialog(g_app.mainWindow, &g_app.compactRect, ViewMode::Compact);
    return 1;
}

INT_PTR RunViews() {
    INT_PTR result = 0;
    // Every pass after the first follows a switch the user chose in the dialog before it.
    do {
        g_app.switchPending = false;
        result = DialogBoxParamA(ProgramModule(), MAKEINTRESOURCEA(ViewTemplate(g_app.view)),
                                 nullptr, MainDialog, 0);
    } while (g_app.switchPending && result != -1);
    // Releases nothing after a normal end; after a dialog that could not be created, the rest.
    TearDown();
    return result;
}
