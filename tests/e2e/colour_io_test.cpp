// Colours in and out of Tintwell, from outside: picks from the screen over windows of known
// colours, paste into the hex edit, copy from the samples' menu, and files dropped on the dialog.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "res/resource.h"
#include "user_session.h"

namespace {

const std::string kNone = "255 255 255 FFFFFF", kBlueGrey = "48 96 144 306090",
                  kBlueGreyMatch = "51 102 153 336699", kOrange = "240 112 16 F07010",
                  kOrangeMatch = "250 120 10 FA780A";

TEST(Tintwell, TakesAndGivesColours) {
    const std::string web =
        WriteSwatchFile("tintwell-io.aco", {{0, 0x33, 0x66, 0x99}, {0, 0xFA, 0x78, 0x0A}}).string();
    ColourPatch blueGrey(RGB(0x30, 0x60, 0x90), {600, 600});
    ColourPatch orange(RGB(0xF0, 0x70, 0x10), {700, 600});
    ASSERT_TRUE(blueGrey.shown && orange.shown);
    // clang-format off
    ASSERT_TRUE(Store(std::nullopt));
    EXPECT_EQ(RunSession(ProgramPath(), "", {
        Main(Compact),
        // Ends over the test's window: the colour stays, nothing matches, no box.
        Drag({blueGrey.middle}), Shows(kBlueGrey, kNone), EndPick(WM_LBUTTONUP), Shows(kBlueGrey, kNone),
        Copy(IDC_MATCH_SAMPLE, 'r', ""), Copy(IDC_USER_SAMPLE, 'r', "306090"),
        Drop(web), Type("f07010"), Shows(kOrange, kOrangeMatch), Close(), Exit()}), "") << "Compact";
    ASSERT_TRUE(Store(Settings{0x01, {100, 60}, {700, 500}}));
    EXPECT_EQ(RunSession(ProgramPath(), web, {
        Main(Normal), Path(web),
        Drag({blueGrey.middle, orange.middle}), Shows(kOrange, kOrangeMatch), EndPick(WM_LBUTTONUP),
        // Escape and the right button put back the colours from before the pick.
        Drag({blueGrey.middle}), Shows(kBlueGrey, kBlueGreyMatch), EndPick(WM_KEYDOWN),
        Shows(kOrange, kOrangeMatch),
        Drag({blueGrey.middle}), Shows(kBlueGrey, kBlueGreyMatch), EndPick(WM_RBUTTONDOWN),
        Shows(kOrange, kOrangeMatch),
        Paste("#306090\r\n"), Shows(kBlueGrey, kBlueGreyMatch),
        Paste(" \t0XF07010 "), Shows(kOrange, kOrangeMatch),
        Paste("4a90d9"), Shows("74 144 217 4A90D9", kBlueGreyMatch),
        Copy(IDC_USER_SAMPLE, 'r', "4A90D9"), Copy(IDC_USER_SAMPLE, '#', "#4A90D9"),
        Copy(IDC_USER_SAMPLE, 'd', "74, 144, 217"), Copy(IDC_MATCH_SAMPLE, 'd', "51, 102, 153"),
        // Not a colour: pasted as before, cut at six characters, refused as typing is.
        Paste("#12GG00"),
        Box("Tintwell Error", "Please enter a valid hexadecimal number or click\n"
                              "Colours to choose one from the whole spectrum."),
        Shows("74 144 217 #12GG0", kBlueGreyMatch),
        Drop(std::string(600, 'a') + ".aco"),
        Box("Tintwell", "Tintwell failed to load the file.\nThe file could not be opened. "
                        "Check the path and that you may read the file."),
        Path(web), Close(), Exit()}), "") << "Normal";
    // clang-format on
    std::filesystem::remove(web);
}

}  // namespace
