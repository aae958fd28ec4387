#include "app/colour/colour_entry.h"

#include <cstdio>

#include "app/app_state.h"
#include "app/colour/user_colour.h"

namespace {

constexpr const char kErrorCaption[] = "Tintwell Error";

}  // namespace

bool ParseHexColour(const char* text, COLORREF* colour) {
    unsigned red = 0;
    unsigned green = 0;
    unsigned blue = 0;
    // The system C library's scanf: libstdc++ would route std::sscanf to MinGW's own, which
    // would more than double the size of the program for this one call.
    if (__ms_sscanf(text, "%2X%2X%2X", &red, &green, &blue) < 3) {
        return false;
    }
    *colour = RGB(red & 0xFF, green & 0xFF, blue & 0xFF);
    return true;
}

int OnHexChanged(WORD notification) {
    if (notification != EN_CHANGE || g_app.ignoreHexChange) {
        return 0;
    }
    HWND edit = g_app.controls.userHex;
    // Nothing happens while the user is still typing: the edit holds at most six characters.
    if (GetWindowTextLengthA(edit) < 6) {
        return 0;
    }
    char text[8] = {};
    GetWindowTextA(edit, text, 7);
    COLORREF colour = 0;
    if (!ParseHexColour(text, &colour)) {
        MessageBoxA(g_app.mainWindow,
                    "Please enter a valid hexadecimal number or click\n"
                    "Colours to choose one from the whole spectrum.",
                    kErrorCaption, MB_OK | MB_ICONERROR);
        return 0;
    }
    KeepUserColour(colour);
    return 0;
}

int PickColour() {
    if (!g_app.swatchTable || !g_app.swatchTable->IsLoaded()) {
        MessageBoxA(g_app.mainWindow, "Please select a swatch file.", kErrorCaption,
                    MB_OK | MB_ICONERROR);
        return 1;
    }
    CHOOSECOLORA& dialog = g_app.colourDialog;
    if (dialog.lStructSize == 0) {
        dialog = CHOOSECOLORA{};
        dialog.lStructSize = sizeof dialog;
        dialog.rgbResult = g_app.userColour;
        dialog.lpCustColors = g_app.customColours;
        dialog.Flags = CC_RGBINIT | CC_FULLOPEN;
    }
    // After a view switch the dialog that first used the record is hidden: own the colour
    // dialog by the window the user sees.
    dialog.hwndOwner = g_app.mainWindow;
    if (!ChooseColorA(&dialog)) {
        return 1;
    }
    KeepUserColour(dialog.rgbResult);
    return 1;
}
