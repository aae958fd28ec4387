#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "swatch/swatch_names.h"

namespace {

std::string Be16(unsigned value) {
    return {static_cast<char>(value >> 8 & 0xFF), static_cast<char>(value & 0xFF)};
}
std::string Header(unsigned version, unsigned count) {
    return Be16(version) + Be16(count);
}
const std::string kRecord = Be16(0) + Be16(0x1200) + Be16(0x3400) + Be16(0x5600) + Be16(0);
// A record of the named section: the record, then `length` units of which `text` is the start.
std::string Named(const std::u16string& text, unsigned length) {
    std::string bytes = kRecord + Be16(length >> 16) + Be16(length & 0xFFFF);
    for (char16_t unit : text) {
        bytes += Be16(unit);
    }
    return bytes;
}
std::string Named(const std::u16string& text) {
    return Named(text + u'\0', static_cast<unsigned>(text.size() + 1));
}
std::string Plain(unsigned count) {
    std::string bytes = Header(1, count);
    for (unsigned i = 0; i < count; ++i) {
        bytes += kRecord;
    }
    return bytes;
}

std::vector<std::u16string> NamesOf(const char* path, std::size_t count) {
    SwatchNames names;
    names.Load(path);
    std::vector<std::u16string> shown;
    for (std::size_t i = 0; i < count; ++i) {
        shown.emplace_back(names.Name(i));
    }
    return shown;
}

TEST(SwatchNames, WhatCannotBeReadHasNoName) {
    const std::u16string a64(64, u'a'), a62(62, u'a'), pair = u"\U0001F600";
    const struct {
        const char* what;
        std::string file;
        std::vector<std::u16string> names;  // of the first positions
    } cases[] = {
        {"plain then named, in three scripts",
         Plain(3) + Header(2, 3) + Named(u"Sky Blue") + Named(u"Κυανό") + Named(u"天蓝色"),
         {u"Sky Blue", u"Κυανό", u"天蓝色"}},
        {"named only", Header(2, 2) + Named(u"Teal") + Named(u""), {u"Teal", u"", u""}},
        {"no named section", Plain(3), {u"", u"", u""}},
        {"second header not version 2", Plain(1) + Header(1, 1) + Named(u"x"), {u"", u"", u""}},
        {"named section counts fewer",
         Plain(3) + Header(2, 1) + Named(u"x") + Named(u"y"),
         {u"x", u"", u""}},
        {"named section counts more",
         Plain(1) + Header(2, 3) + Named(u"x") + Named(u"y"),
         {u"x", u"", u""}},
        {"cut off inside a name",
         Plain(3) + Header(2, 3) + Named(u"x") + Named(u"yz", 3),
         {u"x", u"", u""}},
        {"length past the end of the file",
         Plain(2) + Header(2, 2) + Named(u"", 0x80000000) + Named(u"y"),
         {u"", u"", u""}},
        {"length 0, unterminated, zero inside, control character",
         Header(2, 4) + Named(u"", 0) + Named(u"ab", 2) + Named(std::u16string(u"a\0b", 3), 3) +
             Named(u"d\te"),
         {u"", u"ab", u"a", u"d e"}},
        {"64 units kept, a longer name cut, never inside a pair",
         Header(2, 3) + Named(a64) + Named(a64 + u"b") + Named(a62 + pair + u"b"),
         {a64, std::u16string(63, u'a') + u"…", a62 + u"…"}},
        {"empty file", "", {u"", u"", u""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::ofstream("names.aco", std::ios::binary) << c.file;
        EXPECT_EQ(NamesOf("names.aco", c.names.size()), c.names);
        EXPECT_EQ(std::remove("names.aco"), 0);
    }
    EXPECT_EQ(NamesOf("missing.aco", 1), std::vector<std::u16string>{u""});
}

TEST(SwatchNames, FilesFromOtherProgramsNameTheirColours) {
    const char* folder = std::getenv("TINTWELL_ACO_SAMPLES");
    if (folder == nullptr || !std::filesystem::is_directory(folder)) {
        GTEST_SKIP() << "no sample folder";
    }
    const auto names = [&](const char* file, std::size_t count) {
        return NamesOf((std::filesystem::path(folder) / file).string().c_str(), count);
    };
    EXPECT_EQ(names("kdybicz_utf.aco", 4),
              (std::vector<std::u16string>{u"Zażółć gęślą jaźń", u"チェリー", u"a", u""}));
    EXPECT_EQ(names("open-color_1.6.3.aco", 130).back(), u"Orange 09 #D9480F");
    EXPECT_EQ(names("cyotek_db32.aco", 1)[0], u"");
}

}  // namespace
