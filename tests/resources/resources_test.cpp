// What the resource compiler made of the script that no other test would notice: fixed texts
// that fit their fields in the font the templates ask for, and the manifest's common controls.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include "res/resource.h"

namespace {

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// This program embeds the same manifest as tintwell.exe, so its dialogs get the same controls:
// buttons of the common controls' version 6, the only ones that know their ideal size.
TEST(DialogTemplates, FixedTextsFitTheirFieldsAndButtonsAreCommonControlsSix) {
    for (UINT id : {IDD_NORMAL, IDD_COMPACT, IDD_ABOUT}) {
        HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), nullptr,
                                         QuietDialog, 0);
        ASSERT_NE(dialog, nullptr) << id;
        HDC dc = GetDC(dialog);
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
        for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            char text[64] = {};
            SIZE extent = {};
            RECT field = {};
            GetTextExtentPoint32A(dc, text, GetWindowTextA(child, text, sizeof text), &extent);
            GetClientRect(child, &field);
            EXPECT_TRUE(extent.cx <= field.right && extent.cy <= field.bottom)
                << '"' << text << "\" is clipped in dialog " << id;
        }
        SIZE ideal = {};
        EXPECT_TRUE(id != IDD_NORMAL || SendDlgItemMessageA(dialog, IDC_BROWSE, BCM_GETIDEALSIZE, 0,
                                                            reinterpret_cast<LPARAM>(&ideal)));
        ReleaseDC(dialog, dc);
        DestroyWindow(dialog);
    }
}

}  // namespace
