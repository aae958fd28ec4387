// What must hold however long the program runs and wherever it was left: view switches that do
// not pile up, a window that opens where it can be reached, and a file name in any script that
// opens that very file.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>

#include "user_session.h"

namespace {

const POINT kNormalAt = {100, 60};
const POINT kCompactAt = {700, 500};

// Each switch used to leave the old dialog alive, hidden, and take about 30 KB more; 60 of them
// keep the test to a few seconds.
TEST(Reliability, ManyViewSwitchesLeaveOneDialogAndFlatMemory) {
    ASSERT_TRUE(Store(Settings{0x01, kNormalAt, kCompactAt}));
    EXPECT_EQ(RunSession(ProgramPath(), "",
                         {Main(Normal, kNormalAt), SwitchRepeatedly(60, 512 * 1024), Type("336699"),
                          Shows("51 102 153 336699", "255 255 255 FFFFFF"), Menu('x'), Exit(),
                          Stored(Settings{0x01, kNormalAt, kCompactAt})}),
              "");
}

TEST(Reliability, AWindowOffEveryScreenOpensAtItsDefaultPlace) {
    const POINT normalDefault = Centred(200, 103);
    const POINT compactDefault = Centred(59, 94);
    const POINT farCorner = {INT_MAX, INT_MIN};
    // Its caption still overlaps the screen by a few pixels: kept as it is.
    const POINT edge = {1000, 760};
    ASSERT_TRUE(Store(Settings{0x01, farCorner, {-5000, -5000}}));
    EXPECT_EQ(RunSession(ProgramPath(), "",
                         {Main(Normal, normalDefault), Menu('v'), Main(Compact, compactDefault),
                          Tray('x'), Exit(), Stored({0x00, normalDefault, compactDefault})}),
              "");
    ASSERT_TRUE(Store(Settings{0x00, edge, {100000, 100000}}));
    EXPECT_EQ(
        RunSession(ProgramPath(), "",
                   // A switch closes the About box, whose loop would hold it up.
                   {Main(Compact, compactDefault), Tray('a'), About(), Tray('v'),
                    Main(Normal, edge), Close(), Exit(), Stored({0x01, edge, compactDefault})}),
        "");
}

TEST(Reliability, ANameInAnyScriptOpensThatVeryFile) {
    // Best fit would turn the Greek capital omega into O and open the other file.
    const std::filesystem::path other = WriteSwatchFile(L"Omega.aco", {{0, 200, 0, 0}});
    const std::wstring omega = WriteSwatchFile(L"\u03A9mega.aco", {{0, 0, 0, 200}}).wstring();
    ASSERT_TRUE(Store(Settings{0x01, kNormalAt, kCompactAt}));
    EXPECT_EQ(RunSessionWide(ProgramPath(), L"\"" + omega + L"\"",
                             {Main(Normal), WidePath(omega), Type("0000ff"),
                              Shows("0 0 255 0000FF", "0 0 200 0000C8"), Menu('x'), Exit()}),
              "");
    std::filesystem::remove(omega);
    std::filesystem::remove(other);
}

}  // namespace
