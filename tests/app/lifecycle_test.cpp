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

// Allocations of one size made with new (std::nothrow) fail while this is set: the program's
// answer to a table or tray record it cannot make is tested with the real code path.
static std::size_t failingNothrowSize = 0;

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (size == failingNothrowSize) {
        return nullptr;
    }
    return std::malloc(size == 0 ? 1 : size);
}

namespace {

std::string MenuText(HMENU menu, UINT id) {
    char text[64] = {};
    GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND);
    return text;
}

HICON MakeIcon() {
    BYTE andMask[32 * 4];
    BYTE xorMask[32 * 4] = {};
    std::fill(std::begin(andMask), std::end(andMask), 0xFF);
    return CreateIcon(nullptr, 16, 16, 1, 1, andMask, xorMask);
}

bool IconAlive(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) {
        return false;
    }
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return true;
}

TEST(CommandLine, TakesOnePathAndDropsOnlyAnEnclosingPairOfQuotes) {
    struct Case {
        std::string commandLine;
        std::string path;
    } cases[] = {
        {"", ""},
        {"C:\\swatches\\web.aco", "C:\\swatches\\web.aco"},
        {"\"C:\\my swatches\\web.aco\"", "C:\\my swatches\\web.aco"},
        {"\"a.aco\" \"b.aco\"", "\"a.aco\" \"b.aco\""},
        {"\"unclosed.aco", "\"unclosed.aco"},
        {"\"", "\""},
        {std::string(600, 'x'), std::string(511, 'x')},
        {"\"" + std::string(600, 'y') + "\"", std::string(511, 'y')},
    };
    for (const Case& c : cases) {
        g_app = AppState{};
        TakeCommandLine(c.commandLine.c_str());
        EXPECT_EQ(std::string(g_app.swatchPath), c.path) << c.commandLine;
    }
}

class LifecycleTest : public AppTest {};

TEST_F(LifecycleTest, SwitchingViewsCarriesStateAndExitReleasesEverythingOnce) {
    LoadSwatchFile(WriteSwatchFile({RGB(0x33, 0x66, 0x99), RGB(0xCC, 0, 0)}));
    g_app.smallIcon.reset(MakeIcon());
    HICON smallIcon = g_app.smallIcon.get();
    g_app.view = ViewMode::Normal;

    HWND dialogs[3] = {};
    HMENU compactMenu = nullptr;
    HMENU lastMenu = nullptr;
    std::string normalLabel, compactLabel;
    bool trayWhileCompact = false;
    bool trayAfterSwitchBack = true;
    std::vector<std::string> shownInCompact, shownInLastNormal;
    bool firstHidden = false;

    UiScript script;
    script.Then([&] {
        dialogs[0] = g_app.mainWindow;
        normalLabel = MenuText(g_app.menu.get(), IDM_SWITCH_VIEW);
        SetWindowTextA(g_app.controls.userHex, "3366AA");
        // Opens the Compact dialog; the steps below run inside its loop.
        SendMessageA(g_app.mainWindow, WM_COMMAND, IDM_SWITCH_VIEW, 0);
    });
    script.Then([&] {
        dialogs[1] = g_app.mainWindow;
        firstHidden = !IsWindowVisible(dialogs[0]);
        compactMenu = g_app.menu.get();
        compactLabel = MenuText(GetSubMenu(compactMenu, 0), IDM_SWITCH_VIEW);
        trayWhileCompact = g_app.trayIcon && g_app.trayIcon->IsAdded();
        shownInCompact = ShownMatchedColour();
        SendMessageA(g_app.mainWindow, WM_COMMAND, IDM_SWITCH_VIEW, 0);
    });
    script.Then([&] {
        dialogs[2] = g_app.mainWindow;
        trayAfterSwitchBack = static_cast<bool>(g_app.trayIcon);
        shownInLastNormal = ShownUserColour();
        lastMenu = g_app.menu.get();
        SendMessageA(g_app.mainWindow, WM_COMMAND, IDM_EXIT, 0);
    });
    script.Start();
    INT_PTR result =
        DialogBoxParamA(ProgramModule(), MAKEINTRESOURCEA(IDD_NORMAL), nullptr, MainDialog, 0);
    ASSERT_TRUE(script.Finished());

    EXPECT_EQ(result, 0);
    EXPECT_EQ(normalLabel, "Compact &View");
    EXPECT_EQ(compactLabel, "Normal &View");
    EXPECT_TRUE(firstHidden);
    EXPECT_TRUE(trayWhileCompact);
    EXPECT_FALSE(trayAfterSwitchBack);
    EXPECT_EQ(shownInCompact, (std::vector<std::string>{"51", "102", "153", "336699"}));
    EXPECT_EQ(shownInLastNormal, (std::vector<std::string>{"51", "102", "170", "3366AA"}));
    for (HWND dialog : dialogs) {
        EXPECT_FALSE(IsWindow(dialog));
    }
    // The Compact view's menu copy went with the switch back, the last menu bar with the exit.
    EXPECT_FALSE(IsMenu(compactMenu));
    EXPECT_FALSE(IsMenu(lastMenu));
    EXPECT_FALSE(IconAlive(smallIcon));
    EXPECT_FALSE(g_app.swatchTable);
    EXPECT_FALSE(g_app.trayIcon);
    EXPECT_FALSE(g_app.menu);
    EXPECT_EQ(g_app.view, ViewMode::Normal);
}

