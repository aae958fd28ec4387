#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "swatch/swatch_table.h"
#include "tests/swatch/swatch_test_support.h"

namespace {

constexpr COLORREF kBlack = 0x00000000;
constexpr COLORREF kWhite = 0x00FFFFFF;

// A table loaded from the given records, with a header count that matches them.
class LoadedTable {
  public:
    explicit LoadedTable(const std::string& records, std::uint16_t version = 1) {
        const auto count = static_cast<std::uint16_t>(records.size() / 10);
        path_ = dir_.Write("table.aco", AcoBuilder().Header(version, count).Append(records).Data());
        table.SetFileName(path_.c_str());
        loaded = table.Load();
    }

    SwatchTable table;
    bool loaded = false;

  private:
    ScratchDir dir_;
    std::string path_;
};

TEST(SwatchConversion, EntryToColourTakesTheHighBytesOfRgbEntriesOnly) {
    EXPECT_EQ(SwatchTable::EntryToColour(nullptr), SWATCH_NO_COLOUR);
    SwatchEntry entry = {0, {0x12, 0xFF, 0x34, 0x00, 0x56, 0x01, 0xAB, 0xCD}};
    EXPECT_EQ(SwatchTable::EntryToColour(&entry), 0x00563412u);
    entry.components[0] = 0x80;
    entry.components[1] = 0xFF;
    EXPECT_EQ(SwatchTable::EntryToColour(&entry) & 0xFF, 0x80u);
    for (std::uint16_t space : {1, 2, 8, 0x100, 0xFFFF}) {
        entry.colourSpace = space;
        EXPECT_EQ(SwatchTable::EntryToColour(&entry), SWATCH_NO_COLOUR) << space;
    }
}

TEST(SwatchConversion, ColourToEntryWritesOnlyTheColourSpaceAndHighBytes) {
    EXPECT_FALSE(SwatchTable::ColourToEntry(0x00123456, nullptr, 0));
    SwatchEntry entry;
    std::memset(&entry, 0xAA, sizeof entry);
    ASSERT_TRUE(SwatchTable::ColourToEntry(0xFF123456, &entry, 7));
    EXPECT_EQ(entry.colourSpace, 7);
    const std::uint8_t expected[8] = {0x56, 0xAA, 0x34, 0xAA, 0x12, 0xAA, 0xAA, 0xAA};
    EXPECT_EQ(std::memcmp(entry.components, expected, sizeof expected), 0);
}

struct SearchCase {
    const char* what;
    std::string records;
    COLORREF query;
    COLORREF expected;
};

TEST(SwatchSearch, FindsTheEarliestClosestRgbEntry) {
    const std::vector<SearchCase> cases = {
        {"tie goes to the earlier entry", AcoBuilder().Rgb(10, 10, 10).Rgb(20, 20, 20).Data(),
         0x000F0F0F, 0x000A0A0A},
        {"a closer later entry wins", AcoBuilder().Rgb(0, 0, 0).Rgb(0x56, 0x34, 0x13).Data(),
         0x00123456, 0x00133456},
        // Against 0x00123456: 41 (23 + 4 + 14), then 40 (22 + 4 + 14), then 40 in blue alone.
        {"distance sums the three channels",
         AcoBuilder().Colour(0x0020303F).Colour(0x00203040).Colour(0x003A3456).Data(), 0x00123456,
         0x00203040},
        {"channels are not mixed up",
         AcoBuilder().Rgb(0x12, 0x34, 0x56).Rgb(0x56, 0x34, 0x12).Data(), 0x00123456, 0x00123456},
        {"same-coloured entries of other spaces are passed over",
         AcoBuilder()
             .Record(1, 0x1000, 0x2000, 0x3000)
             .Record(2, 0x1000, 0x2000, 0x3000)
             .Record(8, 0x1000, 0x2000, 0x3000)
             .Rgb(200, 200, 200)
             .Data(),
         0x00302010, 0x00C8C8C8},
        {"no RGB entry at all",
         AcoBuilder().Record(1, 0, 0, 0).Record(2, 0, 0, 0).Record(7, 0, 0, 0).Data(), kBlack,
         SWATCH_NO_COLOUR},
        {"white never matches black", AcoBuilder().Rgb(0, 0, 0).Data(), kWhite, SWATCH_NO_COLOUR},
        {"black never matches white", AcoBuilder().Rgb(255, 255, 255).Data(), kBlack,
         SWATCH_NO_COLOUR},
        {"764 away still matches", AcoBuilder().Rgb(0, 0, 0).Rgb(1, 0, 0).Data(), kWhite,
         0x00000001},
        {"the low bytes play no part", AcoBuilder().Record(0, 0x00FF, 0x00FF, 0x00FF).Data(),
         kWhite, SWATCH_NO_COLOUR},
        {"high bytes are taken without rounding",
         AcoBuilder().Record(0, 0x80FF, 0x80FF, 0x80FF).Rgb(0x81, 0x81, 0x81).Data(), 0x00808080,
         0x00808080},
        {"bits 24 to 31 of the query are ignored",
         AcoBuilder().Rgb(0x56, 0x34, 0x12).Rgb(0, 0, 0).Data(), 0x01123456, 0x00123456},
        {"0xFFFFFFFF looks for white", AcoBuilder().Rgb(0, 0, 0).Rgb(250, 250, 250).Data(),
         0xFFFFFFFF, 0x00FAFAFA},
    };
    for (const SearchCase& c : cases) {
        SCOPED_TRACE(c.what);
        LoadedTable t(c.records);
        ASSERT_TRUE(t.loaded);
        EXPECT_EQ(t.table.FindClosestColour(c.query), c.expected);
    }
}

TEST(SwatchSearch, GivesThePointerOfTheFirstEqualEntry) {
    LoadedTable t(AcoBuilder().Rgb(9, 9, 9).Rgb(5, 5, 5).Record(0, 0x0501, 0x0502, 0x0503).Data());
    std::vector<const SwatchEntry*> entries;
    const SwatchEntry* entry = nullptr;
    for (bool more = t.table.GetFirstEntry(&entry); more; more = t.table.GetNextEntry(&entry)) {
        entries.push_back(entry);
    }
    ASSERT_EQ(entries.size(), 3u);

    SwatchEntry target = {};
    SwatchTable::ColourToEntry(0x00050505, &target, 0);
    EXPECT_EQ(t.table.FindClosestEntry(&target), entries[1]);
    EXPECT_EQ(t.table.FindClosestEntryColour(&target), 0x00050505u);

    EXPECT_EQ(t.table.FindClosestEntry(nullptr), nullptr);
    EXPECT_EQ(t.table.FindClosestEntryColour(nullptr), SWATCH_NO_COLOUR);
    target.colourSpace = 1;
    EXPECT_EQ(t.table.FindClosestEntry(&target), nullptr);
}

TEST(SwatchSearch, OnlyANeverLoadedTableHasItsStatusWritten) {
    SwatchTable fresh;
    EXPECT_EQ(fresh.FindClosestColour(kBlack), SWATCH_NO_COLOUR);
    EXPECT_EQ(fresh.GetStatus(), SWATCH_E_NOT_LOADED);

    ScratchDir dir;
    const std::string missing = (dir.Path() / "missing.aco").string();
    fresh.SetFileName(missing.c_str());
    ASSERT_FALSE(fresh.Load());
    ASSERT_EQ(fresh.GetStatus(), 0xE000000Au);
    EXPECT_EQ(fresh.FindClosestColour(kBlack), SWATCH_NO_COLOUR);
    EXPECT_EQ(fresh.GetStatus(), SWATCH_E_NOT_LOADED);

    LoadedTable flagged(AcoBuilder().Rgb(1, 1, 1).Record(7, 0, 0, 0).Data());
    ASSERT_EQ(flagged.table.GetStatus(), SWATCH_E_UNSUPPORTED | SWATCH_E_READ);
    EXPECT_EQ(flagged.table.FindClosestColour(kBlack), 0x00010101u);
    EXPECT_EQ(flagged.table.GetStatus(), SWATCH_E_UNSUPPORTED | SWATCH_E_READ);

    // Loaded once, then a load failed: the table still answers, and the failure stays readable.
    flagged.table.SetFileName(missing.c_str());
    ASSERT_FALSE(flagged.table.Load());
    EXPECT_EQ(flagged.table.FindClosestColour(kBlack), 0x00010101u);
    EXPECT_EQ(flagged.table.GetStatus(), 0xE000000Au);
}

TEST(SwatchSearch, ATableLoadedWithoutRecordsFindsNothing) {
    ScratchDir dir;
    const std::string path = dir.Write("empty.aco", AcoBuilder().Header(1, 3).Data());
    SwatchTable table;
    table.SetFileName(path.c_str());
    ASSERT_TRUE(table.Load());
    EXPECT_EQ(table.FindClosestColour(kBlack), SWATCH_NO_COLOUR);
    EXPECT_EQ(table.GetStatus(), SWATCH_E_COUNT | SWATCH_E_READ);
    const SwatchEntry* entry = nullptr;
    EXPECT_FALSE(table.GetFirstEntry(&entry));
    EXPECT_FALSE(table.GetNextEntry(&entry));

    // It has been loaded, so the status of a later failed load survives the search.
    const std::string missing = (dir.Path() / "missing.aco").string();
    table.SetFileName(missing.c_str());
    ASSERT_FALSE(table.Load());
    EXPECT_EQ(table.FindClosestColour(kBlack), SWATCH_NO_COLOUR);
    EXPECT_EQ(table.GetStatus(), 0xE000000Au);
}

TEST(SwatchCursor, WalksTheEntriesInFileOrderAndStopsAtTheEnd) {
    LoadedTable t(AcoBuilder().Rgb(1, 1, 1).Rgb(2, 2, 2).Rgb(3, 3, 3).Data());
    const SwatchEntry* entry = nullptr;
    EXPECT_FALSE(t.table.GetFirstEntry(nullptr));
    EXPECT_FALSE(t.table.GetNextEntry(nullptr));
    ASSERT_TRUE(t.table.GetFirstEntry(&entry));
    EXPECT_EQ(SwatchTable::EntryToColour(entry), 0x00010101u);
    // Calls without somewhere to put the entry leave the cursor alone.
    EXPECT_FALSE(t.table.GetNextEntry(nullptr));
    EXPECT_FALSE(t.table.GetFirstEntry(nullptr));
    ASSERT_TRUE(t.table.GetNextEntry(&entry));
    EXPECT_EQ(SwatchTable::EntryToColour(entry), 0x00020202u);
    ASSERT_TRUE(t.table.GetNextEntry(&entry));
    EXPECT_EQ(SwatchTable::EntryToColour(entry), 0x00030303u);

    // However long a caller goes on asking, the walk does not start over.
    int extra = 0;
    for (int i = 0; i < 70000; ++i) {
        extra += t.table.GetNextEntry(&entry) ? 1 : 0;
    }
    EXPECT_EQ(extra, 0);
    ASSERT_TRUE(t.table.GetFirstEntry(&entry));
    EXPECT_EQ(SwatchTable::EntryToColour(entry), 0x00010101u);
}

TEST(SwatchCursor, ASearchLeavesTheCursorAtTheEnd) {
    LoadedTable t(AcoBuilder().Rgb(1, 1, 1).Rgb(2, 2, 2).Rgb(3, 3, 3).Data());
    const SwatchEntry* entry = nullptr;
    ASSERT_TRUE(t.table.GetFirstEntry(&entry));
    EXPECT_EQ(t.table.FindClosestColour(0x00010101), 0x00010101u);
    EXPECT_FALSE(t.table.GetNextEntry(&entry));
}

}  // namespace
