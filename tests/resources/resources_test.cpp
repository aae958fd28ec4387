// Checks what the resource compiler made of the script that no other test would notice: fixed
// texts that fit their fields in the font the templates ask for, the manifest's common controls
// and the built program's version record.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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

// What Explorer's Properties > Details shows of the built tintwell.exe, read as Explorer reads
// it: the texts in the language that the Translation entry names.
TEST(ProgramFile, ShowsTheProjectsVersion) {
    std::string exe = "Z:" + std::string(std::getenv("TINTWELL_EXE"));  // a Unix path, from CTest
    std::replace(exe.begin(), exe.end(), '/', '\\');
    std::vector<char> block(GetFileVersionInfoSizeA(exe.c_str(), nullptr));
    ASSERT_FALSE(block.empty()) << exe << " has no version record";
    GetFileVersionInfoA(exe.c_str(), 0, static_cast<DWORD>(block.size()), block.data());
    auto query = [&](const std::string& path) {
        void* found = nullptr;
        UINT length = 0;
        return VerQueryValueA(block.data(), path.c_str(), &found, &length) ? found : nullptr;
    };
    auto* language = static_cast<const WORD*>(query("\\VarFileInfo\\Translation"));
    ASSERT_NE(language, nullptr);
    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "\\StringFileInfo\\%04X%04X\\", language[0], language[1]);
    for (const char* name : {"FileVersion", "ProductVersion"}) {
        auto* value = static_cast<const char*>(query(prefix + std::string(name)));
        EXPECT_STREQ(value, TINTWELL_PROJECT_VERSION) << name;
    }
}

}  // namespace
