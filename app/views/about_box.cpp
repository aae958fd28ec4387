#include "app/views/about_box.h"

#include "app/app_state.h"
#include "app/views/window_placement.h"
#include "res/resource.h"

const char kAboutTerms[] =
    "Tintwell is free software. You may use it, copy it and give it to others, for any "
    "purpose and without charge.\r\n"
    "\r\n"
    "You may change it and share your changed version, provided you keep these terms with it "
    "and say that you changed it.\r\n"
    "\r\n"
    "Tintwell comes with no warranty of any kind. Its authors are not liable for any harm "
    "that comes from using it.";

namespace {

void OnInitAbout(HWND box) {
    g_app.aboutWindow = box;
    SendDlgItemMessageA(box, IDC_ABOUT_ICON, STM_SETICON,
                        reinterpret_cast<WPARAM>(g_app.largeIcon.get()), 0);
    SendDlgItemMessageA(box, IDC_ABOUT_TERMS, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kAboutTerms));
    PlaceAboutBox(box, g_app.mainWindow);
}

}  // namespace

INT_PTR CALLBACK AboutBox(HWND window, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitAbout(window);
        return FALSE;
    case WM_COMMAND:
        // IDOK and IDCANCEL (Enter, Escape) do not close the box; only its button does.
        if (LOWORD(wParam) == IDC_ABOUT_CLOSE) {
            return EndDialog(window, 0);
        }
        return 0;
    case WM_CLOSE:
        return EndDialog(window, 0);
    case WM_DESTROY:
        if (g_app.aboutWindow == window) {
            g_app.aboutWindow = nullptr;
        }
        return EndDialog(window, 0);
    default:
        return 0;
    }
}

int ShowAboutBox() {
    DialogBoxParamA(ProgramModule(), MAKEINTRESOURCEA(IDD_ABOUT), nullptr, AboutBox, 0);
    return 1;
}
