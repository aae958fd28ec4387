// Exchange files, colour tables and GIMP palettes: each read into the records and names a swatch
// file of the same colours would give, and every damaged shape refused with the table kept.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "tests/swatch/loaded_table.h"

namespace {

std::string Rgb(unsigned r, unsigned g, unsigned b) {
    return AcoRecord(0, r * 257, g * 257, b * 257);
}
// The records of `swatches` in a swatch file.
std::string RecordsOf(const std::vector<Swatch>& swatches) {
    return AcoFile(swatches).substr(4);
}

// A colour table's first `count` colours of a ramp, without the one at `skip`.
std::vector<Swatch> Ramp(int count, int skip = -1) {
    std::vector<Swatch> ramp;
    for (int i = 0; i < count; ++i) {
        if (i != skip) {
            ramp.push_back({0, i, 255 - i, i / 2});
        }
    }
    return ramp;
}

constexpr LoadStatus kWarned = SWATCH_E_UNSUPPORTED | SWATCH_E_READ;
constexpr LoadStatus kMore = SWATCH_E_COUNT | SWATCH_E_READ;

TEST(ExchangeFile, EachShapeHasItsRecordsNamesAndOutcome) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::string white = AseColour(u"White", "RGB ", {1, 1, 1});
    // clang-format off
    const Case cases[] = {
        {"groups with and without end blocks; a colour after an end has no group",
         AseFile({AseGroup(u"Blues"), AseColour(u"Sky", "RGB ", {0, 0.5f, 1}), AseGroupEnd(),
              white, AseGroup(u"Reds"), AseColour(u"Brick", "RGB ", {0.8f, 0.2f, 0}),
              AseGroup(u"Greys"), AseColour(u"Ash", "RGB ", {0.5f, 0.5f, 0.5f})}),
         true, 0, AcoRecord(0, 0, 0x8000, 0xFFFF) + Rgb(255, 255, 255) + AcoRecord(0, 0xCCCC, 0x3333, 0) +
             AcoRecord(0, 0x8000, 0x8000, 0x8000),
         {u"Blues / Sky", u"White", u"Reds / Brick", u"Greys / Ash"}},
        {"zero-length names, a nameless group, a name with a zero inside, an unknown block",
         AseFile({AseBlock(0x0001, Be16(0) + "RGB " + BeFloat(0) + BeFloat(0) + BeFloat(0) + Be16(2)),
              AseBlock(0xC001, ""), AseBlock(0x0042, "anything at all"), AseColour(u"", "RGB ", {0, 0, 0}),
              AseGroup(u"G"), AseColour(u"", "RGB ", {0, 0, 0}),
              AseColour(std::u16string(u"Cut\0here", 8), "RGB ", {0, 0, 0})}),
         true, 0, Rgb(0, 0, 0) + Rgb(0, 0, 0) + Rgb(0, 0, 0) + Rgb(0, 0, 0),
         {u"", u"", u"", u"G / Cut"}},
        {"every model as a swatch file stores it; out-of-range and not-a-number values clamped",
         AseFile({AseColour(u"c", "CMYK", {1, 0, 0.25f, 0}), AseColour(u"l", "LAB ", {0.5f, -128, 127}),
              AseColour(u"g", "Gray", {0.25f}), AseColour(u"x", "RGB ", {1.5f, -0.5f, nan}),
              AseColour(u"f", "LAB ", {2, -500, 500})}),
         true, kWarned, AcoRecord(2, 0, 0xFFFF, 0xBFFF, 0xFFFF) +
             AcoRecord(7, 5000, 0x10000 - 12800, 12700) + AcoRecord(8, 7500, 0, 0) +
             AcoRecord(0, 0xFFFF, 0, 0) + AcoRecord(7, 10000, 0x10000 - 32767, 32767),
         {u"c", u"l", u"g", u"x", u"f"}},
        {"an unknown model: held, never matched, warned of",
         AseFile({white, AseBlock(0x0001, AseName(u"Odd") + "HSV " + BeFloat(1) + Be16(2))}),
         true, kWarned, Rgb(255, 255, 255) + AcoRecord(4096, 0, 0, 0), {u"White", u"Odd"}},
        {"version 1.1 and blocks past the count", AseFile({white, white}, 1).replace(6, 2, Be16(1)),
         true, 0, Rgb(255, 255, 255), {u"White"}},
        {"a block longer than its colour: the rest passed over",
         AseFile({AseBlock(0x0001, AseName(u"W") + "Gray" + BeFloat(1) + Be16(2) + "extra"), white}),
         true, kWarned, AcoRecord(8, 0, 0, 0) + Rgb(255, 255, 255), {u"W", u"White"}},
        {"version 2", AseFile({white}, -1, 2), false, SWATCH_E_READ},
        {"version 0", AseFile({white}, -1, 0), false, SWATCH_E_READ},
        {"fewer blocks than counted", AseFile({white}, 2), false, SWATCH_E_READ},
        {"a block too short for its colour", AseFile({AseBlock(0x0001, AseName(u"W") + "RGB " + BeFloat(1))}),
         false, SWATCH_E_READ},
        {"a name longer than its block", AseFile({AseBlock(0x0001, Be16(40) + "RGB ")}), false,
         SWATCH_E_READ},
        {"a block length past the file", AseFile({white}).replace(14, 4, Be32(0xFFFFFFF0)), false,
         SWATCH_E_READ},
        {"groups only", AseFile({AseGroup(u"Empty"), AseGroupEnd()}), false, SWATCH_E_COUNT},
        {"no blocks", AseFile({}), false, SWATCH_E_COUNT},
        {"a huge block count over one colour", AseFile({white}, 0x7FFFFFFF), false, SWATCH_E_READ},
    };
    // clang-format on
    for (const Case& c : cases) {
        Check(c, "test.ase");
    }
}

