#include <gtest/gtest.h>

#include "app/main_dialog.h"
#include "app/settings.h"
#include "app_fixture.h"
#include "res/resource.h"

namespace {

using Bytes = std::vector<BYTE>;

Bytes Position(LONG left, LONG top) {
    BYTE value[kPositionSize];
    RECT rect{left, top, 0, 0};
    EncodePosition(rect, value);
    return Bytes(value, value + kPositionSize);
}

TEST(SettingsEncoding, PositionsAreTopThenLeftBigEndianAndSigned) {
    EXPECT_EQ(Position(412, 332), (Bytes{0x00, 0x00, 0x01, 0x4C, 0x00, 0x00, 0x01, 0x9C}));
    EXPECT_EQ(Position(-20, 5), (Bytes{0x00, 0x00, 0x00, 0x05, 0xFF, 0xFF, 0xFF, 0xEC}));

    for (LONG coordinate : {0L, 1L, -1L, 65536L, -2147483647L - 1, 2147483647L}) {
        Bytes value = Position(coordinate, -coordinate / 2);
        RECT rect{};
        ASSERT_TRUE(DecodePosition(value.data(), kPositionSize, &rect));
        EXPECT_EQ(rect.left, coordinate);
        EXPECT_EQ(rect.top, -coordinate / 2);
    }
    // Trailing bytes are ignored; a short value is refused and leaves the rectangle alone.
    Bytes longer = Position(7, 9);
    longer.push_back(0x55);
    RECT rect{1, 2, 3, 4};
    EXPECT_TRUE(DecodePosition(longer.data(), 9, &rect));
    EXPECT_EQ(rect.left, 7);
    RECT untouched{1, 2, 3, 4};
    EXPECT_FALSE(DecodePosition(longer.data(), 7, &untouched));
    EXPECT_FALSE(DecodePosition(nullptr, 0, &untouched));
    EXPECT_EQ(untouched.left, 1);
    EXPECT_EQ(untouched.top, 2);
}

TEST(SettingsEncoding, DefaultsCentreTheNominalSizeTruncatingTowardZero) {
    struct Case {
        int screenWidth, screenHeight, width, height;
        LONG x, y;
    } cases[] = {
        {1024, 768, 200, 103, 412, 332},
        {1024, 768, 59, 94, 482, 337},
        {1025, 769, 200, 103, 412, 333},
        {150, 90, 200, 103, -25, -6},
        {0, 0, 59, 94, -29, -47},
    };
    for (const Case& c : cases) {
        POINT p = CentredPosition(c.screenWidth, c.screenHeight, c.width, c.height);
        EXPECT_EQ(p.x, c.x) << c.screenWidth << "x" << c.screenHeight;
        EXPECT_EQ(p.y, c.y) << c.screenWidth << "x" << c.screenHeight;
    }
}

class SettingsTest : public AppTest {
protected:
    POINT NormalDefault() const {
        return CentredPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), 200,
                               103);
    }
    POINT CompactDefault() const {
        return CentredPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), 59,
                               94);
    }
    void ExpectAt(const RECT& rect, POINT position) {
        EXPECT_EQ(rect.left, position.x);
        EXPECT_EQ(rect.top, position.y);
    }
};

