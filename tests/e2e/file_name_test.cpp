// A file name in any script, as Explorer passes it in UTF-16, opens that very file.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "user_session.h"

namespace {

TEST(FileNames, InAnyScriptOpenThatVeryFile) {
    // Best fit would turn the Greek capital omega into O and open the other file.
    const std::filesystem::path other = WriteSwatchFile(L"Omega.aco", {{0, 200, 0, 0}});
    const std::wstring omega = WriteSwatchFile(L"\u03A9mega.aco", {{0, 0, 0, 200}}).wstring();
    ASSERT_TRUE(Store(Settings{0x01, {100, 60}, {700, 500}}));
    EXPECT_EQ(RunSessionWide(ProgramPath(), L"\"" + omega + L"\"",
                             {Main(Normal), WidePath(omega), Type("0000ff"),
                              Shows("0 0 255 0000FF", "0 0 200 0000C8"), Menu('x'), Exit()}),
              "");
    std::filesystem::remove(omega);
    std::filesystem::remove(other);
}

}  // namespace
