#include <gtest/gtest.h>

#include "app/colour_brushes.h"
#include "app/colour_display.h"
#include "app/colour_entry.h"
#include "app_fixture.h"
#include "ui_script.h"

namespace {

TEST(HexColourText, ParsesLikeScanfAndFormatsRedFirst) {
    struct Case {
        const char* text;
        bool parses;
        COLORREF colour;
    } cases[] = {
        {"ff8000", true, RGB(0xFF, 0x80, 0x00)},
        {"123456", true, RGB(0x12, 0x34, 0x56)},
        // White space before a field is skipped, so the blank ends nothing.
        {"12 345", true, RGB(0x12, 0x34, 0x05)},
        {"GG0000", false, 0},
        {"12GG00", false, 0},
    };
    for (const Case& c : cases) {
        COLORREF colour = 0;
        EXPECT_EQ(ParseHexColour(c.text, &colour), c.parses) << c.text;
        EXPECT_EQ(colour, c.colour) << c.text;
    }
    char text[8];
    FormatHexColour(RGB(0x01, 0x80, 0xB0), text);
    EXPECT_STREQ(text, "0180B0");
    // The no-colour value shows as white: bits 24-31 never reach the text.
    FormatHexColour(0xFFFFFFFF, text);
    EXPECT_STREQ(text, "FFFFFF");
}

// What the dialog hands the system to paint a static's background.
HBRUSH BrushFor(HWND control) {
    HDC dc = GetDC(control);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageA(g_app.mainWindow, WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(control)));
    ReleaseDC(control, dc);
    return brush;
}

class ColourDisplayTest : public AppTest {};

TEST_F(ColourDisplayTest, SamplesKeepOneBrushEachAndNoMatchShowsTheDialogBackground) {
    // No file loaded: every search finds nothing.
    UiScript script;
    COLORREF noMatchPixel = 0;
    bool sampleBrushReplaced = false, chipBrushKept = false;
    int liveBrushes = -1;
    HBRUSH lastBrush = nullptr;
    script.Then([&] {
        const Controls& c = g_app.controls;
        SetWindowTextA(c.userHex, "336699");
        UpdateWindow(g_app.mainWindow);
        HDC dc = GetDC(c.matchSample);
        noMatchPixel = GetPixel(dc, 3, 3);
        ReleaseDC(c.matchSample, dc);

        HBRUSH sampleBefore = BrushFor(c.userSample);
        HBRUSH chipBefore = BrushFor(c.userRedChip);
        SetWindowTextA(c.userHex, "102030");
        sampleBrushReplaced =
            BrushFor(c.userSample) != sampleBefore && GetObjectType(sampleBefore) == 0;
        chipBrushKept = BrushFor(c.matchRedChip) == chipBefore;
        for (int i = 0; i < 40; ++i) {
            char text[8];
            FormatHexColour(RGB(i * 6, 255 - i, i), text);
            SetWindowTextA(c.userHex, text);
            RedrawWindow(g_app.mainWindow, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        }
        auto* brushes =
            reinterpret_cast<ColourBrushes*>(GetWindowLongPtrA(g_app.mainWindow, DWLP_USER));
        liveBrushes = brushes != nullptr ? brushes->LiveCount() : -1;
        lastBrush = BrushFor(c.userSample);
        SendMessageA(g_app.mainWindow, WM_CLOSE, 0, 0);
    });
    RunDialog(ViewMode::Normal, script);
    ASSERT_TRUE(script.Finished());

    EXPECT_EQ(g_app.matchedColour, 0xFFFFFFFFu);
    EXPECT_EQ(noMatchPixel, GetSysColor(COLOR_BTNFACE));
    EXPECT_TRUE(sampleBrushReplaced);
    EXPECT_TRUE(chipBrushKept);
    EXPECT_EQ(liveBrushes, 5);
    EXPECT_EQ(GetObjectType(lastBrush), 0u);  // the dialog's brushes went with it
}

}  // namespace
