// A file name in any script, with a blank, quoted in UTF-16 as Explorer passes it, opens that
// very file.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "user_session.h"

namespace {

TEST(FileNames, InAnyScriptOpenThatVeryFile) {
    // Best fit would turn the Greek capital omega into O and open the other file; the Japanese
    // name has no look-alike in a Western code page at all.
    const std::filesystem::path other = WriteSwatchFile(L"Omega swatch.aco", {{0, 200, 0, 0}});
    ASSERT_TRUE(Store(Settings{0x01, {100, 60}, {700, 500}}));
    for (const wchar_t* name : {L"\u03A9mega swatch.aco", L"\u65E5\u672C swatch.aco"}) {
        const std::wstring path = WriteSwatchFile(name, {{0, 0, 0, 200}}).wstring();
        EXPECT_EQ(RunSession(L"\"" + path + L"\"",
                             {Main(Normal), Path(path), Type("0000ff"),
                              Shows("0 0 255 0000FF", "0 0 200 0000C8"), Menu('x'), Exit()}),
                  "");
        std::filesystem::remove(path);
    }
    std::filesystem::remove(other);
}

}  // namespace
