#include <gtest/gtest.h>

#include <string>

#include "tests/swatch/loaded_table.h"

namespace {

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

TEST(SwatchNames, WhatCannotBeReadHasNoName) {
    const std::u16string a64(64, u'a'), a62(62, u'a');
    const struct {
        const char* what;
        std::string file;
        Names names;
    } cases[] = {
        {"named only", AcoHeader(2, 2) + Named(u"Teal") + Named(u""), {u"Teal", u""}},
        {"no named section", Plain(2, 1, 2) + Named(u"x"), {u"", u""}},
        {"named section counts fewer",
         Plain(3, 2, 1) + Named(u"x") + Named(u"y"),
         {u"x", u"", u""}},
        {"named section counts more", Plain(1, 2, 3) + Named(u"x") + Named(u"y"), {u"x"}},
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
        EXPECT_EQ(LoadBytes(c.file).names, c.names) << c.what;
    }
}

}  // namespace
