// What a user cannot see from outside: that every handle the program owns is released once, the
// added menu commands, and names under a Western code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/files/path_text.h"
#include "app/views/added_commands.h"
#include "app/input/screen_picker.h"
#include "app/views/main_dialog.h"
#include "res/resource.h"

namespace {

struct Shown {  // a main dialog as it was when first shown
    HWND dialog;
    HMENU menu;
    bool tray;
};
std::vector<int> commands;  // the command each main dialog gets, in turn
std::vector<Shown> shown;   // one per command given

// A thread timer, which every modal loop dispatches: a main dialog gets its command once shown.
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    HWND window = g_app.mainWindow;
    if (IsWindowVisible(window) && shown.size() < commands.size() &&
        (shown.empty() || shown.back().dialog != window)) {
        shown.push_back({window, g_app.menu.get(), g_app.trayIcon != nullptr});
        PostMessageA(window, WM_COMMAND, commands[shown.size() - 1], 0);
    }
}

class AppTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_app = AppState{};
        g_app.swatchTable.reset(new SwatchTable);
        shown.clear();
    }
    void TearDown() override { g_app = AppState{}; }
    // Runs the views from `view` on, as the program does; each main dialog gets the next command.
    INT_PTR Run(ViewMode view, std::vector<int> script) {
        commands = std::move(script);
        g_app.view = view;
        UINT_PTR timer = SetTimer(nullptr, 0, 10, Tick);
        INT_PTR result = RunViews();
        KillTimer(nullptr, timer);
        return result;
    }
};

TEST_F(AppTest, ExitAfterSwitchingViewsReleasesEverythingOnce) {
    const BYTE bits[32] = {};
    g_app.smallIcon.reset(CreateIcon(nullptr, 16, 16, 1, 1, bits, bits));
    HICON smallIcon = g_app.smallIcon.get();
    // Each switch ends its dialog; the next one opens once it is gone.
    EXPECT_EQ(Run(ViewMode::Normal, {IDM_SWITCH_VIEW, IDM_SWITCH_VIEW, IDM_EXIT}), 0);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_FALSE(shown[2].tray);  // the Compact view's went with the switch back, as did its menu
    for (const Shown& s : shown) {
        EXPECT_FALSE(IsMenu(s.menu));
    }
    ICONINFO info{};
    EXPECT_FALSE(GetIconInfo(smallIcon, &info));
    EXPECT_FALSE(g_app.swatchTable);
}

// What the dialog hands the system to paint a static's background.
HBRUSH BrushFor(HWND control) {
    HDC dc = GetDC(control);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageA(GetParent(control), WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(control)));
    ReleaseDC(control, dc);
    return brush;
}

TEST_F(AppTest, EachColouredStaticKeepsOneBrushUntilItsColourChangesOrTheDialogGoes) {
    HWND dialog =
        CreateDialogParamA(ProgramModule(), MAKEINTRESOURCEA(IDD_NORMAL), nullptr, MainDialog, 0);
    ASSERT_NE(dialog, nullptr);
    const Controls& c = g_app.controls;
    HBRUSH sample = BrushFor(c.userSample);
    EXPECT_EQ(BrushFor(c.userSample), sample);  // a repaint makes none
    SetWindowTextA(c.userHex, "102030");
    HBRUSH changed = BrushFor(c.userSample);
    EXPECT_NE(changed, sample);
    EXPECT_EQ(GetObjectType(sample), 0u);
    DestroyWindow(dialog);
    EXPECT_EQ(GetObjectType(changed), 0u);
}

// Windows turns a right release into a copy menu; Wine delivers none after a cancelled capture,
// so only here is it seen that the release of a cancelling press is taken.
TEST_F(AppTest, TheReleaseOfTheRightPressThatCancelsAPickIsTakenOnce) {
    HWND dialog =
        CreateDialogParamA(ProgramModule(), MAKEINTRESOURCEA(IDD_NORMAL), nullptr, MainDialog, 0);
    ASSERT_NE(dialog, nullptr);
    StartScreenPick();
    ASSERT_TRUE(g_app.pick.active);
    MainDialog(dialog, WM_RBUTTONDOWN, 0, 0);
    EXPECT_FALSE(g_app.pick.active);
    EXPECT_EQ(MainDialog(dialog, WM_RBUTTONUP, 0, 0), TRUE);
    EXPECT_EQ(MainDialog(dialog, WM_RBUTTONUP, 0, 0), FALSE);
    DestroyWindow(dialog);
}

// Wine keeps a menu in the process that owns it: only from here are these items seen.
TEST_F(AppTest, AddedCommandsGoAboveTheSeparatorBeforeAboutAndPerceptualFollowsTheMode) {
    HMENU menu = LoadMenuA(ProgramModule(), MAKEINTRESOURCEA(IDR_OPTIONS_MENU));
    ASSERT_NE(menu, nullptr);
    g_app.matching = MatchMode::kPerceptual;
    InsertAddedCommands(menu);
    const UINT order[] = {
        IDM_SWATCH_FILE, IDM_SWITCH_VIEW, IDM_PERCEPTUAL, IDM_PICK_SCREEN, 0, IDM_ABOUT, 0,
        IDM_EXIT};
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_EQ(GetMenuItemCount(popup), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(GetMenuItemID(popup, i), order[i]) << i;
    }
    auto checked = [&] { return GetMenuState(popup, IDM_PERCEPTUAL, MF_BYCOMMAND) & MF_CHECKED; };
    EXPECT_EQ(checked(), MF_CHECKED);
    g_app.matching = MatchMode::kChannelSum;
    UpdateAddedCommands(menu);
    EXPECT_EQ(checked(), 0u);
    DestroyMenu(menu);
}

// The program runs with UTF-8 as its code page, where every name is carried exactly; older
// Windows, with a Western code page, needs the refusal.
constexpr UINT kWestern = 1252;

TEST(PathText, ANameTheCodePageCannotCarryIsRefusedNotSwapped) {
    char out[16];
    std::memset(out, 0xBD, sizeof out);
    EXPECT_TRUE(NarrowPathExactly(L"caf\u00E9.aco", out, 9, kWestern));
    EXPECT_STREQ(out, "caf\xE9.aco");
    EXPECT_EQ(out[9], '\xBD');
    // Best fit would give "Omega.aco", another file.
    EXPECT_FALSE(NarrowPathExactly(L"\u03A9mega.aco", out, sizeof out, kWestern));
    EXPECT_FALSE(NarrowPathExactly(L"caf\u00E9.aco", out, 8, kWestern));  // no room for the NUL
    EXPECT_TRUE(NarrowPathExactly(L"\u03A9\u65E5.aco", out, sizeof out, CP_UTF8));
    // A narrow command line is the end of the wide one only if nothing was swapped on the way.
    const wchar_t* wide = L"\"C:\\tintwell.exe\" \u03A9mega.aco";
    EXPECT_FALSE(IsExactTail("Omega.aco", wide, kWestern));
}

}  // namespace
