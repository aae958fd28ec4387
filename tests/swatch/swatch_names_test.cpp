#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "swatch/swatch_names.h"
#include "swatch/swatch_table.h"
#include "tests/support/palette_writer.h"

namespace {

using Names = std::vector<std::u16string>;

// `count` plain records, then a header of `version` counting `named`.
std::string Plain(unsigned count, unsigned version, unsigned named) {
    return AcoHeader(1, count) + std::string(10 * count, '\0') + AcoHeader(version, named);
}
// A named record: the record, a length of `length` units, then `text`; by default the text and
// its zero.
std::string Named(const std::u16string& text, unsigned length = ~0u) {
    return AcoRecord(0, 0, 0, 0) +
           (length == ~0u ? AcoName(static_cast<unsigned>(text.size() + 1), text + u'\0')
                          : AcoName(length, text));
}

Names NamesOf(const std::string& path, std::size_t count) {
    SwatchNames names;
    SwatchTable table;
    table.SetFileName(path.c_str());
    table.Load(&names);
    Names shown;
    for (std::size_t i = 0; i < count; ++i) {
        shown.emplace_back(names.Name(i));
    }
    return shown;
}

TEST(SwatchNames, WhatCannotBeReadHasNoName) {
    const std::u16string a64(64, u'a'), a62(62, u'a');
    const struct {
        const char* what;
        std::string file;
        Names names;
    } cases[] = {
        {"named only", AcoHeader(2, 2) + Named(u"Teal") + Named(u""), {u"Teal", u"", u""}},
        {"no named section", Plain(2, 1, 2) + Named(u"x"), {u""}},
        {"named section counts fewer", Plain(3, 2, 1) + Named(u"x") + Named(u"y"), {u"x", u""}},
        {"named section counts more", Plain(1, 2, 3) + Named(u"x") + Named(u"y"), {u"x", u""}},
        {"cut off inside a name", Plain(2, 2, 2) + Named(u"x") + Named(u"yz", 3), {u"x", u""}},
        {"length past the end", Plain(2, 2, 2) + Named(u"", 0x80000000) + Named(u"y"), {u"", u""}},
        {"length 0, unterminated, zero inside, control character",
         Plain(4, 2, 4) + Named(u"", 0) + Named(u"ab", 2) + Named(std::u16string(u"a\0b", 3), 3) +
             Named(u"d\te"),
         {u"", u"ab", u"a", u"d e"}},
        {"64 units kept, a longer name cut, never inside a pair",
         Plain(3, 2, 3) + Named(a64) + Named(a64 + u"b") + Named(a62 + u"\U0001F600b"),
         {a64, std::u16string(63, u'a') + u"…", a62 + u"…"}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteBytes("names.aco", c.file));
        EXPECT_EQ(NamesOf("names.aco", c.names.size()), c.names) << c.what;
        EXPECT_EQ(std::remove("names.aco"), 0);
    }
    EXPECT_EQ(NamesOf("missing.aco", 1), Names{u""});
}

// Files written by other programs, kept beside the repository (../shared/aco-samples): every one
// loads with the status its colour spaces call for, and its names read as written.
TEST(SwatchFiles, FromOtherProgramsLoadWithTheirNames) {
    const char* folder = std::getenv("TINTWELL_ACO_SAMPLES");
    if (folder == nullptr || !std::filesystem::is_directory(folder)) {
        GTEST_SKIP() << "no sample folder";
    }
    const std::string path = std::string(folder) + "/";
    const struct {
        const char* file;
        unsigned count;
        LoadStatus status;  // Lab and grayscale colours are flagged
    } files[] = {{"dagronf_Zeldman-v1.aco", 6, 0},
                 {"rgbds_full_aco.aco", 32, 0},
                 {"cyotek_db32.aco", 32, 0},
                 {"cyotek_arne-v20-16.aco", 16, 0},
                 {"kdybicz_rgb.aco", 6, 0},
                 {"kdybicz_cmyk.aco", 6, 0},
                 {"kdybicz_grayscale.aco", 20, 0xE0000009},
                 {"kdybicz_utf.aco", 3, 0},
                 {"czebe_swatch-lab.aco", 1, 0xE0000009},
                 {"open-color_1.6.3.aco", 130, 0}};
    for (const auto& f : files) {
        SCOPED_TRACE(f.file);
        const std::string name = path + f.file;
        SwatchTable table;
        table.SetFileName(name.c_str());
        EXPECT_TRUE(table.Load());
        EXPECT_EQ(table.GetCount(), f.count);
        EXPECT_EQ(table.GetStatus(), f.status);
    }
    EXPECT_EQ(NamesOf(path + "kdybicz_utf.aco", 4),
              (Names{u"Zażółć gęślą jaźń", u"チェリー", u"a", u""}));
    EXPECT_EQ(NamesOf(path + "open-color_1.6.3.aco", 130).back(), u"Orange 09 #D9480F");
}

}  // namespace
