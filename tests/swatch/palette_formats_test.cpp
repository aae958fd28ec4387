// Exchange files, colour tables and GIMP palettes: each read into the records and names a swatch
// file of the same colours would give, and every damaged shape refused with the table kept.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "swatch/swatch_names.h"
#include "swatch/swatch_table.h"

namespace {

using Names = std::vector<std::u16string>;

std::string Be16(unsigned value) {
    return {static_cast<char>(value >> 8 & 0xFF), static_cast<char>(value & 0xFF)};
}
std::string Be32(std::uint32_t value) {
    return Be16(value >> 16) + Be16(value & 0xFFFF);
}
std::string Float(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return Be32(bits);
}
// A swatch file's record, as the table gives it back.
std::string Record(unsigned space, unsigned c1, unsigned c2, unsigned c3, unsigned c4 = 0) {
    return Be16(space) + Be16(c1) + Be16(c2) + Be16(c3) + Be16(c4);
}
std::string Rgb(unsigned r, unsigned g, unsigned b) {
    return Record(0, r * 257, g * 257, b * 257);
}

// Exchange files: a name is its length in units with the closing zero, then the units.
std::string AseName(const std::u16string& text) {
    std::string bytes = Be16(static_cast<unsigned>(text.size() + 1));
    for (char16_t unit : text + u'\0') {
        bytes += Be16(unit);
    }
    return bytes;
}
std::string Block(unsigned type, const std::string& contents) {
    return Be16(type) + Be32(static_cast<std::uint32_t>(contents.size())) + contents;
}
std::string Colour(const std::u16string& name, const char* model, std::vector<float> values) {
    std::string contents = AseName(name) + model;
    for (float value : values) {
        contents += Float(value);
    }
    return Block(0x0001, contents + Be16(2));  // a normal colour
}
std::string GroupStart(const std::u16string& name) {
    return Block(0xC001, AseName(name));
}
const std::string groupEnd = Block(0xC002, "");
std::string Ase(const std::vector<std::string>& blocks, int count = -1, unsigned major = 1) {
    std::string bytes = "ASEF" + Be16(major) + Be16(0) +
                        Be32(count < 0 ? static_cast<std::uint32_t>(blocks.size()) : count);
    for (const std::string& block : blocks) {
        bytes += block;
    }
    return bytes;
}

// Colour tables: 256 triples, then perhaps the number used and the transparent index.
std::string ActTable() {
    std::string bytes;
    for (unsigned i = 0; i < 256; ++i) {
        bytes += {static_cast<char>(i), static_cast<char>(255 - i), static_cast<char>(i / 2)};
    }
    return bytes;
}
std::string ActRecords(unsigned from, unsigned to, unsigned skip = 256) {
    std::string records;
    for (unsigned i = from; i < to; ++i) {
        records += i == skip ? "" : Rgb(i, 255 - i, i / 2);
    }
    return records;
}

struct Loaded {
    bool loads;
    LoadStatus status;
    std::string records;
    Names names;
};

// Loads `bytes` as the file `path`, in the working directory, over a table that held a file
// before: on a failure the table still holds that file, and its records are given.
Loaded Load(const std::string& bytes, const std::string& path) {
    std::ofstream(path, std::ios::binary) << Record(0, 0, 0, 0).insert(0, Be16(1) + Be16(1));
    SwatchTable table;
    table.SetFileName(path.c_str());
    EXPECT_TRUE(table.Load());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    SwatchNames names;
    Loaded loaded{table.Load(&names), table.GetStatus(), "", {}};
    const SwatchEntry* entry = nullptr;
    for (bool more = table.GetFirstEntry(&entry); more; more = table.GetNextEntry(&entry)) {
        loaded.records += Be16(entry->colourSpace);
        loaded.records.append(reinterpret_cast<const char*>(entry->components), 8);
    }
    for (std::size_t i = 0; i < names.Count(); ++i) {
        loaded.names.emplace_back(names.Name(i));
    }
    EXPECT_EQ(std::remove(path.c_str()), 0);
    return loaded;
}

constexpr LoadStatus kWarned = SWATCH_E_UNSUPPORTED | SWATCH_E_READ;
constexpr LoadStatus kMore = SWATCH_E_COUNT | SWATCH_E_READ;
const std::string kBefore = Record(0, 0, 0, 0);  // what the table held before a failed load

struct Case {
    const char* what;
    std::string file;
    bool loads;
    LoadStatus status;
    std::string records = "";
    Names names = {};
};

void Check(const Case& c, const std::string& path) {
    SCOPED_TRACE(c.what);
    const Loaded loaded = Load(c.file, path);
    EXPECT_EQ(loaded.loads, c.loads);
    EXPECT_EQ(loaded.status, c.status);
    EXPECT_EQ(loaded.records, c.loads ? c.records : kBefore);
    if (c.loads) {
        EXPECT_EQ(loaded.names, c.names);
    }
}

TEST(ExchangeFile, EachShapeHasItsRecordsNamesAndOutcome) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::string white = Colour(u"White", "RGB ", {1, 1, 1});
    // clang-format off
    const Case cases[] = {
        {"groups with and without end blocks; a colour after an end has no group",
         Ase({GroupStart(u"Blues"), Colour(u"Sky", "RGB ", {0, 0.5f, 1}), groupEnd,
              white, GroupStart(u"Reds"), Colour(u"Brick", "RGB ", {0.8f, 0.2f, 0}),
              GroupStart(u"Greys"), Colour(u"Ash", "RGB ", {0.5f, 0.5f, 0.5f})}),
         true, 0, Record(0, 0, 0x8000, 0xFFFF) + Rgb(255, 255, 255) + Record(0, 0xCCCC, 0x3333, 0) +
             Record(0, 0x8000, 0x8000, 0x8000),
         {u"Blues / Sky", u"White", u"Reds / Brick", u"Greys / Ash"}},
        {"zero-length names, a nameless group, a name with a zero inside, an unknown block",
         Ase({Block(0x0001, Be16(0) + "RGB " + Float(0) + Float(0) + Float(0) + Be16(2)),
              Block(0xC001, ""), Block(0x0042, "anything at all"), Colour(u"", "RGB ", {0, 0, 0}),
              GroupStart(u"G"), Colour(u"", "RGB ", {0, 0, 0}),
              Colour(std::u16string(u"Cut\0here", 8), "RGB ", {0, 0, 0})}),
         true, 0, Rgb(0, 0, 0) + Rgb(0, 0, 0) + Rgb(0, 0, 0) + Rgb(0, 0, 0),
         {u"", u"", u"", u"G / Cut"}},
        {"every model as a swatch file stores it; out-of-range and not-a-number values clamped",
         Ase({Colour(u"c", "CMYK", {1, 0, 0.25f, 0}), Colour(u"l", "LAB ", {0.5f, -128, 127}),
              Colour(u"g", "Gray", {0.25f}), Colour(u"x", "RGB ", {1.5f, -0.5f, nan}),
              Colour(u"f", "LAB ", {2, -500, 500})}),
         true, kWarned, Record(2, 0, 0xFFFF, 0xBFFF, 0xFFFF) +
             Record(7, 5000, 0x10000 - 12800, 12700) + Record(8, 7500, 0, 0) +
             Record(0, 0xFFFF, 0, 0) + Record(7, 10000, 0x10000 - 32767, 32767),
         {u"c", u"l", u"g", u"x", u"f"}},
        {"an unknown model: held, never matched, warned of",
         Ase({white, Block(0x0001, AseName(u"Odd") + "HSV " + Float(1) + Be16(2))}),
         true, kWarned, Rgb(255, 255, 255) + Record(4096, 0, 0, 0), {u"White", u"Odd"}},
        {"version 1.1 and blocks past the count", Ase({white, white}, 1).replace(6, 2, Be16(1)),
         true, 0, Rgb(255, 255, 255), {u"White"}},
        {"a block longer than its colour: the rest passed over",
         Ase({Block(0x0001, AseName(u"W") + "Gray" + Float(1) + Be16(2) + "extra"), white}),
         true, kWarned, Record(8, 0, 0, 0) + Rgb(255, 255, 255), {u"W", u"White"}},
        {"version 2", Ase({white}, -1, 2), false, SWATCH_E_READ},
        {"version 0", Ase({white}, -1, 0), false, SWATCH_E_READ},
        {"fewer blocks than counted", Ase({white}, 2), false, SWATCH_E_READ},
        {"a block too short for its colour", Ase({Block(0x0001, AseName(u"W") + "RGB " + Float(1))}),
         false, SWATCH_E_READ},
        {"a name longer than its block", Ase({Block(0x0001, Be16(40) + "RGB ")}), false,
         SWATCH_E_READ},
        {"a block length past the file", Ase({white}).replace(14, 4, Be32(0xFFFFFFF0)), false,
         SWATCH_E_READ},
        {"groups only", Ase({GroupStart(u"Empty"), groupEnd}), false, SWATCH_E_COUNT},
        {"no blocks", Ase({}), false, SWATCH_E_COUNT},
        {"a huge block count over one colour", Ase({white}, 0x7FFFFFFF), false, SWATCH_E_READ},
    };
    // clang-format on
    for (const Case& c : cases) {
        Check(c, "test.ase");
    }
}

