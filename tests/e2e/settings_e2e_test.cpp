// What the program makes of settings it did not write itself: each row stores raw values, then
// starts Tintwell and sees which view opens where.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/settings_key.h"
#include "user_session.h"

namespace {

struct Raw {
    DWORD type;  // kMissing: the value is left out
    std::string bytes;
};
constexpr DWORD kMissing = 0xFFFF;

Raw Bin(const std::string& bytes) {
    return {REG_BINARY, bytes};
}

TEST(StoredSettings, AreReadWhereTheyCanBeAndOtherwiseTheNormalViewOpensCentred) {
    const Raw normal = Bin(Position({-20, 5})), compact = Bin(Position({700, 500}));
    const Raw zero = Bin(std::string(1, '\0')), missing = {kMissing, ""};
    const POINT centred = Centred(200, 103);
    const struct {
        const char* what;
        Raw values[3];  // Options, LastNormalPos, LastCompactPos
        View view;
        POINT at;
    } cases[] = {
        // clang-format off
        {"Options 03: the low bit counts", {Bin("\3"), normal, compact}, Normal, {-20, 5}},
        {"untyped", {{REG_NONE, "\2"}, normal, {REG_NONE, Position({3, 4})}}, Compact, {3, 4}},
        {"Options a DWORD", {{REG_DWORD, std::string(4, 0)}, normal, compact}, Normal, {-20, 5}},
        {"Options empty", {Bin(""), normal, compact}, Normal, centred},
        {"a position missing", {zero, normal, missing}, Normal, centred},
        {"a position short", {zero, Bin("1234567"), compact}, Normal, centred},
        {"a position as text", {zero, normal, {REG_SZ, "1234567"}}, Normal, centred},
        // clang-format on
    };
    const char* const names[] = {kOptionsValue, kNormalPosValue, kCompactPosValue};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(Store(std::nullopt));
        for (int i = 0; i < 3; ++i) {
            const Raw& v = c.values[i];
            ASSERT_TRUE(v.type == kMissing || StoreValue(names[i], v.type, v.bytes));
        }
        EXPECT_EQ(RunSession("", {Main(c.view, c.at), Close(), Exit()}), "");
    }
}

}  // namespace
