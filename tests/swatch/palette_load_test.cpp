// Palette files of every format, as a table loads them: the records and names a swatch file of the
// same colours would give, and every damaged shape refused with the table kept as it was.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "swatch/byte_reader.h"
#include "swatch/formats/palette_reader.h"
#include "swatch/swatch_file.h"
#include "swatch/swatch_names.h"
#include "swatch/swatch_table.h"
#include "tests/support/palette_writer.h"

namespace {

using Names = std::vector<std::u16string>;

struct Loaded {
    bool loads;
    LoadStatus status;
    std::string records;
    Names names;
};

// What the table held before the load under test; a failed load leaves it there.
const std::string kBefore = AcoRecord(0, 0, 0, 0);

// Loads `path` (with its names when `named`) into a table that held kBefore.
Loaded LoadOver(const char* path, bool named = true) {
    SwatchTable table;
    table.SetFileName("before.aco");
    EXPECT_TRUE(WriteBytes("before.aco", AcoHeader(1, 1) + kBefore) && table.Load());
    EXPECT_EQ(std::remove("before.aco"), 0);
    table.SetFileName(path);
    SwatchNames names;
    Loaded loaded{named ? table.Load(&names) : table.Load(), table.GetStatus(), "", {}};
    EXPECT_TRUE(table.IsLoaded());
    const SwatchEntry* entry = nullptr;
    for (bool more = table.GetFirstEntry(&entry); more; more = table.GetNextEntry(&entry)) {
        loaded.records += Be16(entry->colourSpace);
        loaded.records.append(reinterpret_cast<const char*>(entry->components), 8);
        loaded.names.emplace_back(names.Name(loaded.names.size()));
    }
    return loaded;
}

// `bytes` as the file `path` in the working directory, loaded over kBefore, then removed.
Loaded LoadBytes(const std::string& bytes, const char* path = "test.aco", bool named = true) {
    EXPECT_TRUE(WriteBytes(path, bytes));
    const Loaded loaded = LoadOver(path, named);
    // Windows refuses to delete a file that is still open.
    EXPECT_EQ(std::remove(path), 0);
    return loaded;
}

struct Case {
    const char* what;
    std::string file;
    bool loads;
    LoadStatus status;
    std::string records = "";  // when it loads; otherwise kBefore
    Names names = {};          // when given
};

void Check(const Case& c, const char* path, bool named = true) {
    SCOPED_TRACE(c.what);
    const Loaded loaded = LoadBytes(c.file, path, named);
    EXPECT_EQ(loaded.loads, c.loads);
    EXPECT_EQ(loaded.status, c.status);
    EXPECT_EQ(loaded.records, c.loads ? c.records : kBefore);
    if (!c.names.empty()) {
        EXPECT_EQ(loaded.names, c.names);
    }
}

std::string Records(int count) {
    std::string bytes;
    for (int i = 0; i < count; ++i) {
        bytes += AcoRecord(0, i, 0xFFFF - i, i * 7, i ^ 0x5A5A);
    }
    return bytes;
}
// What follows a version-2 record: the name's length in two-byte units, then up to `units` units.
std::string Name(unsigned length, unsigned units = ~0u) {
    return AcoName(length, std::u16string(units < length ? units : length, u'n'));
}

// `count` plain records, then a header of `version` counting `named`.
std::string Plain(unsigned count, unsigned version, unsigned named) {
    return AcoHeader(1, count) + std::string(10 * count, '\0') + AcoHeader(version, named);
}
// A record and its name: a length of `length` units, then `text`; by default the text and a zero.
std::string Named(const std::u16string& text, unsigned length = ~0u) {
    return AcoRecord(0, 0, 0, 0) +
           (length == ~0u ? AcoName(static_cast<unsigned>(text.size() + 1), text + u'\0')
                          : AcoName(length, text));
}

constexpr LoadStatus kShort = SWATCH_E_COUNT | SWATCH_E_READ;
constexpr LoadStatus kWarned = SWATCH_E_UNSUPPORTED | SWATCH_E_READ;
const std::string r0 = AcoRecord(0, 0x100, 0x200, 0x300), r1 = AcoRecord(0, 0x400, 0x500, 0x600),
                  r2 = AcoRecord(0, 0x700, 0x800, 0x900), three = r0 + r1 + r2;
const std::string lab = AcoRecord(7, 1, 2, 3, 4), s3 = AcoRecord(3, 1, 0, 0),
                  s8 = AcoRecord(8, 0, 1, 0), s4096 = AcoRecord(4096, 0, 0, 1);
const std::string quiet = AcoRecord(2, 1, 1, 1) + AcoRecord(9, 2, 2, 2) + AcoRecord(4095, 3, 3, 3) +
                          AcoRecord(4097, 4, 4, 4);

TEST(SwatchLoad, EachFileShapeHasItsOutcome) {
    const Case cases[] = {
        {"three bytes", std::string("\0\1\0", 3), false, SWATCH_E_READ},
        {"too few records", AcoHeader(1, 5) + three + "123456789", true, kShort, three},
        {"more records than the count, flagged past it", AcoHeader(1, 12) + Records(12) + lab, true,
         0, Records(12)},
        {"largest count", AcoHeader(1, 65535) + Records(65535), true, 0, Records(65535)},
        {"colour spaces that do not warn", AcoHeader(1, 4) + quiet, true, 0, quiet},
        {"colour space 3", AcoHeader(1, 1) + s3, true, kWarned, s3},
        {"colour space 8", AcoHeader(1, 1) + s8, true, kWarned, s8},
        {"colour space 4096", AcoHeader(1, 1) + s4096, true, kWarned, s4096},
        {"flagged and too few", AcoHeader(1, 3) + r0 + lab, true, kWarned | kShort, r0 + lab},
        {"version bytes 02 00", AcoHeader(0x0200, 3) + three, true, 0, three},
        // The second name's length and the last record straddle chunks.
        {"version 2",
         AcoHeader(2, 4) + r0 + Name(37) + r1 + Name(0) + r2 + Name(240) + r0 + Name(1), true, 0,
         three + r0},
        // Twice this length overflows 32 bits.
        {"version 2, name longer than the file", AcoHeader(2, 2) + r0 + Name(0x80000000, 0) + r1,
         true, kShort, ""},
    };
    for (const Case& c : cases) {
        Check(c, "test.aco", false);
    }
}

// The name's length alone shows that it runs past the end: the 1 GB hole after it, which costs
// no disk, is not read to its end for nothing.
TEST(SwatchLoad, ANameLengthPastTheEndEndsTheLoadAtOnce) {
    ASSERT_TRUE(WriteBytes("test.aco", AcoHeader(2, 2) + r0 + Name(1) + r1 + Name(0x7FFFFFFF, 0)));
    std::filesystem::resize_file("test.aco", std::uintmax_t{1} << 30);
    {
        SwatchFile file;
        ASSERT_EQ(file.Open("test.aco"), 0u);
        ByteReader in(file);
        SwatchNames names;
        Palette palette(&names);
        EXPECT_TRUE(ReadPalette(in, "test.aco", palette).loaded);
        EXPECT_LE(in.Fetched(), 4096u);
    }
    EXPECT_EQ(std::remove("test.aco"), 0);
}

TEST(SwatchNames, WhatCannotBeReadHasNoName) {
    const std::u16string a64(64, u'a'), a62(62, u'a');
    const struct {
        const char* what;
        std::string file;
        Names names;
    } cases[] = {
        {"named only", AcoHeader(2, 2) + Named(u"Teal") + Named(u""), {u"Teal", u""}},
        {"named section counts fewer",
         Plain(3, 2, 1) + Named(u"x") + Named(u"y"),
         {u"x", u"", u""}},
        {"cut off inside a name", Plain(2, 2, 2) + Named(u"x") + Named(u"yz", 3), {u"x", u""}},
        {"length 0, unterminated, zero inside, control character",
         Plain(4, 2, 4) + Named(u"", 0) + Named(u"ab", 2) + Named(std::u16string(u"a\0b", 3), 3) +
             Named(u"d\te"),
         {u"", u"ab", u"a", u"d e"}},
        {"64 units kept, a longer name cut, never inside a pair",
         Plain(3, 2, 3) + Named(a64) + Named(a64 + u"b") + Named(a62 + u"\U0001F600b"),
         {a64, std::u16string(63, u'a') + u"…", a62 + u"…"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LoadBytes(c.file).names, c.names) << c.what;
    }
}

// No name, no file, or no regular file: a device, pipe or FIFO could block the read for ever,
// before any window exists, and is refused at once as a refused access, whatever the name says.
TEST(SwatchLoad, NothingButARegularFileIsRead) {
    constexpr LoadStatus kRefused = 0xE000000D;
#ifdef _WIN32
    // A pipe with a server waiting: the open connects, and a read would wait for its data.
    const HANDLE pipe = CreateNamedPipeA("\\\\.\\pipe\\tintwell-test.aco", PIPE_ACCESS_OUTBOUND,
                                         PIPE_TYPE_BYTE, 1, 0, 0, 0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    const std::pair<const char*, LoadStatus> paths[] = {
        {nullptr, 0},
        {".", kRefused},
        {"nul.aco", kRefused},
        {"\\\\.\\COM1", kRefused},
        {"\\\\.\\pipe\\tintwell-test.aco", kRefused},
    };
#else
    const std::string fifo = "fifo-" + std::to_string(getpid()) + ".aco";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<const char*, LoadStatus> paths[] = {
        {nullptr, 0},
        {".", kRefused},
        {"/dev/null", kRefused},
        {fifo.c_str(), kRefused},
    };
#endif
    for (const auto& [path, status] : paths) {
        SCOPED_TRACE(path == nullptr ? "no name" : path);
        const Loaded loaded = LoadOver(path, false);
        EXPECT_FALSE(loaded.loads);
        EXPECT_EQ(loaded.status, status);
        EXPECT_EQ(loaded.records, kBefore);
    }
#ifdef _WIN32
    CloseHandle(pipe);
#else
    std::remove(fifo.c_str());
#endif
}

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
        {"a block longer than its colour: the rest passed over",
         AseFile({AseBlock(0x0001, AseName(u"W") + "Gray" + BeFloat(1) + Be16(2) + "extra"), white}),
         true, kWarned, AcoRecord(8, 0, 0, 0) + Rgb(255, 255, 255), {u"W", u"White"}},
        {"version 2", AseFile({white}, -1, 2), false, SWATCH_E_READ},
        {"a block too short for its colour, bytes after it",
         AseFile({AseBlock(0x0001, AseName(u"W") + "RGB " + BeFloat(1))}) + std::string(8, '\0'),
         false, SWATCH_E_READ},
        {"no blocks", AseFile({}), false, SWATCH_E_COUNT},
        {"a huge block count over one colour", AseFile({white}, 0x7FFFFFFF), false, SWATCH_E_READ},
    };
    // clang-format on
    for (const Case& c : cases) {
        Check(c, "test.ase");
    }
}

TEST(ColourTable, CountAndTransparentIndexChooseTheColours) {
    const std::vector<Swatch> ramp = Ramp(256);
    const std::string all = RecordsOf(ramp);
    // clang-format off
    const Case cases[] = {
        {"768 bytes: all 256", ActFile(ramp), true, 0, all},
        {"a transparent index past the count", ActFile(ramp, 16, 16), true, 0, RecordsOf(Ramp(16))},
        {"count 0 is the whole table", ActFile(ramp, 0), true, 0, all},
        {"count 300 is the whole table", ActFile(ramp, 300, 255), true, 0, RecordsOf(Ramp(256, 255))},
        {"one colour, transparent", ActFile(ramp, 1, 0), false, SWATCH_E_COUNT},
    };
    // clang-format on
    for (const Case& c : cases) {
        Check(c, "test.act");
    }
    // Only a file so named is a colour table; else a swatch file of one record.
    const std::string asSwatchFile = ActFile(ramp).substr(4, 10);
    Check({"a swatch file's name", ActFile(ramp), true, 0, asSwatchFile}, "test.aco");
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
        {"the first line alone", "GIMP Palette", false, SWATCH_E_READ},
        {"a name joined to a value", "GIMP Palette\n1 2 3name\n", false, SWATCH_E_READ},
        {"a value past 255", "GIMP Palette\n1 256 3\n", false, SWATCH_E_READ},
        {"a bad line after good ones", "GIMP Palette\n1 2 3\n4 5 6\n7 8\n", false, SWATCH_E_READ},
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
    Check({"GIMP palette", PaletteFile(".gpl", swatches), true, kShort, records}, "big.gpl");
}

}  // namespace
