#include "app/colour/colour_copy_menu.h"

#include "app/app_state.h"
#include "app/colour/colour_display.h"
#include "app/colour/recent_colours.h"
#include "app/colour/user_colour.h"
#include "app/input/clipboard_text.h"
#include "app/input/control_hit.h"
#include "res/resource.h"

namespace {

// The squares painted beside the recent colours, for as long as the menu is open.
struct RecentSquares {
    UniqueBitmap squares[kRecentLimit];
};

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

// A square of `colour` the size of a menu's check mark, framed so that white shows on white.
HBITMAP PaintSquare(HDC screen, COLORREF colour) {
    RECT square{0, 0, GetSystemMetrics(SM_CXMENUCHECK), GetSystemMetrics(SM_CYMENUCHECK)};
    HBITMAP bitmap = CreateCompatibleBitmap(screen, square.right, square.bottom);
    HDC dc = CreateCompatibleDC(screen);
    if (bitmap != nullptr && dc != nullptr) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        SetDCBrushColor(dc, colour);
        FillRect(dc, &square, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        FrameRect(dc, &square, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        SelectObject(dc, old);
    }
    if (dc != nullptr) {
        DeleteDC(dc);
    }
    return bitmap;
}

// "&1 RRGGBB" for the newest, a painted square beside each; then the command that empties it.
HMENU RecentMenu(RecentSquares* painted) {
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) {
        return nullptr;
    }
    HDC screen = GetDC(nullptr);
    for (std::size_t i = 0; i < g_app.recent.count; ++i) {
        char text[16];
        std::size_t length = i < 9 ? wsprintfA(text, "&%u ", static_cast<unsigned>(i + 1))
                                   : wsprintfA(text, "%u ", static_cast<unsigned>(i + 1));
        FormatHexColour(g_app.recent.colours[i], text + length);
        painted->squares[i].reset(PaintSquare(screen, g_app.recent.colours[i]));
        MENUITEMINFOA item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP;
        item.wID = static_cast<UINT>(IDM_RECENT_COLOUR + i);
        item.dwTypeData = text;
        item.hbmpItem = painted->squares[i].get();
        InsertMenuItemA(menu, static_cast<UINT>(i), TRUE, &item);
    }
    ReleaseDC(nullptr, screen);
    if (g_app.recent.count != 0) {
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    }
    AppendMenuA(menu, g_app.recent.count != 0 ? MF_STRING : MF_STRING | MF_GRAYED, IDM_CLEAR_RECENT,
                "&Clear Recent Colours");
    return menu;
}

void UseRecentColour(UINT command) {
    if (command == IDM_CLEAR_RECENT) {
        ClearRecentColours();
    } else if (command >= IDM_RECENT_COLOUR && command < IDM_RECENT_COLOUR + g_app.recent.count) {
        KeepUserColour(g_app.recent.colours[command - IDM_RECENT_COLOUR]);
    }
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
    RecentSquares squares;  // outlives the menu that shows them
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) {
        return TRUE;
    }
    UINT state = colour == SWATCH_NO_COLOUR ? MF_STRING | MF_GRAYED : MF_STRING;
    AppendMenuA(menu.get(), state, IDM_COPY_HEX, "Copy as &RRGGBB");
    AppendMenuA(menu.get(), state, IDM_COPY_HASH_HEX, "Copy as &#RRGGBB");
    AppendMenuA(menu.get(), state, IDM_COPY_DECIMAL, "Copy as R, G, B (&decimal)");
    // The submenu goes with the menu that holds it.
    if (HMENU recent = RecentMenu(&squares)) {
        AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
        AppendMenuA(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(recent), "Recent &Colours");
    }
    // In front, or the menu does not close when the user clicks elsewhere.
    SetForegroundWindow(dialog);
    auto command = static_cast<UINT>(TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                                    at.x, at.y, 0, dialog, nullptr));
    CopyColour(dialog, colour, command);
    UseRecentColour(command);
    return TRUE;
}