TEST(ExchangeFile, CutShortAtAnyByteIsRefusedAsDamaged) {
    const std::string file = Ase({GroupStart(u"Blues"), Colour(u"Sky", "RGB ", {0, 0.5f, 1}),
                                  Colour(u"Ink", "CMYK", {0, 0, 0, 1}), groupEnd});
    for (std::size_t size = 4; size < file.size(); ++size) {
        SCOPED_TRACE(size);
        const Loaded loaded = Load(file.substr(0, size), "test.ase");
        EXPECT_FALSE(loaded.loads);
        EXPECT_EQ(loaded.status, SWATCH_E_READ);
    }
}

TEST(ColourTable, CountAndTransparentIndexChooseTheColours) {
    const std::string table = ActTable();
    // clang-format off
    const Case cases[] = {
        {"768 bytes: all 256", table, true, 0, ActRecords(0, 256)},
        {"a count and no transparent colour", table + Be16(16) + Be16(0xFFFF), true, 0,
         ActRecords(0, 16)},
        {"the transparent colour left out", table + Be16(16) + Be16(3), true, 0,
         ActRecords(0, 16, 3)},
        {"a transparent index past the count", table + Be16(16) + Be16(16), true, 0,
         ActRecords(0, 16)},
        {"count 0 is the whole table", table + Be16(0) + Be16(0xFFFF), true, 0, ActRecords(0, 256)},
        {"count 300 is the whole table", table + Be16(300) + Be16(255), true, 0,
         ActRecords(0, 256, 255)},
        {"one colour, transparent", table + Be16(1) + Be16(0), false, SWATCH_E_COUNT},
    };
    // clang-format on
    for (const Case& c : cases) {
        Check(c, "test.act");
    }
    // The name tells a colour table only in a file of its exact size; otherwise it is a swatch
    // file, here one counting a single record.
    Check({"upper-case name", table, true, 0, ActRecords(0, 256)}, "TEST.ACT");
    Check({"a swatch file's name", table, true, 0, table.substr(4, 10)}, "test.aco");
    Check({"one byte more", table + Be16(16) + Be16(1) + "x", true, 0, table.substr(4, 10)},
          "test.act");
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
    std::string gpl = "GIMP Palette\n";
    std::vector<std::string> blocks;
    std::string records;
    for (unsigned i = 0; i < 65536; ++i) {
        const unsigned r = i % 256, g = i / 256, b = 7;
        gpl += std::to_string(r) + ' ' + std::to_string(g) + " 7\n";
        blocks.push_back(Colour(u"", "RGB ", {r / 255.0f, g / 255.0f, b / 255.0f}));
        records += i < 65535 ? Rgb(r, g, b) : "";
    }
    for (const auto& [file, path] : {std::pair{gpl, "big.gpl"}, {Ase(blocks), "big.ase"}}) {
        SCOPED_TRACE(path);
        const Loaded loaded = Load(file, path);
        EXPECT_TRUE(loaded.loads);
        EXPECT_EQ(loaded.status, kMore);
        EXPECT_EQ(loaded.records, records);
    }
}