TEST(ExchangeFile, CutShortAtAnyByteIsRefusedAsDamaged) {
    const std::string file = AseFile({AseGroup(u"Blues"), AseColour(u"Sky", "RGB ", {0, 0.5f, 1}),
                                      AseColour(u"Ink", "CMYK", {0, 0, 0, 1}), AseGroupEnd()});
    for (std::size_t size = 4; size < file.size(); ++size) {
        SCOPED_TRACE(size);
        const Loaded loaded = LoadBytes(file.substr(0, size), "test.ase");
        EXPECT_FALSE(loaded.loads);
        EXPECT_EQ(loaded.status, SWATCH_E_READ);
    }
}

TEST(ColourTable, CountAndTransparentIndexChooseTheColours) {
    const std::vector<Swatch> ramp = Ramp(256);
    const std::string all = RecordsOf(ramp);
    // clang-format off
    const Case cases[] = {
        {"768 bytes: all 256", ActFile(ramp), true, 0, all},
        {"a count and no transparent colour", ActFile(ramp, 16), true, 0, RecordsOf(Ramp(16))},
        {"the transparent colour left out", ActFile(ramp, 16, 3), true, 0, RecordsOf(Ramp(16, 3))},
        {"a transparent index past the count", ActFile(ramp, 16, 16), true, 0, RecordsOf(Ramp(16))},
        {"count 0 is the whole table", ActFile(ramp, 0), true, 0, all},
        {"count 300 is the whole table", ActFile(ramp, 300, 255), true, 0, RecordsOf(Ramp(256, 255))},
        {"one colour, transparent", ActFile(ramp, 1, 0), false, SWATCH_E_COUNT},
    };
    // clang-format on
    for (const Case& c : cases) {
        Check(c, "test.act");
    }
    // The name tells a colour table only in a file of its exact size; otherwise it is a swatch
    // file, here one counting a single record.
    const std::string asSwatchFile = ActFile(ramp).substr(4, 10);
    Check({"upper-case name", ActFile(ramp), true, 0, all}, "TEST.ACT");
    Check({"a swatch file's name", ActFile(ramp), true, 0, asSwatchFile}, "test.aco");
    Check({"one byte more", ActFile(ramp, 16, 1) + "x", true, 0, asSwatchFile}, "test.act");
}

