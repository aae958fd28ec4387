#include <gtest/gtest.h>

#include "app/main_dialog.h"
#include "app/settings.h"
#include "app_fixture.h"
#include "res/resource.h"

namespace {

Bytes Position(LONG left, LONG top) {
    BYTE value[kPositionSize];
    EncodePosition(RECT{left, top, 0, 0}, value);
    return Bytes(value, value + kPositionSize);
}

POINT DefaultFor(int width, int height) {
    return CentredPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), width,
                           height);
}

TEST(SettingsEncoding, PositionsAreTopThenLeftBigEndianAndSigned) {
    EXPECT_EQ(Position(412, 332), (Bytes{0x00, 0x00, 0x01, 0x4C, 0x00, 0x00, 0x01, 0x9C}));
    EXPECT_EQ(Position(-20, 5), (Bytes{0x00, 0x00, 0x00, 0x05, 0xFF, 0xFF, 0xFF, 0xEC}));
    for (LONG coordinate : {-1L, 65536L, -2147483647L - 1, 2147483647L}) {
        Bytes value = Position(coordinate, -coordinate / 2);
        RECT rect{};
        ASSERT_TRUE(DecodePosition(value.data(), kPositionSize, &rect));
        EXPECT_EQ(rect.left, coordinate);
        EXPECT_EQ(rect.top, -coordinate / 2);
    }
    // A short value is refused and leaves the rectangle alone.
    RECT untouched{1, 2, 3, 4};
    EXPECT_FALSE(DecodePosition(Position(7, 9).data(), 7, &untouched));
    EXPECT_EQ(untouched.left, 1);

    // Defaults centre the nominal size; the division truncates toward zero.
    EXPECT_EQ(CentredPosition(1024, 768, 200, 103).x, 412);
    EXPECT_EQ(CentredPosition(1024, 768, 59, 94).y, 337);
    EXPECT_EQ(CentredPosition(150, 90, 200, 103).x, -25);
    EXPECT_EQ(CentredPosition(150, 90, 200, 103).y, -6);
}

class SettingsTest : public AppTest {};

TEST_F(SettingsTest, StoredValuesAreReadAndUnreadableOnesFallBackToNormalDefaults) {
    struct Case {
        const char* what;
        DWORD optionsType;
        Bytes options;
        Bytes normalPos;  // empty: value missing
        DWORD compactType;
        Bytes compactPos;
        bool fallback;
        ViewMode view;
    } cases[] = {
        {"options 03",
         REG_BINARY,
         {0x03},
         Position(-20, 5),
         REG_BINARY,
         Position(7, 8),
         false,
         ViewMode::Normal},
        {"options 02",
         REG_NONE,
         {0x02},
         Position(-20, 5),
         REG_NONE,
         Position(7, 8),
         false,
         ViewMode::Compact},
        {"options a DWORD",
         REG_DWORD,
         {0, 0, 0, 0},
         Position(1, 2),
         REG_BINARY,
         Position(3, 4),
         false,
         ViewMode::Normal},
        {"options empty",
         REG_BINARY,
         {},
         Position(1, 2),
         REG_BINARY,
         Position(3, 4),
         true,
         ViewMode::Normal},
        {"compact position missing",
         REG_BINARY,
         {0x00},
         Position(1, 2),
         REG_BINARY,
         {},
         true,
         ViewMode::Normal},
        {"normal position short",
         REG_BINARY,
         {0x00},
         Bytes(7, 0),
         REG_BINARY,
         Position(3, 4),
         true,
         ViewMode::Normal},
        {"compact position a string",
         REG_BINARY,
         {0x00},
         Position(1, 2),
         REG_SZ,
         Bytes{'1', '2', '3', '4', '5', '6', '7', 0},
         true,
         ViewMode::Normal},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramKeyGuard fresh;
        WriteProgramValue("Options", c.optionsType, c.options);
        WriteProgramValue("LastNormalPos", REG_BINARY, c.normalPos);
        if (!c.compactPos.empty()) {
            WriteProgramValue("LastCompactPos", c.compactType, c.compactPos);
        }
        g_app = AppState{};
        LoadSettings();
        EXPECT_EQ(g_app.view, c.view);
        POINT normal = DefaultFor(200, 103), compact = DefaultFor(59, 94);
        if (!c.fallback) {
            RECT stored{};
            DecodePosition(c.normalPos.data(), kPositionSize, &stored);
            normal = {stored.left, stored.top};
            DecodePosition(c.compactPos.data(), kPositionSize, &stored);
            compact = {stored.left, stored.top};
        }
        EXPECT_EQ(g_app.normalRect.left, normal.x);
        EXPECT_EQ(g_app.normalRect.top, normal.y);
        EXPECT_EQ(g_app.compactRect.left, compact.x);
        EXPECT_EQ(g_app.compactRect.top, compact.y);
    }
}

TEST_F(SettingsTest, SaveMeasuresOnlyTheWindowOnScreenNeverCreatesTheKeyAndEndsTheDialog) {
    g_app.view = ViewMode::Compact;
    g_app.normalRect = RECT{-20, 5, 0, 0};
    HWND dialog =
        CreateDialogParamA(ProgramModule(), MAKEINTRESOURCEA(IDD_COMPACT), nullptr, MainDialog, 0);
    ASSERT_NE(dialog, nullptr);
    SetWindowPos(dialog, nullptr, 123, 45, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);

    // Without the key nothing is stored, and the window is not measured either.
    EXPECT_TRUE(SaveSettings());
    EXPECT_FALSE(ProgramKeyExists());
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_NE(g_app.compactRect.left, 123);

    WriteProgramValue("Options", REG_BINARY, {0x01});
    SaveSettings();
    EXPECT_EQ(ReadProgramValue("Options"), Bytes{0x00});
    EXPECT_EQ(ReadProgramValue("LastCompactPos"), Position(123, 45));
    EXPECT_EQ(ReadProgramValue("LastNormalPos"), Position(-20, 5));

    // Once the window is gone, a later save keeps the position it measured last.
    DestroyWindow(dialog);
    g_app.normalRect = RECT{9, 9, 0, 0};
    SaveSettings();
    EXPECT_EQ(ReadProgramValue("LastCompactPos"), Position(123, 45));
    EXPECT_EQ(ReadProgramValue("LastNormalPos"), Position(9, 9));
}

}  // namespace
