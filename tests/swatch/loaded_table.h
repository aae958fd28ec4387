// A table after a load, as the tests compare it: the outcome, the records as a swatch file
// stores them, and each record's name.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "swatch/swatch_names.h"
#include "swatch/swatch_table.h"
#include "tests/support/palette_writer.h"

using Names = std::vector<std::u16string>;

struct Loaded {
    bool loads;
    LoadStatus status;
    std::string records;
    Names names;
};

// What the table held before the load under test; a failed load leaves it there.
inline const std::string kBefore = AcoRecord(0, 0, 0, 0);

// Loads `path` (with its names when `named`) into a table that held kBefore.
inline Loaded LoadOver(const char* path, bool named = true) {
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
inline Loaded LoadBytes(const std::string& bytes, const char* path = "test.aco",
                        bool named = true) {
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

inline void Check(const Case& c, const char* path, bool named = true) {
    SCOPED_TRACE(c.what);
    const Loaded loaded = LoadBytes(c.file, path, named);
    EXPECT_EQ(loaded.loads, c.loads);
    EXPECT_EQ(loaded.status, c.status);
    EXPECT_EQ(loaded.records, c.loads ? c.records : kBefore);
    if (!c.names.empty()) {
        EXPECT_EQ(loaded.names, c.names);
    }
}