TEST(GimpPalette, EachShapeHasItsRecordsNamesAndOutcome) {
    // clang-format off
    const Case cases[] = {
        {"header lines, comments, blank lines, blanks and tabs, names with blanks or none",
         "GIMP Palette\nName: Test\nColumns: 4\n#\n# comment\n\n  \t\n"
         "255   0   0\tRed\n  0 128 255 Sky blue  \n1\t2\t3\n  # late comment\n 10 20 30 \t\n",
         true, 0, Rgb(255, 0, 0) + Rgb(0, 128, 255) + Rgb(1, 2, 3) + Rgb(10, 20, 30),
         {u"Red", u"Sky blue", u"", u""}},
        {"CRLF line ends, a byte-order mark, no line feed at the end",
         "\xEF\xBB\xBFGIMP Palette\r\nName: x\r\n0 0 0 Black\r\n255 255 255 White",
         true, 0, Rgb(0, 0, 0) + Rgb(255, 255, 255), {u"Black", u"White"}},
        {"UTF-8 names; a broken sequence replaced",
         u8"GIMP Palette\n1 1 1 Κυανό 天蓝色 😀\n2 2 2 a\xC3(b\xF0\x9F\n",
         true, 0, Rgb(1, 1, 1) + Rgb(2, 2, 2), {u"Κυανό 天蓝色 😀", u"a\uFFFD(b\uFFFD"}},
        {"a long name cut", "GIMP Palette\n1 2 3 " + std::string(2000, 'n') + "\n4 5 6\n", true, 0,
         Rgb(1, 2, 3) + Rgb(4, 5, 6), {std::u16string(63, u'n') + u'\u2026', u""}},
        {"no colour line", "GIMP Palette\nName: Empty\n# nothing\n", false, SWATCH_E_READ},
        {"the first line alone", "GIMP Palette", false, SWATCH_E_READ},
        {"two values", "GIMP Palette\n1 2\n", false, SWATCH_E_READ},
        {"a letter for a value", "GIMP Palette\n1 2 x name\n", false, SWATCH_E_READ},
        {"a name joined to a value", "GIMP Palette\n1 2 3name\n", false, SWATCH_E_READ},
        {"a value past 255", "GIMP Palette\n1 256 3\n", false, SWATCH_E_READ},
        {"a negative value", "GIMP Palette\n-1 2 3\n", false, SWATCH_E_READ},
        {"a header line after a colour", "GIMP Palette\n1 2 3\nName: late\n", false,
         SWATCH_E_READ},
        {"a bad line after good ones", "GIMP Palette\n1 2 3\n4 5 6\n7 8\n", false, SWATCH_E_READ},
        {"a first line with more on it", "GIMP Palette 2\n1 2 3\n", false, SWATCH_E_READ},
    };
    // clang-format on
    for (const Case& c : cases) {
        Check(c, "test.gpl");
    }
}

TEST(PaletteFormats, MoreThanATableHoldsLoadsTheFirstWithTheCountWarning) {
    std::vector<Swatch> swatches;
    for (int i = 0; i < 65536; ++i) {
        swatches.push_back({0, i % 256, i / 256, 7});
    }
    const std::string records = RecordsOf({swatches.begin(), swatches.end() - 1});
    Check({"GIMP palette", PaletteFile(".gpl", swatches), true, kMore, records}, "big.gpl");
    Check({"exchange file", PaletteFile(".ase", swatches), true, kMore, records}, "big.ase");
}

