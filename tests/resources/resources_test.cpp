// Checks what the resource compiler made of the script that no other test would notice: fixed
// texts that fit their fields in the font the templates ask for, and the icons.
#include <windows.h>

#include <gtest/gtest.h>

#include <utility>

#include "res/resource.h"

namespace {

void* OwnResource(LPCSTR type, UINT id, DWORD* size = nullptr) {
    HMODULE self = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceExA(self, type, MAKEINTRESOURCEA(id),
                                  MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_AUS));
    if (found != nullptr && size != nullptr) {
        *size = SizeofResource(self, found);
    }
    return found == nullptr ? nullptr : LockResource(LoadResource(self, found));
}

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

TEST(DialogTemplates, FixedTextsFitTheirFields) {
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
        ReleaseDC(dialog, dc);
        DestroyWindow(dialog);
    }
}

// The group is compiled from the tintwell.ico that the program loads from its current directory
// (a copy sits next to this test), so the group's images are the file's.
TEST(ProgramIcon, HasSixteenColourImagesAt32And16AndTheFileLoadsAtBoth) {
    auto* group = static_cast<BYTE*>(OwnResource(RT_GROUP_ICON, IDI_APP));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(reinterpret_cast<const WORD*>(group)[2], 2) << "image count";
    for (auto [size, bytes] : {std::pair<int, DWORD>{32, 744}, {16, 296}}) {
        SCOPED_TRACE(size);
        int id = LookupIconIdFromDirectoryEx(group, TRUE, size, size, LR_DEFAULTCOLOR);
        DWORD found = 0;
        auto* image = static_cast<const BITMAPINFOHEADER*>(OwnResource(RT_ICON, id, &found));
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->biWidth, size);
        EXPECT_EQ(image->biHeight, 2 * size) << "colour rows and mask rows";
        EXPECT_EQ(found, bytes) << "not 16 colours with rows padded to 32 bits";
        HANDLE loaded =
            LoadImageA(nullptr, "tintwell.ico", IMAGE_ICON, size, size, LR_LOADFROMFILE);
        EXPECT_NE(loaded, nullptr);
        DestroyIcon(static_cast<HICON>(loaded));
    }
}

}  // namespace
