// How records are matched: their colours in sRGB and Lab, also in files other programs wrote,
// CIEDE2000, a record's text in its file's own terms, and both searches against plain scans.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "swatch/match/ciede2000.h"
#include "swatch/match/closest_rgb.h"
#include "swatch/match/closest_perceptual.h"
#include "swatch/match/lab.h"
#include "swatch/match/stored_colour_text.h"
#include "swatch/swatch_names.h"
#include "swatch/swatch_table.h"
#include "tests/support/palette_writer.h"

namespace {

SwatchEntry Entry(std::uint16_t space, std::uint16_t c1, std::uint16_t c2 = 0, std::uint16_t c3 = 0,
                  std::uint16_t c4 = 0) {
    return MakeSwatchEntry(space, c1, c2, c3, c4);
}

SwatchEntry Rgb(COLORREF colour) {
    return Entry(0, colour << 8 & 0xFF00, colour & 0xFF00, colour >> 8 & 0xFF00);
}

COLORREF Shown(const SwatchEntry& entry) {
    COLORREF shown = SWATCH_NO_COLOUR;
    Lab lab = {-1, -1, -1};
    EXPECT_TRUE(EntryToSrgb(entry, &shown) && EntryToLab(entry, &lab)) << entry.colourSpace;
    // The colour shown is within rounding of the record's Lab colour, or clipped from it.
    const COLORREF fromLab = LabToSrgb(lab);
    for (int shift = 0; shift < 24; shift += 8) {
        EXPECT_LE(std::abs(static_cast<int>(shown >> shift & 0xFF) -
                           static_cast<int>(fromLab >> shift & 0xFF)),
                  1);
    }
    return shown;
}

// Sharma, Wu and Dalal (2005), table 1: L, a, b of both colours and their difference.
TEST(Ciede2000, ReproducesThePublishedPairs) {
    const double pairs[34][7] = {
        {50, 2.6772, -79.7751, 50, 0, -82.7485, 2.0425},
        {50, 3.1571, -77.2803, 50, 0, -82.7485, 2.8615},
        {50, 2.8361, -74.02, 50, 0, -82.7485, 3.4412},
        {50, -1.3802, -84.2814, 50, 0, -82.7485, 1},
        {50, -1.1848, -84.8006, 50, 0, -82.7485, 1},
        {50, -0.9009, -85.5211, 50, 0, -82.7485, 1},
        {50, 0, 0, 50, -1, 2, 2.3669},
        {50, -1, 2, 50, 0, 0, 2.3669},
        {50, 2.49, -0.001, 50, -2.49, 0.0009, 7.1792},
        {50, 2.49, -0.001, 50, -2.49, 0.001, 7.1792},
        {50, 2.49, -0.001, 50, -2.49, 0.0011, 7.2195},
        {50, 2.49, -0.001, 50, -2.49, 0.0012, 7.2195},
        {50, -0.001, 2.49, 50, 0.0009, -2.49, 4.8045},
        {50, -0.001, 2.49, 50, 0.001, -2.49, 4.8045},
        {50, -0.001, 2.49, 50, 0.0011, -2.49, 4.7461},
        {50, 2.5, 0, 50, 0, -2.5, 4.3065},
        {50, 2.5, 0, 73, 25, -18, 27.1492},
        {50, 2.5, 0, 61, -5, 29, 22.8977},
        {50, 2.5, 0, 56, -27, -3, 31.903},
        {50, 2.5, 0, 58, 24, 15, 19.4535},
        {50, 2.5, 0, 50, 3.1736, 0.5854, 1},
        {50, 2.5, 0, 50, 3.2972, 0, 1},
        {50, 2.5, 0, 50, 1.8634, 0.5757, 1},
        {50, 2.5, 0, 50, 3.2592, 0.335, 1},
        {60.2574, -34.0099, 36.2677, 60.4626, -34.1751, 39.4387, 1.2644},
        {63.0109, -31.0961, -5.8663, 62.8187, -29.7946, -4.0864, 1.263},
        {61.2901, 3.7196, -5.3901, 61.4292, 2.248, -4.962, 1.8731},
        {35.0831, -44.1164, 3.7933, 35.0232, -40.0716, 1.5901, 1.8645},
        {22.7233, 20.0904, -46.694, 23.0331, 14.973, -42.5619, 2.0373},
        {36.4612, 47.858, 18.3852, 36.2715, 50.5065, 21.2231, 1.4146},
        {90.8027, -2.0831, 1.441, 91.1528, -1.6435, 0.0447, 1.4441},
        {90.9257, -0.5406, -0.9208, 88.6381, -0.8985, -0.7239, 1.5381},
        {6.7747, -0.2908, -2.4247, 5.8714, -0.0985, -2.2286, 0.6377},
        {2.0776, 0.0795, -1.135, 0.9033, -0.0636, -0.5514, 0.9082},
    };
    int number = 0;
    for (const auto& p : pairs) {
        SCOPED_TRACE(++number);
        const Lab x = {p[0], p[1], p[2]};
        const Lab y = {p[3], p[4], p[5]};
        EXPECT_NEAR(Ciede2000(x, y), p[6], 1e-4);
        EXPECT_NEAR(Ciede2000(y, x), p[6], 1e-4);
    }
}

TEST(ColourConversion, SrgbPrimariesLandWhereProfilesPutThem) {
    // D50 Lab of the sRGB primaries as ICC profiles give them.
    const struct {
        COLORREF colour;
        Lab lab;
    } known[] = {
        {0x0000FF, {54.29, 80.81, 69.89}},
        {0x00FF00, {87.82, -79.29, 80.99}},
        {0xFF0000, {29.57, 68.30, -112.03}},
        {0x777777, {50.03, 0, 0}},
    };
    for (const auto& k : known) {
        SCOPED_TRACE(k.colour);
        const Lab lab = SrgbToLab(k.colour | 0xAB000000);
        EXPECT_NEAR(lab.L, k.lab.L, 0.05);
        EXPECT_NEAR(lab.a, k.lab.a, 0.05);
        EXPECT_NEAR(lab.b, k.lab.b, 0.05);
    }
    // Every 8-bit colour survives the way there and back.
    for (COLORREF colour = 0; colour < 0x1000000; colour += 0x010305) {
        ASSERT_EQ(LabToSrgb(SrgbToLab(colour)), colour) << std::hex << colour;
    }
    // Outside the gamut each channel stops at its end.
    EXPECT_EQ(LabToSrgb({54.29, 120, 69.89}) & 0x00FFFF, 0x0000FFu);
}

// The record in the file's own terms, in `room` bytes marked beforehand: nothing written past them.
std::string Stored(const SwatchEntry& entry, std::size_t room = 30) {
    char text[40];
    std::memset(text, 0xBD, sizeof text);
    const std::size_t length = DescribeStoredColour(entry, text, room);
    EXPECT_EQ(length, std::strlen(text));
    EXPECT_EQ(static_cast<unsigned char>(text[room]), 0xBD);
    return text;
}

TEST(ColourConversion, EachStoredSpaceGivesItsColourAndItsOwnTerms) {
    const struct {
        SwatchEntry entry;
        COLORREF shown;
        const char* stored;
    } cases[] = {
        {Entry(0, 0x12FF, 0x3400, 0x56AB, 0xFFFF), 0x563412, ""},  // RGB: the high bytes only
        {Entry(1, 65535, 65535, 65535), 0x0000FF, "HSB 0\xC2\xB0 100 100 %"},
        {Entry(1, 65500, 0, 65535), 0xFFFFFF, "HSB 0\xC2\xB0 0 100 %"},
        {Entry(1, 21845, 65535, 65535), 0x00FF00, "HSB 120\xC2\xB0 100 100 %"},
        {Entry(1, 43690, 65535, 65535), 0xFF0000, "HSB 240\xC2\xB0 100 100 %"},
        {Entry(1, 10923, 65535, 65535), 0x00FFFF, "HSB 60\xC2\xB0 100 100 %"},
        {Entry(1, 30000, 65535, 0), 0x000000, "HSB 165\xC2\xB0 100 0 %"},
        {Entry(1, 0, 32768, 65535), 0x7F7FFF, "HSB 0\xC2\xB0 50 100 %"},  // just under half
        {Entry(2, 0, 65535, 65535, 65535), 0xFFFF00, "CMYK 100 0 0 0 %"},
        {Entry(2, 32768, 655, 64880, 0), 0x000000, "CMYK 50 99 1 100 %"},
        {Entry(7, 2957, 6830, 0x10000 - 11203), 0xFF0000, "Lab 29.57 68.30 -112.03"},
        {Entry(7, 8782, 0x10000 - 7929, 8099), 0x00FF00, "Lab 87.82 -79.29 80.99"},
        {Entry(7, 65535, 32767, 0x8000), 0xFFFFFF, "Lab 655.35 327.67 -327.68"},
        {Entry(8, 10000), 0x000000, "Grey 100 %"},
        {Entry(8, 7500), 0x404040, "Grey 75 %"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(Shown(c.entry), c.shown);
        EXPECT_EQ(Stored(c.entry), c.stored);
    }
    // Cut to the room given, and still ended.
    EXPECT_EQ(Stored(Entry(8, 5000), 5), "Grey");
    // Other spaces have neither.
    Lab lab;
    for (std::uint16_t space : {3, 4, 5, 6, 9, 4096, 65535}) {
        EXPECT_FALSE(EntryToLab(Entry(space, 1, 2, 3, 4), &lab));
        EXPECT_EQ(Stored(Entry(space, 1, 2, 3, 4)), "");
    }
}

// Files other programs wrote, each with a trait of its own, and the colours their names say.
TEST(SampleFiles, LoadWithTheirRecordsAndNamesAndShowTheColoursNamed) {
    const char* samples = std::getenv("TINTWELL_SAMPLES");
    if (samples == nullptr || !std::filesystem::is_directory(samples)) {
        GTEST_SKIP() << "no sample files";
    }
    constexpr LoadStatus kWarned = SWATCH_E_UNSUPPORTED | SWATCH_E_READ;
    const struct {
        const char* file;
        bool loads;
        LoadStatus status;
        std::size_t count = 0;
        SwatchEntry first = {};
        std::u16string firstName = u"";
        std::vector<std::tuple<std::size_t, std::u16string, COLORREF>> named = {};
    } files[] = {
        // clang-format off
        {"aco-samples/kdybicz_utf.aco", true, 0, 3, Entry(1, 0x2A2A, 0xA8A8, 0xE3E3),
         u"Zażółć gęślą jaźń"},
        {"aco-samples/kdybicz_cmyk.aco", true, 0, 6, Entry(2, 0xFFFF, 0, 0, 0xFFFF), u"CMYK Red",
         {{3, u"CMYK Cyan", 0xFFFF00}, {5, u"CMYK Magenta", 0xFF00FF}}},
        {"aco-samples/kdybicz_grayscale.aco", true, kWarned, 20, Entry(8, 0), u"White",
         {{0, u"White", 0xFFFFFF}, {19, u"Black", 0x000000}}},
        {"aco-samples/czebe_swatch-lab.aco", true, kWarned, 1, Entry(7, 0x1B58, 0xF128, 0xF63C),
         u"Swatch 1"},
        {"palette-samples/dagronf_ADG3-CMYK.ase", true, 0, 61,
         Entry(2, 0xF332, 0x0A3D, 0x3333, 0xC7AD), u"Red / R500"},
        {"palette-samples/dagronf_Caramel.gpl", true, 0, 256, Entry(0, 0x3030, 0x3030, 0x3030),
         u"grey19"},
        {"palette-samples/nsfmc_empty-white-folder.ase", false, SWATCH_E_COUNT},
        {"palette-samples/dagronf_unsupported_version.ase", false, SWATCH_E_READ},
        {"palette-samples/dagronf_arne-v20-16.act", true, 0, 15, Entry(0, 0x9D9D, 0x9D9D, 0x9D9D)},
        // clang-format on
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.file);
        const std::string path = (std::filesystem::path(samples) / f.file).string();
        SwatchTable table;
        SwatchNames names;
        table.SetFileName(path.c_str());
        ASSERT_EQ(table.Load(&names), f.loads);
        EXPECT_EQ(table.GetStatus(), f.status);
        if (f.loads) {
            ASSERT_EQ(table.GetCount(), f.count);
            EXPECT_EQ(std::memcmp(table.EntryAt(0), &f.first, sizeof f.first), 0);
            EXPECT_EQ(std::u16string(names.Name(0)), f.firstName);
        }
        for (const auto& [position, name, colour] : f.named) {
            EXPECT_EQ(std::u16string(names.Name(position)), name);
            EXPECT_EQ(Shown(*table.EntryAt(position)), colour);
        }
    }
}

// Tables of few distinct colours in every space, some unconvertible, out to the ends of what a
// file stores, so that ties are common; half of the queries are the table's own colours.
TEST(PerceptualSearch, TheIndexFindsWhatThePlainScanFinds) {
    std::mt19937 random(20240612);
    const std::uint16_t spaces[] = {0, 0, 0, 1, 2, 7, 8, 3, 4096},
                        ends[] = {0, 1, 32767, 32768, 65535};
    const auto component = [&] {
        return random() % 4 == 0 ? ends[random() % std::size(ends)] : random() & 0xFFFF;
    };
    PerceptualIndex index;
    int found = 0;
    for (std::size_t size : {0, 1, 2, 3, 10, 100, 1000, 5000}) {
        for (int round = 0; round < 10; ++round) {
            std::vector<SwatchEntry> pool, table(size);
            for (int i = 0; i < 40; ++i) {
                pool.push_back(Entry(spaces[random() % std::size(spaces)], component(), component(),
                                     component(), component()));
                if (pool.back().colourSpace == 7 && i % 2 == 0) {  // within what Lab holds
                    pool.back() = Entry(7, random() % 10001, random() % 25600 - 12800,
                                        random() % 25600 - 12800);
                }
            }
            for (SwatchEntry& entry : table) {
                entry = random() % 2 ? Rgb(random()) : pool[random() % 3 ? 0 : random() % 40];
            }
            ASSERT_TRUE(index.Build(table.data(), size));
            for (int query = 0; query < 40; ++query) {
                Lab lab;
                const bool own = size > 0 && query % 2 && EntryToLab(table[random() % size], &lab);
                const Lab target = SrgbToLab(own ? LabToSrgb(lab) : random() & 0xFFFFFF);
                const std::size_t plain = FindClosestPerceptualPlain(table.data(), size, target);
                ASSERT_EQ(index.Find(table.data(), size, target), plain) << size << " records";
                found += plain < size ? 1 : 0;
            }
        }
    }
    EXPECT_GT(found, 2000);
}

// However long a caller goes on asking, a walk does not start over where a search left it.
TEST(PerceptualSearch, TheTableMatchesAndItsWalkStaysAtTheEnd) {
    SwatchTable table;
    table.SetFileName("perceptual.aco");
    ASSERT_TRUE(WriteBytes("perceptual.aco",
                           AcoHeader(1, 2) + AcoRecord(3, 0, 0, 0) + AcoRecord(7, 5000, 0, 0)) &&
                table.Load());
    std::size_t position = 7;
    EXPECT_EQ(table.FindPerceptualColour(0x787878, &position), 0x777777u);
    EXPECT_EQ(position, 1u);
    EXPECT_EQ(table.FindClosestColour(0x787878), SWATCH_NO_COLOUR);  // no RGB record
    const SwatchEntry* entry = nullptr;
    for (int i = 0; i < 70000; ++i) {
        ASSERT_FALSE(table.GetNextEntry(&entry));
    }
    EXPECT_LT(table.DeltaE(0x102030, 0), 0);
    EXPECT_EQ(std::remove("perceptual.aco"), 0);
}

TEST(ClosestRgb, TheFastScanAgreesWithThePlainOne) {
    // Few channel values and some other colour spaces, so that ties, exact matches, entries 765
    // away and entries to pass over are common.
    const std::uint8_t channels[] = {0, 1, 2, 127, 128, 254, 255};
    std::mt19937 random(20240611);
    const auto channel = [&] { return channels[random() % std::size(channels)]; };
    for (std::size_t size : {0, 1, 7, 8, 9, 15, 16, 17, 31, 33, 64, 127, 1000, 65535}) {
        for (int round = 0; round < 20; ++round) {
            std::vector<SwatchEntry> table(size);
            for (SwatchEntry& entry : table) {
                entry.colourSpace = random() % 3 == 0 ? static_cast<std::uint16_t>(random()) : 0;
                for (int i = 0; i < 8; ++i) {
                    entry.components[i] = i % 2 == 0 && i < 6 ? channel() : random() & 0xFF;
                }
            }
            const COLORREF colour =
                (random() & 0xFF000000) | channel() << 16 | channel() << 8 | channel();
            ASSERT_EQ(FindClosestRgb(table.data(), size, colour),
                      FindClosestRgbPlain(table.data(), size, colour))
                << size << " entries, colour " << std::hex << colour;
        }
    }
}

#if defined(_WIN32) && defined(__i386__)
// 32-bit Windows promises a callback such as a dialog procedure only four-byte stack alignment.
TEST(ClosestRgb, RunsOnAStackOffASixteenByteBoundary) {
    std::vector<SwatchEntry> table(64);
    table[40] = {0, {0x80, 0, 0x80, 0, 0x80, 0, 0, 0}};
    const std::uint32_t args[3] = {reinterpret_cast<std::uint32_t>(table.data()), 64, 0x808080};
    std::size_t result;
    asm volatile(
        "movl %%esp, %%esi\n\t"
        "andl $-16, %%esp\n\t"
        "subl $8, %%esp\n\t"  // with the arguments, 4 bytes below a 16-byte boundary
        "pushl 8(%%edi)\n\t"
        "pushl 4(%%edi)\n\t"
        "pushl (%%edi)\n\t"
        "call %P[function]\n\t"
        "movl %%esi, %%esp"
        : "=a"(result)
        : "D"(args), [function] "i"(&FindClosestRgb)
        : "ecx", "edx", "esi", "memory", "cc");
    EXPECT_EQ(result, 40u);
}
#endif

}  // namespace
