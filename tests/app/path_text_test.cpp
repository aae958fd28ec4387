// The program runs with UTF-8 as its code page, where every name is carried exactly; this checks
// the refusal that older Windows, with a Western code page, would need.
#include <gtest/gtest.h>

#include <cstring>

#include "app/files/path_text.h"

namespace {

constexpr UINT kWestern = 1252;

TEST(PathText, ANameTheCodePageCannotCarryIsRefusedNotSwapped) {
    char out[16];
    std::memset(out, 0xBD, sizeof out);
    EXPECT_TRUE(NarrowPathExactly(L"caf\u00E9.aco", out, 9, kWestern));
    EXPECT_STREQ(out, "caf\xE9.aco");
    EXPECT_EQ(out[9], '\xBD');
    // Best fit would give "Omega.aco", another file; the Japanese name would become "??.aco".
    EXPECT_FALSE(NarrowPathExactly(L"\u03A9mega.aco", out, sizeof out, kWestern));
    EXPECT_FALSE(NarrowPathExactly(L"\u65E5\u672C.aco", out, sizeof out, kWestern));
    EXPECT_FALSE(NarrowPathExactly(L"caf\u00E9.aco", out, 8, kWestern));  // no room for the NUL
    EXPECT_TRUE(NarrowPathExactly(L"\u03A9\u65E5.aco", out, sizeof out, CP_UTF8));
    // A narrow command line is the end of the wide one only if nothing was swapped on the way.
    const wchar_t* wide = L"\"C:\\tintwell.exe\" \u03A9mega.aco";
    EXPECT_FALSE(IsExactTail("Omega.aco", wide, kWestern));
    EXPECT_TRUE(IsExactTail("\xCE\xA9mega.aco", wide, CP_UTF8));
}

}  // namespace
