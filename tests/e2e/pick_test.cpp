// Picks from the screen with the magnifier, the keyboard, the command and the hotkey, and the
// recent colours they leave, on windows of the test's own in known colours.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "res/resource.h"
#include "user_session.h"

namespace {

const std::string kBlueGreyShown = "48 96 144 306090";
const std::string kBlueGreyMatch = "51 102 153 336699";
const std::string kGreenShown = "32 160 64 20A040";
const std::string kGreenMatch = "51 102 153 336699";
const std::string kBlack = "0 0 0 000000";
const Settings kBelowPatches = {0x01, {100, 300}, {700, 500}};  // Normal, under the patches

struct Patches {
    // Side by side: the green one ends where the blue-grey one begins, at x = 800.
    ColourPatch green{RGB(0x20, 0xA0, 0x40), {720, 100}};
    ColourPatch blueGrey{RGB(0x30, 0x60, 0x90), {800, 100}};
};

std::string WebFile() {
    return (WriteSwatchFile("tintwell-pick\\web.aco",
                            {{0, 250, 120, 10}, {0, 51, 102, 153}, {0, 0, 0, 255}})
                .string());
}

TEST(ScreenPick, ShowsTheMagnifierStartsByCommandOrHotkeyAndEndsHoweverItEnds) {
    Patches p;
    ASSERT_TRUE(p.green.shown && p.blueGrey.shown);
    const POINT edge = {800, 140};  // blue-grey, green to its left
    ASSERT_TRUE(Store(kBelowPatches));
    // clang-format off
    EXPECT_EQ(RunSession(WebFile(), {
        Main(Normal), Type("000000"), Shows(kBlack, "0 0 255 0000FF"),
        // A drag: released, Escape, the right button, the capture lost, a view switch.
        Drag({edge}), Shows(kBlueGreyShown, kBlueGreyMatch),
        Magnified(edge, "306090 20A040 306090\nMatch 336699"),
        EndPick(WM_LBUTTONUP), Shows(kBlueGreyShown, kBlueGreyMatch),
        Drag({{760, 140}}), Shows(kGreenShown, kGreenMatch), EndPick(WM_KEYDOWN),
        Shows(kBlueGreyShown, kBlueGreyMatch),
        Drag({{760, 140}}), EndPick(WM_RBUTTONDOWN),
        Drag({{760, 140}}), EndPick(WM_CANCELMODE), Shows(kBlueGreyShown, kBlueGreyMatch),
        // Without a button: whole on the screen at each of its edges and corners.
        PickFromScreen(false),
        Hover({{0, 0}}), Magnified({0, 0}), Hover({{1023, 0}}), Magnified({1023, 0}),
        Hover({{1023, 767}}), Magnified({1023, 767}), Hover({{0, 767}}), Magnified({0, 767}),
        Nudge(VK_ESCAPE, false, 1), NoMagnifier(), Shows(kBlueGreyShown, kBlueGreyMatch),
        // Arrows by one pixel, with Shift by ten; Enter keeps.
        PickFromScreen(false), Hover({{805, 140}}), Shows(kBlueGreyShown, kBlueGreyMatch),
        Nudge(VK_LEFT, false, 5, {800, 140}), Shows(kBlueGreyShown, kBlueGreyMatch),
        Nudge(VK_LEFT, false, 1, {799, 140}), Shows(kGreenShown, kGreenMatch),
        Magnified({799, 140}, "20A040 20A040 20A040\nMatch 336699"),
        Nudge(VK_RIGHT, true, 1, {809, 140}), Shows(kBlueGreyShown, kBlueGreyMatch),
        Nudge(VK_DOWN, true, 2, {809, 160}), Nudge(VK_UP, false, 3, {809, 157}),
        Nudge(VK_LEFT, true, 1, {799, 157}), Shows(kGreenShown, kGreenMatch),
        Nudge(VK_RETURN, false, 1), NoMagnifier(), Shows(kGreenShown, kGreenMatch),
        // A switch of view mid-pick ends it. The hotkey, held while the program runs, starts a
        // pick in the Compact view too; closing the program ends one.
        PickFromScreen(false), Hover({edge}), Shows(kBlueGreyShown, kBlueGreyMatch),
        Menu('v'), Main(Compact), NoMagnifier(), Shows(kGreenShown, kGreenMatch),
        HotkeyFree(false), PickFromScreen(true), Hover({{840, 140}}),
        Magnified({840, 140}, "306090 306090 306090\nMatch 336699"),
        EndPick(WM_LBUTTONUP), Shows(kBlueGreyShown, kBlueGreyMatch),
        PickFromScreen(true), Close(), Exit(), HotkeyFree(true)}), "");
    // clang-format on

    // No hotkey where the setting says none.
    ASSERT_TRUE(Store(Settings{0x00, {100, 300}, {700, 500}}) &&
                StoreValue("PickHotkey", REG_DWORD, std::string(4, '\0')));
    EXPECT_EQ(RunSession("", {Main(Compact), HotkeyFree(true), Close(), Exit()}), "");
}

TEST(RecentColours, KeepWhatTheUserKeptNewestFirstAcrossRuns) {
    Patches p;
    ASSERT_TRUE(p.green.shown && p.blueGrey.shown);
    ASSERT_TRUE(Store(kBelowPatches));
    const std::string web = WebFile();
    // clang-format off
    EXPECT_EQ(RunSession(web, {
        Main(Normal), Recent(IDC_USER_SAMPLE, '1'), Shows(kBlack, kBlack),
        Type("112233"), Type("445566"), Type("112233"), Paste("#778899"), Pick(1, 2, 3),
        // A drag keeps the colour it ends on only, a cancelled one none.
        Drag({{760, 140}, {840, 140}}), EndPick(WM_LBUTTONUP),
        Drag({{760, 140}}), EndPick(WM_KEYDOWN),
        Recent(IDC_MATCH_SAMPLE, '3'), Shows("119 136 153 778899", kBlueGreyMatch),
        Menu('x'), Exit(), StoredHistory("778899 306090 010203 112233 445566")}), "");
    // Twelve are kept.
    std::vector<Step> twelve = {Main(Normal), Recent(IDC_USER_SAMPLE, '2'),
                                Shows(kBlueGreyShown, kBlueGreyMatch)};
    for (char c : std::string("123456789A")) {
        twelve.push_back(Type(std::string("00000") + c));
    }
    twelve.insert(twelve.end(), {Menu('x'), Exit(),
                                 StoredHistory("00000A 000009 000008 000007 000006 000005 000004 "
                                               "000003 000002 000001 306090 778899")});
    EXPECT_EQ(RunSession(web, twelve), "");
    EXPECT_EQ(RunSession(web, {
        Main(Normal), Recent(IDC_USER_SAMPLE, '9'), Shows("0 0 2 000002", "0 0 255 0000FF"),
        Recent(IDC_USER_SAMPLE, 'c'), Recent(IDC_USER_SAMPLE, '1'), Shows("0 0 2 000002", "0 0 255 0000FF"),
        Close(), Exit(), StoredHistory("")}), "");
    // clang-format on
    // Three whole bytes, but of no type: damaged, an empty list, stored so.
    ASSERT_TRUE(Store(kBelowPatches) && StoreValue("History", REG_NONE, "\x11\x22\x33"));
    EXPECT_EQ(RunSession("", {Main(Normal), Recent(IDC_USER_SAMPLE, '1'), Shows(kBlack, kBlack),
                              Close(), Exit(), StoredHistory("")}),
              "");
}

}  // namespace
