#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

#include "app/application.h"
#include "app/main_dialog.h"
#include "app/tray_icon.h"
#include "app_fixture.h"
#include "res/resource.h"
#include "ui_script.h"

// While set, allocations of this size made with new (std::nothrow) fail: the program's answer
// to a table or tray record it cannot make runs through the real code.
static std::size_t failingNothrowSize = 0;

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return size == failingNothrowSize ? nullptr : std::malloc(size == 0 ? 1 : size);
}

namespace {

TEST(CommandLine, TakesOnePathAndDropsOnlyAnEnclosingPairOfQuotes) {
    const std::string cases[][2] = {
        {"C:\\swatches\\web.aco", "C:\\swatches\\web.aco"},
        {"\"C:\\my swatches\\web.aco\"", "C:\\my swatches\\web.aco"},
        {"\"a.aco\" \"b.aco\"", "\"a.aco\" \"b.aco\""},
        {"\"unclosed.aco", "\"unclosed.aco"},
        {"\"", "\""},
        {std::string(600, 'x'), std::string(511, 'x')},
        {"\"" + std::string(600, 'y') + "\"", std::string(511, 'y')},
    };
    for (const auto& c : cases) {
        TakeCommandLine(c[0].c_str());
        EXPECT_EQ(std::string(g_app.swatchPath), c[1]) << c[0];
    }
}

class LifecycleTest : public AppTest {};

TEST_F(LifecycleTest, ExitAfterSwitchingViewsReleasesEverythingOnce) {
    BYTE mask[32 * 4];
    std::fill(std::begin(mask), std::end(mask), 0xFF);
    g_app.smallIcon.reset(CreateIcon(nullptr, 16, 16, 1, 1, mask, mask));
    HICON smallIcon = g_app.smallIcon.get();
    HWND dialogs[3] = {};
    HMENU compactMenu = nullptr, lastMenu = nullptr;
    bool trayWhileCompact = false, trayAfterSwitchBack = true;

    UiScript script;
    // Each switch ends this dialog; the next step runs in the dialog opened after it.
    script.Then([&] {
        dialogs[0] = g_app.mainWindow;
        SendMessageA(g_app.mainWindow, WM_COMMAND, IDM_SWITCH_VIEW, 0);
    });
    script.Then([&] {
        dialogs[1] = g_app.mainWindow;
        compactMenu = g_app.menu.get();
        trayWhileCompact = g_app.trayIcon && g_app.trayIcon->IsAdded();
        SendMessageA(g_app.mainWindow, WM_COMMAND, IDM_SWITCH_VIEW, 0);
    });
    script.Then([&] {
        dialogs[2] = g_app.mainWindow;
        trayAfterSwitchBack = static_cast<bool>(g_app.trayIcon);
        lastMenu = g_app.menu.get();
        SendMessageA(g_app.mainWindow, WM_COMMAND, IDM_EXIT, 0);
    });
    EXPECT_EQ(RunDialog(ViewMode::Normal, script), 0);
    ASSERT_TRUE(script.Finished());

    EXPECT_TRUE(trayWhileCompact);
    EXPECT_FALSE(trayAfterSwitchBack);
    for (HWND dialog : dialogs) {
        EXPECT_FALSE(IsWindow(dialog));
    }
    // The Compact view's menu went with the switch back, the last menu bar with the exit.
    EXPECT_FALSE(IsMenu(compactMenu));
    EXPECT_FALSE(IsMenu(lastMenu));
    ICONINFO info{};
    EXPECT_FALSE(GetIconInfo(smallIcon, &info));
    EXPECT_FALSE(g_app.swatchTable);
    EXPECT_FALSE(g_app.trayIcon);
    EXPECT_FALSE(g_app.menu);
}

TEST_F(LifecycleTest, TrayIconIsKnownToTheShellFromAddUntilRemove) {
    HWND window =
        CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    TrayIcon icon(window, WM_TRAYNOTIFY, 0, nullptr, "Tintwell");
    EXPECT_FALSE(icon.Remove());  // never added: no request
    icon.Add();
    // The shell accepts a change to an icon it knows, and only then.
    NOTIFYICONDATAA probe = icon.Data();
    EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &probe));
    EXPECT_TRUE(icon.Remove());
    EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &probe));
    DestroyWindow(window);
}

TEST_F(LifecycleTest, WithoutMemoryTheProgramStopsOrRunsWithoutTheTrayIcon) {
    {
        MessageBoxAnswerer boxes;
        failingNothrowSize = sizeof(SwatchTable);
        int exitCode = RunApplication("");
        failingNothrowSize = 0;
        EXPECT_EQ(exitCode, -1);
        EXPECT_EQ(boxes.seen,
                  std::vector<std::string>{
                      "Tintwell Error: Tintwell could not start: not enough free memory."});
        EXPECT_FALSE(ProgramKeyExists());  // stopped before the settings were touched
    }
    g_app.swatchTable.reset(new SwatchTable);
    bool shownWithoutTray = false;
    UiScript script;
    script.Then([&] {
        shownWithoutTray = !g_app.trayIcon;
        SendMessageA(g_app.mainWindow, WM_COMMAND, IDM_EXIT, 0);
    });
    failingNothrowSize = sizeof(TrayIcon);
    RunDialog(ViewMode::Compact, script);
    failingNothrowSize = 0;
    ASSERT_TRUE(script.Finished());
    EXPECT_TRUE(shownWithoutTray);
}

}  // namespace
