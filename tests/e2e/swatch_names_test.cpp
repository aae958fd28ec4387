// Which swatch matched, by name and place, in a tooltip; and the last file, reopened at the next
// start. The built tintwell.exe driven from outside, as in e2e_test.cpp.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "user_session.h"

namespace {

constexpr char kKeyPath[] = "SOFTWARE\\Vexmoor Utils\\Tintwell";
const Settings kNormal = {0x01, {100, 60}, {700, 500}};
const std::string kNone = "255 255 255 FFFFFF";

struct Swatch {
    int space, red, green, blue;
    std::string name;  // UTF-8
};

std::string Be16(unsigned value) {
    return {static_cast<char>(value >> 8), static_cast<char>(value)};
}

// A plain section of the swatches, then, as image editors add it, the same records with names;
// the last `cut` bytes are left off.
std::string SwatchFile(const std::vector<Swatch>& swatches, bool named, std::size_t cut = 0) {
    std::string plain, names;
    for (const Swatch& s : swatches) {
        std::string record =
            Be16(s.space) + Be16(s.red << 8) + Be16(s.green << 8) + Be16(s.blue << 8) + Be16(0);
        std::wstring name(s.name.size() + 1, L'\0');
        name.resize(MultiByteToWideChar(CP_UTF8, 0, s.name.c_str(), -1, &name[0],
                                        static_cast<int>(name.size())));
        names += record + Be16(0) + Be16(static_cast<unsigned>(name.size()));
        for (wchar_t unit : name) {
            names += Be16(unit);
        }
        plain += record;
    }
    const unsigned count = static_cast<unsigned>(swatches.size());
    std::string file = Be16(1) + Be16(count) + plain + (named ? Be16(2) + Be16(count) + names : "");
    return file.substr(0, file.size() - cut);
}

struct Folder {
    std::string path;
    Folder() {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        path = std::string(temp) + "tintwell-names\\";
        std::filesystem::create_directories(path);
    }
    ~Folder() { std::filesystem::remove_all(path, ignored); }
    std::string Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path + name, std::ios::binary) << bytes;
        return path + name;
    }
    std::error_code ignored;
};

// The first `length` bytes of `bytes`. The system adds a zero to a text whose next byte is one.
bool StoreLastFile(DWORD type, const std::string& bytes, std::size_t length) {
    return RegSetKeyValueA(HKEY_LOCAL_MACHINE, kKeyPath, "LastSwatchFile", type, bytes.data(),
                           static_cast<DWORD>(length)) == ERROR_SUCCESS;
}

std::string Start(const std::string& commandLine, const std::vector<Step>& steps) {
    return RunSession(ProgramPath(), commandLine, steps);
}

class SwatchNamesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(ProgramPath().empty());
        std::vector<Swatch> twenty;
        for (int i = 0; i < 20; ++i) {
            twenty.push_back({0, 0, 100 + i, 0, "Green " + std::to_string(i)});
        }
        // Equal colours earlier (not RGB) and later, the later ones past the first eight.
        twenty[0] = {1, 0x33, 0x66, 0x99, "Not RGB"};
        twenty[1] = {0, 0xE0, 0x10, 0x20, "Brand Accent 2"};
        twenty[9] = {0, 0x33, 0x66, 0x99, u8"Κυανό"};
        twenty[12] = {0, 0x33, 0x66, 0x99, "Twin"};
        twenty[18] = {0, 0x33, 0x66, 0x99, "Later twin"};
        twenty[19] = {0, 0xF0, 0xE0, 0x30, u8"金色"};
        named = folder.Write("named.aco", SwatchFile(twenty, true));
        const std::vector<Swatch> three = {
            {0, 10, 20, 30, "Sky Blue"}, {0, 40, 50, 60, "Mid"}, {0, 200, 200, 200, "Light"}};
        damaged = folder.Write("damaged.aco", SwatchFile(three, true, 3));
        plain = folder.Write("plain.aco", SwatchFile({{0, 250, 120, 10, ""},
                                                      {0, 51, 102, 153, ""},
                                                      {0, 0, 0, 255, ""},
                                                      {0, 10, 10, 10, ""}},
                                                     false));
        ASSERT_TRUE(Store(kNormal));
    }

    Folder folder;
    std::string named, damaged, plain;
};

TEST_F(SwatchNamesTest, TheTooltipNamesTheMatchAndItsPlaceInBothViews) {
    const std::string blue = "51 102 153 336699";
    EXPECT_EQ(Start(named, {Main(Normal), Tip(""), Type("336699"), Shows(blue, blue),
                            Tip(u8"Κυανό (swatch 10 of 20)"), Type("e01020"),
                            Tip("Brand Accent 2 (swatch 2 of 20)"), Type("f0e030"),
                            Tip(u8"金色 (swatch 20 of 20)"), Menu('v'), Main(Compact),
                            Tip(u8"金色 (swatch 20 of 20)"), Tray('x'), Exit()}),
              "");
    // Names up to where the section is cut off; a file without names gives places only.
    ASSERT_TRUE(Store(kNormal));
    EXPECT_EQ(Start(damaged, {Main(Normal), Type("0a141e"), Tip("Sky Blue (swatch 1 of 3)"),
                              Type("c8c8c8"), Tip("Swatch 3 of 3"), Browse(plain), Type("336699"),
                              Tip("Swatch 2 of 4"), Menu('x'), Exit()}),
              "");
}

TEST_F(SwatchNamesTest, TheLastFileThatLoadedOpensAtTheNextStart) {
    const std::string red = "224 16 32 E01020";
    EXPECT_EQ(Start(named, {Main(Normal), Menu('x'), Exit()}), "");
    EXPECT_EQ(Start("", {Main(Normal), Path(named), Type("e01020"), Shows(red, red),
                         Tip("Brand Accent 2 (swatch 2 of 20)"), Browse(plain), Menu('x'), Exit()}),
              "");
    EXPECT_EQ(Start("", {Main(Normal), Path(plain), Menu('x'), Exit()}), "");
    // Gone by the next start: no word of it, and no file.
    std::filesystem::remove(plain);
    EXPECT_EQ(Start("", {Main(Normal), Path(""), Type("336699"), Shows("51 102 153 336699", kNone),
                         Tip(""), Menu('x'), Exit()}),
              "");
    // A path on the command line wins.
    ASSERT_TRUE(StoreLastFile(REG_SZ, named, named.size() + 1));
    EXPECT_EQ(Start(damaged, {Main(Normal), Path(damaged), Menu('x'), Exit()}), "");
}

TEST_F(SwatchNamesTest, ADamagedRememberedPathIsIgnored) {
    const struct {
        const char* what;
        DWORD type;
        std::string value;
        std::size_t length;
    } values[] = {
        {"another type", REG_EXPAND_SZ, named, named.size() + 1},
        {"unterminated", REG_SZ, named + "x", named.size()},
        {"longer than a path may be", REG_SZ, std::string(600, 'a'), 601},
        {"empty", REG_SZ, "", 1},
    };
    for (const auto& v : values) {
        SCOPED_TRACE(v.what);
        ASSERT_TRUE(Store(kNormal) && StoreLastFile(v.type, v.value, v.length));
        EXPECT_EQ(Start("", {Main(Normal), Path(""), Type("336699"),
                             Shows("51 102 153 336699", kNone), Menu('x'), Exit()}),
                  "");
    }
}

}  // namespace
