// Which swatch matched, by name and place, in a tooltip; and the last file, reopened at the next
// start. The built tintwell.exe driven from outside, as in e2e_test.cpp.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/settings_key.h"
#include "user_session.h"

namespace {

const Settings kNormal = {0x01, {100, 60}, {700, 500}};
const std::string kBlue = "51 102 153 336699", kNone = "255 255 255 FFFFFF";

TEST(SwatchNames, TheTooltipNamesTheMatchAndItsPlaceAndTheLastFileReopens) {
    std::vector<Swatch> twenty(20, {0, 0, 100, 0, u"Green"});
    // Equal colours earlier (not RGB) and later, the later ones past the first eight.
    twenty[0] = {1, 0x33, 0x66, 0x99, u"Not RGB"};
    twenty[1] = {0, 0xE0, 0x10, 0x20, u"Brand Accent 2"};
    twenty[9] = {0, 0x33, 0x66, 0x99, u"Κυανό"};
    twenty[12] = twenty[18] = {0, 0x33, 0x66, 0x99, u"Later twin"};
    twenty[19] = {0, 0xF0, 0xE0, 0x30, u"金色"};
    const std::string named = WriteSwatchFile("named.aco", twenty, true).string();
    const std::string plain =
        WriteSwatchFile("plain.aco", {{0, 250, 120, 10}, {0, 51, 102, 153}}).string();
    ASSERT_TRUE(Store(kNormal));
    // clang-format off
    EXPECT_EQ(RunSession(named, {Main(Normal), Tip(""), Type("336699"), Shows(kBlue, kBlue),
        Tip(u8"Κυανό (swatch 10 of 20)\nΔE 0.0"), Type("f0e030"),
        Shows("240 224 48 F0E030", "240 224 48 F0E030"), Tip(u8"金色 (swatch 20 of 20)\nΔE 0.0"),
        Menu('v'), Main(Compact), Tip(u8"金色 (swatch 20 of 20)\nΔE 0.0"), Tray('v'), Main(Normal),
        Menu('x'), Exit()}), "");
    // Started again: the file that loaded last, with its names; a file without names gives
    // places only.
    EXPECT_EQ(RunSession("", {Main(Normal), Path(named), Type("e01020"),
        Shows("224 16 32 E01020", "224 16 32 E01020"), Tip(u8"Brand Accent 2 (swatch 2 of 20)\nΔE 0.0"),
        // The match shown is of the file before: nothing of this one to name.
        Browse(plain), Tip(""), Type("336699"),
        Tip(u8"Swatch 2 of 2\nΔE 0.0"), Menu('x'), Exit()}), "");
    // A path on the command line wins over the last; a file gone by the next start leaves no
    // file, silently.
    EXPECT_EQ(RunSession(named, {Main(Normal), Path(named), Menu('x'), Exit()}), "");
    std::filesystem::remove(named);
    EXPECT_EQ(RunSession("", {Main(Normal), Path(""), Type("336699"), Shows(kBlue, kNone), Tip(""),
        Menu('x'), Exit()}), "");
    // clang-format on
    // A remembered path that is not plain text is passed over (the registry library's test
    // covers texts cut short or too long).
    ASSERT_TRUE(Store(kNormal) && StoreValue(kLastFileValue, REG_EXPAND_SZ, plain + '\0'));
    EXPECT_EQ(RunSession("", {Main(Normal), Path(""), Menu('x'), Exit()}), "");
    std::filesystem::remove(plain);
}

}  // namespace
