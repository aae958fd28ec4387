// Exchange files, GIMP palettes and colour tables as a user meets them: offered by the file
// dialog, loaded from the command line, the dialog and a drop, matched and named. The built
// tintwell.exe driven from outside.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "user_session.h"

namespace {

const Settings kNormal = {0x01, {100, 60}, {700, 500}};

std::string Write(const std::filesystem::path& path, const std::string& bytes) {
    return WriteBytes(path, bytes) ? path.string() : "";
}

TEST(PaletteFormats, LoadMatchAndNameAsSwatchFilesDo) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "tintwell-palettes";
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
        FileTypes("Swatch Files|All Files|Palette Files"),
        Browse(gpl), Path(gpl), Type("ff8000"), Shows("255 128 0 FF8000", "250 120 10 FA780A"),
        Drop(act), Path(act), Type("000000"), Shows("0 0 0 000000", "10 20 30 0A141E"),
        Menu('x'), Exit()}), "");
    // clang-format on
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

}  // namespace