TEST_F(LifecycleTest, SwitchToTheCurrentViewDoesNothing) {
    g_app.view = ViewMode::Compact;
    EXPECT_EQ(SwitchView(ViewMode::Compact), 0);
    EXPECT_EQ(g_app.view, ViewMode::Compact);
}

TEST_F(LifecycleTest, ClosingTheMainDialogEndsTheAboutBoxToo) {
    g_app.view = ViewMode::Compact;
    HWND about = nullptr;
    std::string terms;
    bool mainUsable = false;
    UiScript script;
    script.Then([&] { SendMessageA(g_app.mainWindow, WM_COMMAND, IDM_ABOUT, 0); });
    script.Then([&] {
        about = g_app.aboutWindow;
        terms = WindowText(GetDlgItem(about, IDC_ABOUT_TERMS));
        mainUsable = IsWindowEnabled(g_app.mainWindow);
        // Escape and Enter arrive as IDCANCEL and IDOK, which leave both dialogs open.
        SendMessageA(about, WM_COMMAND, IDCANCEL, 0);
        SendMessageA(g_app.mainWindow, WM_COMMAND, IDOK, 0);
        SendMessageA(g_app.mainWindow, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(IsWindowVisible(about));
        EXPECT_TRUE(IsWindowVisible(g_app.mainWindow));
        SendMessageA(g_app.mainWindow, WM_CLOSE, 0, 0);
    });
    script.Start();
    DialogBoxParamA(ProgramModule(), MAKEINTRESOURCEA(IDD_COMPACT), nullptr, MainDialog, 0);
    ASSERT_TRUE(script.Finished());

    EXPECT_NE(about, nullptr);
    EXPECT_TRUE(mainUsable);
    EXPECT_FALSE(IsWindow(about));
    EXPECT_EQ(g_app.aboutWindow, nullptr);
    // Three paragraphs separated by empty lines, as a multi-line edit needs them.
    EXPECT_EQ(terms.find("\r\n\r\n") != std::string::npos &&
                  terms.find("\r\n\r\n", terms.find("\r\n\r\n") + 4) != std::string::npos,
              true);
}

TEST_F(LifecycleTest, TrayIconIsKnownToTheShellFromAddUntilRemove) {
    HWND window = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                                nullptr);
    TrayIcon icon(window, WM_TRAYNOTIFY, 0, nullptr, "Tintwell");
    EXPECT_EQ(icon.Data().cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
    EXPECT_EQ(icon.Data().uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_FALSE(icon.Remove());  // never added: no request
    icon.Add();
    EXPECT_TRUE(icon.IsAdded());
    // The shell knows the icon: a modify request for it is accepted.
    NOTIFYICONDATAA probe = icon.Data();
    EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &probe));
    EXPECT_TRUE(icon.Remove());
    EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &probe));
    EXPECT_FALSE(icon.Remove());
    DestroyWindow(window);

    TrayIcon untipped(window, WM_TRAYNOTIFY, 0, nullptr, nullptr);
    EXPECT_EQ(untipped.Data().uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON));
}

TEST_F(LifecycleTest, WithoutMemoryForTheTableTheProgramStopsWithAMessage) {
    g_app = AppState{};
    MessageBoxAnswerer boxes;
    failingNothrowSize = sizeof(SwatchTable);
    int exitCode = RunApplication("");
    failingNothrowSize = 0;
    EXPECT_EQ(exitCode, -1);
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].caption, "Tintwell Error");
    EXPECT_FALSE(ProgramKeyExists());  // stopped before the settings were touched
}

TEST_F(LifecycleTest, WithoutMemoryForTheTrayRecordTheCompactViewRunsWithoutIt) {
    g_app.view = ViewMode::Compact;
    bool dialogShown = false;
    UiScript script;
    script.Then([&] {
        dialogShown = IsWindowVisible(g_app.mainWindow);
        EXPECT_FALSE(g_app.trayIcon);
        SendMessageA(g_app.mainWindow, WM_COMMAND, IDM_EXIT, 0);
    });
    script.Start();
    failingNothrowSize = sizeof(TrayIcon);
    DialogBoxParamA(ProgramModule(), MAKEINTRESOURCEA(IDD_COMPACT), nullptr, MainDialog, 0);
    failingNothrowSize = 0;
    ASSERT_TRUE(script.Finished());
    EXPECT_TRUE(dialogShown);
}

}  // namespace