// Files written by other programs, kept beside the repository; skipped where absent.
TEST(PaletteFormats, FilesOfOtherProgramsLoadWithTheirRecordsAndNames) {
    const char* samples = std::getenv("TINTWELL_SAMPLES");
    if (samples == nullptr || !std::filesystem::is_directory(samples)) {
        GTEST_SKIP() << "no sample files";
    }
    const struct {
        const char* file;
        bool loads;
        LoadStatus status;
        std::size_t count;
        std::string first;
        std::u16string firstName;
    } files[] = {
        // clang-format off
        {"aco-samples/dagronf_Zeldman-v1.aco", true, 0, 6, AcoRecord(0, 0x5555, 0x3333, 0), u""},
        {"aco-samples/rgbds_full_aco.aco", true, 0, 32, Rgb(0, 0, 0), u""},
        {"aco-samples/cyotek_db32.aco", true, 0, 32, Rgb(0, 0, 0), u""},
        {"aco-samples/cyotek_arne-v20-16.aco", true, 0, 16, Rgb(0, 0, 0), u"Void"},
        {"aco-samples/kdybicz_rgb.aco", true, 0, 6, Rgb(255, 0, 0), u"RGB Red"},
        {"aco-samples/kdybicz_cmyk.aco", true, 0, 6, AcoRecord(2, 0xFFFF, 0, 0, 0xFFFF), u"CMYK Red"},
        {"aco-samples/kdybicz_grayscale.aco", true, kWarned, 20, AcoRecord(8, 0, 0, 0), u"White"},
        {"aco-samples/kdybicz_utf.aco", true, 0, 3, AcoRecord(1, 0x2A2A, 0xA8A8, 0xE3E3),
         u"Zażółć gęślą jaźń"},
        {"aco-samples/czebe_swatch-lab.aco", true, kWarned, 1, AcoRecord(7, 0x1B58, 0xF128, 0xF63C),
         u"Swatch 1"},
        {"aco-samples/open-color_1.6.3.aco", true, 0, 130, AcoRecord(0, 0xF8F7, 0xF9F9, 0xFAF9),
         u"Gray 00 #F8F9FA"},
        {"palette-samples/nsfmc_solarized.ase", true, kWarned, 26,
         AcoRecord(7, 1500, 0x10000 - 1200, 0x10000 - 1200), u"Bases / Base 03"},
        {"palette-samples/nsfmc_sampler.ase", true, kWarned, 5, Rgb(255, 255, 255),
         u"Whitefolder / White"},
        {"palette-samples/nsfmc_empty-white-folder.ase", false, SWATCH_E_COUNT, 0, "", u""},
        {"palette-samples/nsfmc_white-swatch-no-folder.ase", true, 0, 1, Rgb(255, 255, 255), u"White"},
        {"palette-samples/dagronf_palette_simple.ase", true, kWarned, 3,
         AcoRecord(0, 0, 0xFFFF, 0x2222), u"Greenville RGB"},
        {"palette-samples/dagronf_ADG3-CMYK.ase", true, 0, 61,
         AcoRecord(2, 0xF332, 0x0A3D, 0x3333, 0xC7AD), u"Red / R500"},
        {"palette-samples/dagronf_control.ase", true, 0, 2, Rgb(255, 255, 255), u"Simple / White"},
        {"palette-samples/dagronf_unsupported_version.ase", false, SWATCH_E_READ, 0, "", u""},
        {"palette-samples/dagronf_arne-v20-16.act", true, 0, 15, Rgb(0x9D, 0x9D, 0x9D), u""},
        {"palette-samples/dagronf_16pal_v20.act", true, 0, 16, Rgb(0, 0, 0), u""},
        {"palette-samples/dagronf_iconworkshop.act", true, 0, 47, Rgb(255, 255, 255), u""},
        {"palette-samples/dagronf_Default.gpl", true, 0, 23, Rgb(255, 0, 0), u"Red"},
        {"palette-samples/dagronf_Caramel.gpl", true, 0, 256, Rgb(48, 48, 48), u"grey19"},
        {"palette-samples/dagronf_Material-Palette.aco", true, 0, 256,
         AcoRecord(0, 0xF4F3, 0x4342, 0x3636), u"Red 500 - Primary"},
        // clang-format on
    };
    const auto load = [&](const char* file) {
        return LoadOver((std::filesystem::path(samples) / file).string().c_str());
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.file);
        const Loaded loaded = load(f.file);
        EXPECT_EQ(loaded.loads, f.loads);
        EXPECT_EQ(loaded.status, f.status);
        if (f.loads && loaded.loads) {
            EXPECT_EQ(loaded.records.size(), 10 * f.count);
            EXPECT_EQ(loaded.records.substr(0, 10), f.first);
            EXPECT_EQ(loaded.names[0], f.firstName);
        }
    }
    EXPECT_EQ(load("aco-samples/kdybicz_utf.aco").names,
              (Names{u"Zażółć gęślą jaźń", u"チェリー", u"a"}));
    EXPECT_EQ(load("aco-samples/open-color_1.6.3.aco").names.back(), u"Orange 09 #D9480F");
}

}  // namespace