// The palette files of other programs, kept beside the repository; skipped where absent.
TEST(PaletteFormats, FilesOfOtherProgramsLoad) {
    const char* folder = std::getenv("TINTWELL_PALETTE_SAMPLES");
    if (folder == nullptr || !std::filesystem::is_directory(folder)) {
        GTEST_SKIP() << "no palette samples";
    }
    const struct {
        const char* file;
        bool loads;
        LoadStatus status;
        std::size_t count;
        std::string first;
        std::u16string firstName;
    } samples[] = {
        {"nsfmc_solarized.ase", true, kWarned, 26, Record(7, 1500, 0x10000 - 1200, 0x10000 - 1200),
         u"Bases / Base 03"},
        {"nsfmc_sampler.ase", true, kWarned, 5, Rgb(255, 255, 255), u"Whitefolder / White"},
        {"nsfmc_empty-white-folder.ase", false, SWATCH_E_COUNT, 0, "", u""},
        {"nsfmc_white-swatch-no-folder.ase", true, 0, 1, Rgb(255, 255, 255), u"White"},
        {"dagronf_palette_simple.ase", true, kWarned, 3, Record(0, 0, 0xFFFF, 0x2222),
         u"Greenville RGB"},
        {"dagronf_ADG3-CMYK.ase", true, 0, 61, Record(2, 0xF332, 0x0A3D, 0x3333, 0xC7AD),
         u"Red / R500"},
        {"dagronf_control.ase", true, 0, 2, Rgb(255, 255, 255), u"Simple / White"},
        {"dagronf_unsupported_version.ase", false, SWATCH_E_READ, 0, "", u""},
        {"dagronf_arne-v20-16.act", true, 0, 15, Rgb(0x9D, 0x9D, 0x9D), u""},
        {"dagronf_16pal_v20.act", true, 0, 16, Rgb(0, 0, 0), u""},
        {"dagronf_iconworkshop.act", true, 0, 47, Rgb(255, 255, 255), u""},
        {"dagronf_Default.gpl", true, 0, 23, Rgb(255, 0, 0), u"Red"},
        {"dagronf_Caramel.gpl", true, 0, 256, Rgb(48, 48, 48), u"grey19"},
        {"dagronf_Material-Palette.aco", true, 0, 256, Record(0, 0xF4F3, 0x4342, 0x3636),
         u"Red 500 - Primary"},
    };
    for (const auto& s : samples) {
        SCOPED_TRACE(s.file);
        std::ifstream in(std::filesystem::path(folder) / s.file, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        ASSERT_FALSE(bytes.empty());
        const Loaded loaded = Load(bytes, std::string("sample") + std::strrchr(s.file, '.'));
        EXPECT_EQ(loaded.loads, s.loads);
        EXPECT_EQ(loaded.status, s.status);
        if (s.loads) {
            EXPECT_EQ(loaded.records.size(), 10 * s.count);
            EXPECT_EQ(loaded.records.substr(0, 10), s.first);
            EXPECT_EQ(loaded.names.empty() ? u"" : loaded.names[0], s.firstName);
        }
    }
}

}  // namespace
