#include "app/colour/colour_copy_menu.h"

#include "app/app_state.h"
#include "app/input/clipboard_text.h"
#include "app/colour/colour_display.h"
#include "app/input/control_hit.h"
#include "res/resource.h"

namespace {

void CopyColour(HWND dialog, COLORREF colour, UINT command) {
    char text[16];
    switch (command) {
    case IDM_COPY_HEX:
        FormatHexColour(colour, text);
        break;
    case IDM_COPY_HASH_HEX:
        text[0] = '#';
        FormatHexColour(colour, text + 1);
        break;
    case IDM_COPY_DECIMAL:
        wsprintfA(text, "%d, %d, %d", GetRValue(colour), GetGValue(colour), GetBValue(colour));
        break;
    default:
        return;  // the menu was closed without a choice
    }
    WriteClipboardText(dialog, text);
}

}  // namespace

INT_PTR OnSampleContextMenu(HWND dialog, LPARAM screenPoint) {
    POINT at = PointOf(screenPoint);
    COLORREF colour;
    // From the keyboard (Shift+F10) the point is -1, -1: no sample was clicked. With the left
    // button held, the right one has just cancelled a pick from the screen.
    if ((at.x == -1 && at.y == -1) || GetKeyState(VK_LBUTTON) < 0) {
        return FALSE;
    } else if (IsOverControl(g_app.controls.userSample, at)) {
        colour = g_app.userColour;
    } else if (IsOverControl(g_app.controls.matchSample, at)) {
        colour = g_app.match.colour;
    } else {
        return FALSE;
    }
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) {
        return TRUE;
    }
    UINT state = colour == SWATCH_NO_COLOUR ? MF_STRING | MF_GRAYED : MF_STRING;
    AppendMenuA(menu.get(), state, IDM_COPY_HEX, "Copy as &RRGGBB");
    AppendMenuA(menu.get(), state, IDM_COPY_HASH_HEX, "Copy as &#RRGGBB");
    AppendMenuA(menu.get(), state, IDM_COPY_DECIMAL, "Copy as R, G, B (&decimal)");
    // In front, or the menu does not close when the user clicks elsewhere.
    SetForegroundWindow(dialog);
    BOOL command =
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, dialog, nullptr);
    CopyColour(dialog, colour, static_cast<UINT>(command));
    return TRUE;
}
