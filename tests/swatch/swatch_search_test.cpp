#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "swatch/swatch_table.h"
#include "tests/swatch/swatch_test_support.h"

namespace {

constexpr COLORREF kBlack = 0x00000000;
constexpr COLORREF kWhite = 0x00FFFFFF;

// A table loaded from records, under a header whose count matches them unless told otherwise.
struct LoadedTable {
    explicit LoadedTable(const std::string& records, std::size_t count = 0)
        : path(dir.Write("t.aco", Header(1, static_cast<std::uint16_t>(
                                                count != 0 ? count : records.size() / 10)) +
                                      records)) {
        table.SetFileName(path.c_str());
        loaded = table.Load();
    }

    ScratchDir dir;
    std::string path;
    SwatchTable table;
    bool loaded = false;
};

TEST(SwatchConversion, OnlyHighBytesOfTheFirstThreeComponentsAreColour) {
    EXPECT_EQ(SwatchTable::EntryToColour(nullptr), SWATCH_NO_COLOUR);
    SwatchEntry entry = {0, {0x12, 0xFF, 0x34, 0x00, 0x56, 0x01, 0xAB, 0xCD}};
    EXPECT_EQ(SwatchTable::EntryToColour(&entry), 0x00563412u);
    entry.colourSpace = 1;
    EXPECT_EQ(SwatchTable::EntryToColour(&entry), SWATCH_NO_COLOUR);

    EXPECT_FALSE(SwatchTable::ColourToEntry(0x00123456, nullptr, 0));
    std::memset(&entry, 0xAA, sizeof entry);
    ASSERT_TRUE(SwatchTable::ColourToEntry(0xFF123456, &entry, 7));
    EXPECT_EQ(entry.colourSpace, 7);
    const std::uint8_t expected[8] = {0x56, 0xAA, 0x34, 0xAA, 0x12, 0xAA, 0xAA, 0xAA};
    EXPECT_EQ(std::memcmp(entry.components, expected, sizeof expected), 0);
}

TEST(SwatchSearch, FindsTheEarliestClosestRgbEntry) {
    const struct {
        const char* what;
        std::string records;
        COLORREF query;
        COLORREF expected;
    } cases[] = {
        {"a tie goes to the earlier entry", Rgb(10, 10, 10) + Rgb(20, 20, 20), 0x0F0F0F, 0x0A0A0A},
        {"exact match", Rgb(0, 0, 0) + Rgb(0x56, 0x34, 0x12) + Rgb(0x12, 0x34, 0x56), 0x123456,
         0x123456},
        // From 0x123456: 41 (23 + 4 + 14), then 40 (22 + 4 + 14), then 40 in blue alone.
        {"distance sums the channels",
         Rgb(0x3F, 0x30, 0x20) + Rgb(0x40, 0x30, 0x20) + Rgb(0x56, 0x34, 0x3A), 0x123456, 0x203040},
        {"other colour spaces are passed over",
         Record(1, 0x1000, 0x2000, 0x3000) + Record(8, 0x1000, 0x2000, 0x3000) + Rgb(200, 200, 200),
         0x302010, 0xC8C8C8},
        {"no RGB entry", Record(1, 0, 0, 0) + Record(2, 0, 0, 0), kBlack, SWATCH_NO_COLOUR},
        {"white never matches black", Rgb(0, 0, 0), kWhite, SWATCH_NO_COLOUR},
        {"black never matches white", Rgb(255, 255, 255), kBlack, SWATCH_NO_COLOUR},
        {"764 away matches", Rgb(0, 0, 0) + Rgb(1, 0, 0), kWhite, 0x000001},
        {"low bytes play no part", Record(0, 0x00FF, 0x00FF, 0x00FF), kWhite, SWATCH_NO_COLOUR},
        {"no rounding", Record(0, 0x80FF, 0x80FF, 0x80FF) + Rgb(0x81, 0x81, 0x81), 0x808080,
         0x808080},
        {"bits 24 to 31 of the query are ignored", Rgb(0x56, 0x34, 0x12), 0x01123456, 0x123456},
        {"0xFFFFFFFF looks for white", Rgb(0, 0, 0) + Rgb(250, 250, 250), 0xFFFFFFFF, 0xFAFAFA},
    };
    for (const auto& c : cases) {
        LoadedTable t(c.records);
        ASSERT_TRUE(t.loaded);
        EXPECT_EQ(t.table.FindClosestColour(c.query), c.expected) << c.what;
    }
}

TEST(SwatchSearch, GivesThePointerOfTheFirstEqualEntry) {
    LoadedTable t(Rgb(9, 9, 9) + Rgb(5, 5, 5) + Record(0, 0x0501, 0x0502, 0x0503));
    const SwatchEntry* first = nullptr;
    const SwatchEntry* second = nullptr;
    ASSERT_TRUE(t.table.GetFirstEntry(&first));
    ASSERT_TRUE(t.table.GetNextEntry(&second));
    SwatchEntry target = {};
    SwatchTable::ColourToEntry(0x050505, &target, 0);
    EXPECT_EQ(t.table.FindClosestEntry(&target), second);
    EXPECT_EQ(t.table.FindClosestEntryColour(&target), 0x050505u);
    EXPECT_EQ(t.table.FindClosestEntry(nullptr), nullptr);
    target.colourSpace = 1;
    EXPECT_EQ(t.table.FindClosestEntry(&target), nullptr);
}

TEST(SwatchSearch, OnlyANeverLoadedTableHasItsStatusWritten) {
    ScratchDir dir;
    const std::string missing = dir.PathOf("missing.aco");
    SwatchTable fresh;
    EXPECT_EQ(fresh.FindClosestColour(kBlack), SWATCH_NO_COLOUR);
    EXPECT_EQ(fresh.GetStatus(), SWATCH_E_NOT_LOADED);
    fresh.SetFileName(missing.c_str());
    ASSERT_FALSE(fresh.Load());
    EXPECT_EQ(fresh.FindClosestColour(kBlack), SWATCH_NO_COLOUR);
    EXPECT_EQ(fresh.GetStatus(), SWATCH_E_NOT_LOADED);

    LoadedTable flagged(Rgb(1, 1, 1) + Record(7, 0, 0, 0));
    EXPECT_EQ(flagged.table.FindClosestColour(kBlack), 0x010101u);
    EXPECT_EQ(flagged.table.GetStatus(), SWATCH_E_UNSUPPORTED | SWATCH_E_READ);

    // Loaded, even if with nothing: the status of a later failed load survives a search.
    LoadedTable empty("", 3);
    ASSERT_TRUE(empty.loaded);
    empty.table.SetFileName(missing.c_str());
    ASSERT_FALSE(empty.table.Load());
    EXPECT_EQ(empty.table.FindClosestColour(kBlack), SWATCH_NO_COLOUR);
    EXPECT_EQ(empty.table.GetStatus(), 0xE000000Au);
}

TEST(SwatchCursor, WalksTheEntriesInFileOrderAndStopsAtTheEnd) {
    LoadedTable t(Rgb(1, 1, 1) + Rgb(2, 2, 2) + Rgb(3, 3, 3));
    const SwatchEntry* entry = nullptr;
    EXPECT_FALSE(t.table.GetFirstEntry(nullptr));
    ASSERT_TRUE(t.table.GetFirstEntry(&entry));
    ASSERT_TRUE(t.table.GetNextEntry(&entry));
    // Calls with nowhere to put the entry leave the cursor alone.
    EXPECT_FALSE(t.table.GetNextEntry(nullptr));
    EXPECT_FALSE(t.table.GetFirstEntry(nullptr));
    ASSERT_TRUE(t.table.GetNextEntry(&entry));
    EXPECT_EQ(SwatchTable::EntryToColour(entry), 0x030303u);
    // However long a caller goes on asking, the walk does not start over.
    int more = 0;
    for (int i = 0; i < 70000; ++i) {
        more += t.table.GetNextEntry(&entry) ? 1 : 0;
    }
    EXPECT_EQ(more, 0);

    ASSERT_TRUE(t.table.GetFirstEntry(&entry));
    EXPECT_EQ(t.table.FindClosestColour(0x010101), 0x010101u);
    EXPECT_FALSE(t.table.GetNextEntry(&entry));
}

}  // namespace
