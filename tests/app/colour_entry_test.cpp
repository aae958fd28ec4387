#include <gtest/gtest.h>

#include "app/colour_brushes.h"
#include "app/colour_display.h"
#include "app/colour_entry.h"
#include "app/main_dialog.h"
#include "app_fixture.h"
#include "res/resource.h"
#include "ui_script.h"

namespace {

TEST(HexColourText, ParsesLikeScanfAndFormatsRedFirst) {
    struct Case {
        const char* text;
        bool parses;
        COLORREF colour;
    } cases[] = {
        {"ff8000", true, RGB(0xFF, 0x80, 0x00)},
        {"FF8000", true, RGB(0xFF, 0x80, 0x00)},
        {"000000", true, RGB(0, 0, 0)},
        {"123456", true, RGB(0x12, 0x34, 0x56)},
        // White space before a field is skipped, so the blank ends nothing.
        {"12 345", true, RGB(0x12, 0x34, 0x05)},
        {"GG0000", false, 0},
        {"12GG00", false, 0},
        {"1234GG", false, 0},
    };
    for (const Case& c : cases) {
        COLORREF colour = 0xDEADBEEF;
        EXPECT_EQ(ParseHexColour(c.text, &colour), c.parses) << c.text;
        if (c.parses) {
            EXPECT_EQ(colour, c.colour) << c.text;
        }
    }

    char text[8];
    FormatHexColour(RGB(0xFF, 0x80, 0x00), text);
    EXPECT_STREQ(text, "FF8000");
    FormatHexColour(RGB(0x01, 0x0A, 0xB0), text);
    EXPECT_STREQ(text, "010AB0");
    // The no-colour value shows as white: bits 24-31 never reach the text.
    FormatHexColour(0xFFFFFFFF, text);
    EXPECT_STREQ(text, "FFFFFF");
}

class ColourEntryTest : public AppTest {
  protected:
    void Type(const char* text) { SetWindowTextA(g_app.controls.userHex, text); }
    // What the dialog hands the system to paint a static's background.
    HBRUSH BrushFor(HWND control) {
        HDC dc = GetDC(control);
        auto brush = reinterpret_cast<HBRUSH>(SendMessageA(g_app.mainWindow, WM_CTLCOLORSTATIC,
                                                           reinterpret_cast<WPARAM>(dc),
                                                           reinterpret_cast<LPARAM>(control)));
        ReleaseDC(control, dc);
        return brush;
    }
};

TEST_F(ColourEntryTest, TypingSixDigitsShowsTheColourAndItsClosestMatch) {
    LoadSwatchFile(WriteSwatchFile({RGB(10, 10, 10), RGB(250, 120, 10), RGB(0, 0, 255)}));
    MessageBoxAnswerer boxes;
    UiScript script;
    std::vector<std::string> afterFive, afterSix, afterBad, afterDelete;
    script.Then([&] {
        Type("ff80");
        Type("ff800");  // five characters: still typing
        afterFive = ShownUserColour();
        Type("ff8000");
        afterSix = ShownUserColour();
        EXPECT_EQ(ShownMatchedColour(), (std::vector<std::string>{"250", "120", "10", "FA780A"}));
        Type("FF800");  // a digit deleted: nothing changes
        afterDelete = ShownUserColour();
        Type("GG0000");
        afterBad = ShownUserColour();
        SendMessageA(g_app.mainWindow, WM_COMMAND, IDM_EXIT, 0);
    });
    script.Start();
    g_app.view = ViewMode::Compact;
    DialogBoxParamA(ProgramModule(), MAKEINTRESOURCEA(IDD_COMPACT), nullptr, MainDialog, 0);
    ASSERT_TRUE(script.Finished());

    EXPECT_EQ(afterFive, (std::vector<std::string>{"0", "0", "0", "ff800"}));
    EXPECT_EQ(afterSix, (std::vector<std::string>{"255", "128", "0", "FF8000"}));
    EXPECT_EQ(afterDelete, (std::vector<std::string>{"255", "128", "0", "FF800"}));
    EXPECT_EQ(afterBad[0], "255");
    EXPECT_EQ(g_app.userColour, RGB(255, 128, 0));
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].caption, "Tintwell Error");
    EXPECT_EQ(boxes.Seen()[0].text,
              "Please enter a valid hexadecimal number or click\n"
              "Colours to choose one from the whole spectrum.");
    EXPECT_TRUE(boxes.Seen()[0].errorIcon);
}

TEST_F(ColourEntryTest, NoMatchShowsWhiteTextsOnTheDialogBackground) {
    // No file loaded: every search finds nothing.
    UiScript script;
    COLORREF samplePixel = 0;
    int liveBrushes = -1;
    bool sampleReplaced = false;
    bool chipKept = false;
    HBRUSH lastBrush = nullptr;
    script.Then([&] {
        Type("336699");
        EXPECT_EQ(ShownMatchedColour(), (std::vector<std::string>{"255", "255", "255", "FFFFFF"}));
        UpdateWindow(g_app.mainWindow);
        PumpMessages();
        HDC dc = GetDC(g_app.controls.matchSample);
        samplePixel = GetPixel(dc, 3, 3);
        ReleaseDC(g_app.controls.matchSample, dc);
        // A new colour replaces the sample's brush, and the old one is deleted; a chip keeps
        // its brush.
        HBRUSH sampleBefore = BrushFor(g_app.controls.userSample);
        HBRUSH chipBefore = BrushFor(g_app.controls.userRedChip);
        Type("102030");
        sampleReplaced =
            BrushFor(g_app.controls.userSample) != sampleBefore && GetObjectType(sampleBefore) == 0;
        chipKept = BrushFor(g_app.controls.matchRedChip) == chipBefore;
        // Many colours and repaints: the dialog still holds one brush per coloured slot at most.
        for (int i = 0; i < 40; ++i) {
            char text[8];
            FormatHexColour(RGB(i * 6, 255 - i, i), text);
            Type(text);
            RedrawWindow(g_app.mainWindow, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        }
        auto* brushes =
            reinterpret_cast<ColourBrushes*>(GetWindowLongPtrA(g_app.mainWindow, DWLP_USER));
        liveBrushes = brushes != nullptr ? brushes->LiveCount() : -1;
        lastBrush = BrushFor(g_app.controls.userSample);
        SendMessageA(g_app.mainWindow, WM_CLOSE, 0, 0);
    });
    script.Start();
    g_app.view = ViewMode::Normal;
    DialogBoxParamA(ProgramModule(), MAKEINTRESOURCEA(IDD_NORMAL), nullptr, MainDialog, 0);
    ASSERT_TRUE(script.Finished());

    EXPECT_EQ(g_app.matchedColour, 0xFFFFFFFFu);
    EXPECT_EQ(samplePixel, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(liveBrushes, 5);
    EXPECT_TRUE(sampleReplaced);
    EXPECT_TRUE(chipKept);
    // The dialog's brushes went with it.
    EXPECT_EQ(GetObjectType(lastBrush), 0u);
}

}  // namespace