TEST_F(SettingsTest, FirstRunCreatesTheKeyWithCompactAndCentredDefaults) {
    ASSERT_FALSE(ProgramKeyExists());
    LoadSettings();

    EXPECT_EQ(g_app.view, ViewMode::Compact);
    ExpectAt(g_app.normalRect, NormalDefault());
    ExpectAt(g_app.compactRect, CompactDefault());
    DWORD type = 0;
    EXPECT_EQ(ReadProgramValue("Options", &type), Bytes{0x00});
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(ReadProgramValue("LastNormalPos"), Position(NormalDefault().x, NormalDefault().y));
    EXPECT_EQ(ReadProgramValue("LastCompactPos"),
              Position(CompactDefault().x, CompactDefault().y));
}

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
        {"options 03", REG_BINARY, {0x03}, Position(-20, 5), REG_BINARY, Position(7, 8), false,
         ViewMode::Normal},
        {"options 02", REG_BINARY, {0x02}, Position(-20, 5), REG_BINARY, Position(7, 8), false,
         ViewMode::Compact},
        {"options REG_NONE", REG_NONE, {0x01}, Position(1, 2), REG_NONE, Position(3, 4), false,
         ViewMode::Normal},
        {"options a DWORD", REG_DWORD, {0, 0, 0, 0}, Position(1, 2), REG_BINARY, Position(3, 4),
         false, ViewMode::Normal},
        {"options empty", REG_BINARY, {}, Position(1, 2), REG_BINARY, Position(3, 4), true,
         ViewMode::Normal},
        {"compact position missing", REG_BINARY, {0x00}, Position(1, 2), REG_BINARY, {}, true,
         ViewMode::Normal},
        {"normal position short", REG_BINARY, {0x00}, Bytes{0, 0, 0, 1, 0, 0, 0}, REG_BINARY,
         Position(3, 4), true, ViewMode::Normal},
        {"compact position a string", REG_BINARY, {0x00}, Position(1, 2), REG_SZ,
         Bytes{'1', '2', '3', '4', '5', '6', '7', 0}, true, ViewMode::Normal},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramKeyGuard fresh;
        WriteProgramValue("Options", c.optionsType, c.options);
        if (!c.normalPos.empty()) {
            WriteProgramValue("LastNormalPos", REG_BINARY, c.normalPos);
        }
        if (!c.compactPos.empty()) {
            WriteProgramValue("LastCompactPos", c.compactType, c.compactPos);
        }
        g_app = AppState{};
        LoadSettings();
        EXPECT_EQ(g_app.view, c.view);
        if (c.fallback) {
            ExpectAt(g_app.normalRect, NormalDefault());
            ExpectAt(g_app.compactRect, CompactDefault());
        } else {
            RECT normal{}, compact{};
            DecodePosition(c.normalPos.data(), kPositionSize, &normal);
            DecodePosition(c.compactPos.data(), kPositionSize, &compact);
            ExpectAt(g_app.normalRect, {normal.left, normal.top});
            ExpectAt(g_app.compactRect, {compact.left, compact.top});
        }
        // Reading never rewrites what is stored.
        EXPECT_EQ(ReadProgramValue("Options"), c.options);
    }
}

TEST_F(SettingsTest, SaveMeasuresOnlyTheWindowOnScreenAndAlwaysEndsTheDialog) {
    LoadSettings();  // first run: the key exists now
    g_app.view = ViewMode::Compact;
    g_app.normalRect = RECT{-20, 5, 0, 0};
    HWND dialog = CreateDialogParamA(ProgramModule(), MAKEINTRESOURCEA(IDD_COMPACT), nullptr,
                                     MainDialog, 0);
    ASSERT_NE(dialog, nullptr);
    SetWindowPos(dialog, nullptr, 123, 45, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(dialog, SW_SHOWNA);

    EXPECT_TRUE(SaveSettings());
    EXPECT_EQ(ReadProgramValue("Options"), Bytes{0x00});
    EXPECT_EQ(ReadProgramValue("LastCompactPos"), Position(123, 45));
    EXPECT_EQ(ReadProgramValue("LastNormalPos"), Position(-20, 5));
    EXPECT_FALSE(IsWindowVisible(dialog));  // ended

    // Once the window is gone, a later save keeps the position it measured last.
    DestroyWindow(dialog);
    g_app.normalRect = RECT{9, 9, 0, 0};
    SaveSettings();
    EXPECT_EQ(ReadProgramValue("LastCompactPos"), Position(123, 45));
    EXPECT_EQ(ReadProgramValue("LastNormalPos"), Position(9, 9));
}

TEST_F(SettingsTest, SaveNeverCreatesTheKey) {
    g_app.view = ViewMode::Normal;
    HWND dialog = CreateDialogParamA(ProgramModule(), MAKEINTRESOURCEA(IDD_NORMAL), nullptr,
                                     MainDialog, 0);
    ASSERT_NE(dialog, nullptr);
    ShowWindow(dialog, SW_SHOWNA);
    RECT before = g_app.normalRect;
    SetWindowPos(dialog, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SaveSettings();
    EXPECT_FALSE(ProgramKeyExists());
    EXPECT_FALSE(IsWindowVisible(dialog));
    // The key could not be opened, so the window was not measured either.
    EXPECT_EQ(g_app.normalRect.left, before.left);
    DestroyWindow(dialog);
}

}  // namespace
