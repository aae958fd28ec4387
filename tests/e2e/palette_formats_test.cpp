// Exchange files, GIMP palettes and colour tables as a user meets them: loaded from the command
// line, the file dialog and a drop, matched and named in the tooltip; and a device named for a
// file, refused at once. The built tintwell.exe driven from outside.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "user_session.h"

namespace {

const Settings kNormal = {0x01, {100, 60}, {700, 500}};
const std::string kNotOpened =
    "Tintwell failed to load the file.\n"
    "The file could not be opened. Check the path and that you may read the file.";

std::string Write(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
}

TEST(PaletteFormats, LoadMatchAndNameAsSwatchFilesDo) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "tintwell-palettes";
    std::filesystem::create_directories(folder);
    // A CMYK colour, held but never matched, then two RGB ones, all in a group whose end block
    // is left out, as it often is.
    const std::string ase =
        Write(folder / "exchange.ase",
              AseFile({AseGroup(u"Blues"), AseColour(u"Ink", "CMYK", {0.2f, 0.4f, 0.6f, 0}),
                       AseColour(u"Sky", "RGB ", {0.2f, 0.4f, 0.6f}, 0),
                       AseColour(u"Brick", "RGB ", {0.8f, 0.2f, 0})}));
    const std::string gpl = Write(folder / "gimp.gpl",
                                  "GIMP Palette\r\nName: Test\r\n#\r\n250 120  10\tOrange peel\r\n"
                                  "  0   0 255\tBlue\r\n");
    // Three colours, the first transparent.
    const std::string act = Write(
        folder / "table.ACT", ActFile({{0, 0, 0, 0}, {0, 10, 20, 30}, {0, 200, 100, 50}}, 3, 0));
    ASSERT_TRUE(Store(kNormal));
    // clang-format off
    EXPECT_EQ(RunSession(ase, {Main(Normal), Path(ase),
        Type("336699"), Shows("51 102 153 336699", "51 102 153 336699"),
        Tip(u8"Blues / Sky (swatch 2 of 3)\nΔE 0.0"),
        Type("ff0000"), Shows("255 0 0 FF0000", "204 51 0 CC3300"), Tip(u8"Blues / Brick (swatch 3 of 3)\nΔE 9.4"),
        FileTypes("Swatch Files|All Files|Palette Files"), Browse(gpl), Path(gpl), Type("ff8000"), Shows("255 128 0 FF8000", "250 120 10 FA780A"),
        Tip(u8"Orange peel (swatch 1 of 2)\nΔE 2.6"),
        Drop(act), Path(act), Type("000000"), Shows("0 0 0 000000", "10 20 30 0A141E"),
        Tip(u8"Swatch 1 of 2\nΔE 8.0"), Type("c86432"),
        Shows("200 100 50 C86432", "200 100 50 C86432"), Tip(u8"Swatch 2 of 2\nΔE 0.0"),
        Menu('x'), Exit()}), "");
    // A serial device would block the first read for ever, before any window exists.
    EXPECT_EQ(RunSession("COM1", {Box("Tintwell", kNotOpened), Main(Normal),
        Path(""), Menu('x'), Exit()}), "");
    EXPECT_EQ(RunSession("\\\\.\\COM1", {Box("Tintwell", kNotOpened),
        Main(Normal), Path(""), Menu('x'), Exit()}), "");
    // Remembered, it is passed over without a word.
    ASSERT_TRUE(Store(kNormal) && StoreValue("LastSwatchFile", REG_SZ, std::string("COM1", 5)));
    EXPECT_EQ(RunSession("", {Main(Normal), Path(""), Menu('x'), Exit()}), "");
    // clang-format on
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

}  // namespace
