// What a user cannot see from outside: how the program copes without memory, and that every
// handle it owns is released once. Dialogs come from the real templates; a CBT hook answers each
// message box, and a timer gives each main dialog, once it is shown, the next command.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/colour/colour_brushes.h"
#include "app/views/main_dialog.h"
#include "res/resource.h"

// While set, allocations of this size made with new (std::nothrow) fail: the program's answer
// to a table or tray record it cannot make runs through the real code.
static std::size_t failingNothrowSize = 0;

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return size == failingNothrowSize ? nullptr : std::malloc(size == 0 ? 1 : size);
}

namespace {

struct Shown {  // a main dialog as it was when first shown
    HWND dialog;
    HMENU menu;
    bool tray;
};
std::vector<int> commands;       // the command each main dialog gets, in turn
std::vector<Shown> shown;        // one per command given
std::vector<std::string> boxes;  // "caption: text" of each message box, answered with OK

std::string TextOf(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// Answers a message box with OK.
LRESULT CALLBACK OnActivate(int code, WPARAM wParam, LPARAM lParam) {
    auto window = reinterpret_cast<HWND>(wParam);
    HWND text = window != nullptr ? GetDlgItem(window, 0xFFFF) : nullptr;  // a message box's text
    if (code == HCBT_ACTIVATE && text != nullptr) {
        boxes.push_back(TextOf(window) + ": " + TextOf(text));
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

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
        boxes.clear();
        hook = SetWindowsHookExA(WH_CBT, OnActivate, nullptr, GetCurrentThreadId());
    }
    void TearDown() override {
        UnhookWindowsHookEx(hook);
        g_app = AppState{};
    }
    // Opens the dialog of `view` as the program does, and after each switch the next one; each
    // main dialog gets the next command.
    INT_PTR Run(ViewMode view, std::vector<int> script) {
        commands = std::move(script);
        g_app.view = view;
        UINT_PTR timer = SetTimer(nullptr, 0, 10, Tick);
        INT_PTR result = RunViews();
        KillTimer(nullptr, timer);
        return result;
    }
    HHOOK hook = nullptr;
};

TEST_F(AppTest, WithoutMemoryTheProgramStopsOrRunsWithoutTheTrayIcon) {
    failingNothrowSize = sizeof(SwatchTable);
    EXPECT_EQ(RunApplication(""), -1);
    EXPECT_EQ(boxes, std::vector<std::string>{
                         "Tintwell Error: Tintwell could not start: not enough free memory."});

    g_app.swatchTable.reset(new SwatchTable);
    failingNothrowSize = sizeof(TrayIcon);
    EXPECT_EQ(Run(ViewMode::Compact, {IDM_EXIT}), 0);
    failingNothrowSize = 0;
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_FALSE(shown[0].tray);
}

TEST_F(AppTest, ExitAfterSwitchingViewsReleasesEverythingOnce) {
    BYTE mask[32 * 4];
    std::fill(std::begin(mask), std::end(mask), 0xFF);
    g_app.smallIcon.reset(CreateIcon(nullptr, 16, 16, 1, 1, mask, mask));
    HICON smallIcon = g_app.smallIcon.get();
    // Each switch ends its dialog; the next one opens once it is gone.
    EXPECT_EQ(Run(ViewMode::Normal, {IDM_SWITCH_VIEW, IDM_SWITCH_VIEW, IDM_EXIT}), 0);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_TRUE(shown[1].tray);
    EXPECT_FALSE(shown[2].tray);
    for (const Shown& s : shown) {
        EXPECT_FALSE(IsWindow(s.dialog));
        EXPECT_FALSE(IsMenu(s.menu));  // the Compact view's copy went with the switch back
    }
    ICONINFO info{};
    EXPECT_FALSE(GetIconInfo(smallIcon, &info));
    EXPECT_FALSE(g_app.swatchTable);
    EXPECT_FALSE(g_app.trayIcon);
    EXPECT_FALSE(g_app.menu);
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

TEST_F(AppTest, EachColouredStaticKeepsOneBrushUntilTheDialogGoes) {
    HWND dialog =
        CreateDialogParamA(ProgramModule(), MAKEINTRESOURCEA(IDD_NORMAL), nullptr, MainDialog, 0);
    ASSERT_NE(dialog, nullptr);
    ShowWindow(dialog, SW_SHOW);
    const Controls& c = g_app.controls;
    HBRUSH sample = BrushFor(c.userSample);
    HBRUSH chip = BrushFor(c.userRedChip);
    SetWindowTextA(c.userHex, "102030");
    EXPECT_NE(BrushFor(c.userSample), sample);
    EXPECT_EQ(GetObjectType(sample), 0u);
    EXPECT_EQ(BrushFor(c.matchRedChip), chip);
    for (int i = 0; i < 40; ++i) {
        char text[8];
        wsprintfA(text, "%.2X%.2X%.2X", i * 6, 255 - i, i);
        SetWindowTextA(c.userHex, text);
        RedrawWindow(dialog, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    auto* brushes = reinterpret_cast<ColourBrushes*>(GetWindowLongPtrA(dialog, DWLP_USER));
    ASSERT_NE(brushes, nullptr);
    EXPECT_EQ(brushes->LiveCount(), 5);
    HBRUSH last = BrushFor(c.userSample);
    DestroyWindow(dialog);
    EXPECT_EQ(GetObjectType(last), 0u);  // the dialog's brushes went with it
}

}  // namespace
