// Tintwell as a user meets it: the built tintwell.exe runs as a process of its own and is driven
// only from outside, through its windows, the real common dialogs, its menus, its tray popup, the
// mouse, the clipboard and files dropped on it. Each case ends with the program's exit code.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/settings_key.h"
#include "res/resource.h"
#include "user_session.h"

namespace {

const Settings kNormal = {0x01, {100, 60}, {700, 500}};  // the Normal view opens at (100, 60)
const std::string kNone = "255 255 255 FFFFFF";          // what the match shows without one
const char kHexError[] =
    "Please enter a valid hexadecimal number or click\n"
    "Colours to choose one from the whole spectrum.";
const char kNoFile[] = "Please select a swatch file.";
const std::string kFailed = "Tintwell failed to load the file.\n";
const std::string kNotFound = kFailed + "The file could not be found.";
const std::string kNoColours =
    kFailed + "The file has no colours, or Tintwell was unable to load colours.";
const std::string kDamaged =
    kFailed +
    "Tintwell was unable to load colours.\nThe file might be damaged, or of unknown format.";
const std::string kNotOpened =
    kFailed + "The file could not be opened. Check the path and that you may read the file.";
const char kUnsupported[] =
    "Tintwell loaded the file, but the file\n"
    "contains unsupported colour formats.\n"
    "Tintwell may not return correct information.";
const char kFewerColours[] =
    "Tintwell loaded the file, but the number of\n"
    "colours reported was more than the number of colours loaded.";

// Swatch files in a folder that goes with them, each held open for writing as a paint program does.
struct SwatchFiles {
    ~SwatchFiles() {
        for (HANDLE file : held) {
            CloseHandle(file);
        }
        std::filesystem::remove_all(folder, ignored);
    }
    std::string Write(const std::string& name, const std::vector<Swatch>& swatches, int count) {
        const std::string path = WriteSwatchFile(folder / name, swatches, false, count).string();
        held.push_back(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr));
        return path;
    }
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "tintwell-e2e";
    std::vector<HANDLE> held;
    std::error_code ignored;
};

struct Case {
    std::string name;
    std::optional<Settings> stored;  // what the settings key holds at the start; none: no key
    std::string commandLine;
    std::vector<Step> steps;
};

// The middles of two windows of the test's own, of the picked colours.
std::vector<Case> Cases(SwatchFiles& f, POINT blueGrey, POINT orange) {
    // clang-format off
    const std::string web = f.Write("web.aco", {{0, 250, 120, 10}, {0, 51, 102, 153}, {0, 0, 0, 255},
        {0, 10, 10, 10}, {0, 12, 12, 12}}, 5);
    // clang-format on
    const std::string empty = f.Write("empty.aco", {}, -1);
    std::filesystem::resize_file(empty, 0);
    const std::string onlyBlack = f.Write("black.aco", {{0, 0, 0, 0}}, 1);
    const std::string noColours = f.Write("no-colours.aco", {}, 0);
    // A CMYK record (colour space 2 is fine, 3 to 8 are flagged) beside an RGB one.
    const std::string unsupported = f.Write("cmyk.aco", {{0, 200, 0, 0}, {4, 0, 0, 0}}, 2);
    const std::string fewer = f.Write("fewer.aco", {{0, 0, 200, 0}, {0, 0, 0, 200}}, 5);
    const std::string missing = (f.folder / "missing.aco").string();
    const std::string noFolder = (f.folder / "no such folder\\web.aco").string();

    const POINT normalDefault = Centred(200, 103);
    const POINT compactDefault = Centred(59, 94);
    const POINT compactAt = {700, 500};
    const std::string black = "0 0 0 000000";
    const std::string picked = "48 96 144 306090";
    const std::string pickedMatch = "51 102 153 336699";
    const std::string orangeShown = "240 112 16 F07010";
    const std::string orangeMatch = "250 120 10 FA780A";
    // clang-format off
    return {
        {"first run: Compact view centred, defaults stored; the About box closes by its button "
         "and with the main dialog, not by Escape or Enter",
         std::nullopt, "",
         {Main(Compact, compactDefault), Stored({0x00, normalDefault, compactDefault}),
          Shows(black, black),
          // No swatch file: the colour is shown, nothing matches, and the picker is refused.
          Type("336699"), Shows("51 102 153 336699", kNone),
          Painted(RGB(51, 102, 153), GetSysColor(COLOR_BTNFACE)),  // the dialog's background
          Press(IDC_COLOURS), Box("Tintwell Error", kNoFile),
          Tray('a'), About(), Keys(), CloseAbout(), Keys(), Tray('a'), About(), Close(), Exit(),
          Stored({0x00, normalDefault, compactDefault})}},

        {"a path on the command line, then typing, the colour dialog, view switches, the "
         "open-file dialog and drops, where each failure keeps the previous file",
         Settings{0x01, {-20, 5}, compactAt}, web,
         {Main(Normal, {-20, 5}), Path(web),
          // The distance sums the channels: 127 to pure blue, though 10 10 10 is nearer in each.
          Type("000080"), Shows("0 0 128 000080", "0 0 255 0000FF"),
          Type("ff8000"), Shows("255 128 0 FF8000", "250 120 10 FA780A"),
          Type("33669"), Shows("255 128 0 33669", "250 120 10 FA780A"),
          Type("12GG00"), Box("Tintwell Error", kHexError),
          Shows("255 128 0 12GG00", "250 120 10 FA780A"),
          Pick(48, 96, 144), Shows(picked, pickedMatch),
          Menu('v'), Main(Compact, compactAt), Shows(picked, pickedMatch),
          Tray('v'), Main(Normal, {-20, 5}), Path(web), Shows(picked, pickedMatch),
          Move({120, 80}),
          // Files dropped load as those chosen in the dialog do.
          Browse(missing), Box("Tintwell", kNotFound), Path(web),
          Drop(empty), Box("Tintwell", kDamaged),
          Drop(noColours), Box("Tintwell", kNoColours),
          Drop(noFolder), Box("Tintwell", kNotOpened),
          // A new Normal dialog shows the path the program holds: still the loaded file's.
          Menu('v'), Main(Compact), Tray('v'), Main(Normal), Path(web),
          Type("0b0b0b"), Shows("11 11 11 0B0B0B", "10 10 10 0A0A0A"),  // a tie: the earlier
          Drop(unsupported), Box("Tintwell", kUnsupported), Path(unsupported),
          Type("000000"), Shows("0 0 0 000000", "200 0 0 C80000"),  // CMYK passed over
          Drop(fewer), Box("Tintwell", kFewerColours), Path(fewer),
          Type("00c000"), Shows("0 192 0 00C000", "0 200 0 00C800"),
          // Nothing matches from 765 away, the largest distance.
          Drop(onlyBlack), Type("fffffe"), Shows("255 255 254 FFFFFE", black),
          Type("ffffff"), Shows("255 255 255 FFFFFF", kNone),
          Menu('x'), Exit(), Stored({0x01, {120, 80}, compactAt})}},

        {"a missing file on the command line is reported before the dialog opens; a window off "
         "every screen opens at its default place, in either view",
         Settings{0x01, {INT_MAX, INT_MIN}, {-5000, -5000}}, missing,
         {Box("Tintwell", kNotFound), Main(Normal, normalDefault),
          Type("0000ff"), Shows("0 0 255 0000FF", kNone), Menu('v'), Main(Compact, compactDefault),
          // A switch closes the About box, whose loop would hold it up.
          Tray('a'), About(), Tray('v'), Main(Normal, normalDefault), Menu('x'), Exit(),
          Stored({0x01, normalDefault, compactDefault})}},

        {"colours in and out: picks from the screen, paste, copy and files dropped on the dialog",
         kNormal, "",
         {Main(Normal), Path(""),
          // Without a file, a pick that ends over the test's window: the colour stays, nothing
          // matches, no box, and the match has nothing to copy.
          Drag({blueGrey}), Shows(picked, kNone), EndPick(WM_LBUTTONUP), Shows(picked, kNone),
          Copy(IDC_MATCH_SAMPLE, 'r', ""), Copy(IDC_USER_SAMPLE, 'r', "306090"),
          Drop(web), Path(web),
          Drag({blueGrey, orange}), Shows(orangeShown, orangeMatch), EndPick(WM_LBUTTONUP),
          // Escape puts back the colours from before the pick, tooltip and all.
          Drag({blueGrey}), Shows(picked, pickedMatch), EndPick(WM_KEYDOWN),
          Shows(orangeShown, orangeMatch), Tip(u8"Swatch 1 of 5\nΔE 2.8"),
          Paste("#306090\r\n"), Shows(picked, pickedMatch),
          Paste(" \t0XF07010 "), Shows(orangeShown, orangeMatch),
          Paste("4a90d9"), Shows("74 144 217 4A90D9", pickedMatch),
          Copy(IDC_USER_SAMPLE, 'r', "4A90D9"), Copy(IDC_USER_SAMPLE, '#', "#4A90D9"),
          Copy(IDC_USER_SAMPLE, 'd', "74, 144, 217"), Copy(IDC_MATCH_SAMPLE, 'd', "51, 102, 153"),
          // Not a colour: pasted as before, cut at six characters, refused as typing is.
          Paste("#12GG00"), Box("Tintwell Error", kHexError),
          Shows("74 144 217 #12GG0", pickedMatch),
          // Too long a path: refused, and a new dialog shows the path the program still holds.
          Drop(std::string(600, 'a') + ".aco"), Box("Tintwell", kNotOpened),
          Menu('v'), Main(Compact), Tray('v'), Main(Normal), Path(web), Close(), Exit()}},
    };
    // clang-format on
}

TEST(Tintwell, AsAUserMeetsIt) {
    ASSERT_FALSE(ProgramPath().empty()) << "usage: e2e_test <path of tintwell.exe>";
    SwatchFiles files;
    ASSERT_EQ(files.folder.string().find(' '), std::string::npos)
        << "the plain path holds no blank";
    ColourPatch blueGrey(RGB(0x30, 0x60, 0x90), {800, 100});
    ColourPatch orange(RGB(0xF0, 0x70, 0x10), {900, 100});
    ASSERT_TRUE(blueGrey.shown && orange.shown);
    for (const Case& c : Cases(files, blueGrey.middle, orange.middle)) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Store(c.stored));
        EXPECT_EQ(RunSession(c.commandLine, c.steps), "");
    }
}

// The way of matching as a user switches it and as the settings keep it, over swatches in RGB,
// CMYK and Lab. From 07FBBA the channel sum picks 1ACFC1 (70 away, but 15.3 in CIEDE2000), the
// eye 6BFDC4 (112 away, 3.6).
TEST(Tintwell, MatchesPerceptuallyWhenAsked) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "tintwell-match";
    const std::string file = (folder / "mixed.aco").string();
    ASSERT_TRUE(WriteBytes(file, AcoHeader(1, 4) + AcoRecord(0, 0x1A1A, 0xCFCF, 0xC1C1) +
                                     AcoRecord(0, 0x6B6B, 0xFDFD, 0xC4C4) +
                                     AcoRecord(2, 0xFFFF, 0, 0, 0xFFFF) +  // CMYK red, inverted
                                     AcoRecord(7, 10000, 0, 0)));          // Lab white
    const std::string cmyk = (folder / "cmyk.aco").string();
    ASSERT_TRUE(WriteBytes(cmyk, AcoHeader(1, 1) + AcoRecord(2, 0xFFFF, 0, 0, 0xFFFF)));
    const std::string sum = "26 207 193 1ACFC1", eye = "107 253 196 6BFDC4";
    const std::string typed = "7 251 186 07FBBA", red = "255 1 1 FF0101";
    ASSERT_TRUE(Store(kNormal));
    // clang-format off
    EXPECT_EQ(RunSession(cmyk, {
        Main(Normal), Type("ff0101"), Shows(red, "255 255 255 FFFFFF"),  // no colour
        Menu('p'), Shows(red, "255 0 0 FF0000"),  // at once
        Tip(u8"Swatch 1 of 1\nΔE 0.1 · CMYK 0 100 100 0 %"),
        // No box for the Lab swatch, which the channel sum would pass over.
        Drop(file), Type("07fbba"), Shows(typed, eye),
        Type("fefefe"), Shows("254 254 254 FEFEFE", "255 255 255 FFFFFF"),
        Tip(u8"Swatch 4 of 4\nΔE 0.2 · Lab 100.00 0.00 0.00"),
        Menu('x'), Exit()}), "");
    // Remembered, with the file: the next start matches so too, without a box; switched back in
    // the Compact view, so is that.
    EXPECT_EQ(RunSession("", {
        Main(Normal), Path(file), Type("07fbba"), Shows(typed, eye),
        Menu('v'), Main(Compact), Tray('p'), Shows(typed, sum), Tip(u8"Swatch 1 of 4\nΔE 15.3"),
        Tray('v'), Main(Normal), Menu('x'), Exit()}), "");
    // clang-format on
    // The channel sum as left there, and for a number other than 1.
    for (bool stored : {false, true}) {
        ASSERT_TRUE(!stored ||
                    (Store(kNormal) && StoreValue("Matching", REG_DWORD, {"\x02\0\0\0", 4})));
        EXPECT_EQ(RunSession(file, {Box("Tintwell", kUnsupported), Main(Normal), Type("07fbba"),
                                    Shows(typed, sum), Close(), Exit()}),
                  "");
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

// What the program makes of settings it did not write itself: the low bit of Options, untyped
// values, Options of another type (the Normal view), and a short position (all defaults).
TEST(StoredSettings, AreReadWhereTheyCanBeAndOtherwiseTheNormalViewOpensCentred) {
    const Settings compact = {0x00, {-20, 5}, {3, 4}};
    ASSERT_TRUE(Store(Settings{0x03, {-20, 5}, {3, 4}}));
    EXPECT_EQ(RunSession("", {Main(Normal, {-20, 5}), Close(), Exit()}), "");
    ASSERT_TRUE(Store(std::nullopt) && StoreValue(kOptionsValue, REG_NONE, "\2") &&
                StoreValue(kNormalPosValue, REG_NONE, Position({-20, 5})) &&
                StoreValue(kCompactPosValue, REG_NONE, Position({3, 4})));
    EXPECT_EQ(RunSession("", {Main(Compact, {3, 4}), Close(), Exit()}), "");
    ASSERT_TRUE(Store(compact) && StoreValue(kOptionsValue, REG_DWORD, std::string(4, '\0')));
    EXPECT_EQ(RunSession("", {Main(Normal, {-20, 5}), Close(), Exit()}), "");
    ASSERT_TRUE(Store(compact) && StoreValue(kNormalPosValue, REG_BINARY, "1234567"));
    EXPECT_EQ(RunSession("", {Main(Normal, Centred(200, 103)), Close(), Exit()}), "");
}

// The tooltip names the match and its place; the last file reopens at the next start.
const std::string kBlue = "51 102 153 336699";

TEST(SwatchNames, TheTooltipNamesTheMatchAndItsPlaceAndTheLastFileReopens) {
    std::vector<Swatch> twenty(20, {0, 0, 100, 0, u"Green"});
    // Equal colours earlier (not RGB) and later, the later ones past the first eight.
    twenty[0] = {1, 0x33, 0x66, 0x99, u"Not RGB"};
    twenty[1] = {0, 0xE0, 0x10, 0x20, u"Brand Accent 2"};
    twenty[9] = {0, 0x33, 0x66, 0x99, u"Κυανό"};
    twenty[12] = twenty[18] = {0, 0x33, 0x66, 0x99, u"Later twin"};
    twenty[19] = {0, 0xF0, 0xE0, 0x30, u"金色"};
    const std::string named = WriteSwatchFile("named.aco", twenty, true).string();
    const std::string plain =
        WriteSwatchFile("plain.aco", {{0, 250, 120, 10}, {0, 51, 102, 153}}).string();
    ASSERT_TRUE(Store(kNormal));
    // clang-format off
    EXPECT_EQ(RunSession(named, {Main(Normal), Tip(""), Type("336699"), Shows(kBlue, kBlue),
        Tip(u8"Κυανό (swatch 10 of 20)\nΔE 0.0"), Type("f0e030"),
        Shows("240 224 48 F0E030", "240 224 48 F0E030"), Tip(u8"金色 (swatch 20 of 20)\nΔE 0.0"),
        Menu('v'), Main(Compact), Tip(u8"金色 (swatch 20 of 20)\nΔE 0.0"), Tray('v'), Main(Normal),
        Menu('x'), Exit()}), "");
    // Started again: the file that loaded last, with its names; a file without names gives
    // places only.
    EXPECT_EQ(RunSession("", {Main(Normal), Path(named), Type("e01020"),
        Shows("224 16 32 E01020", "224 16 32 E01020"), Tip(u8"Brand Accent 2 (swatch 2 of 20)\nΔE 0.0"),
        // The match shown is of the file before: nothing of this one to name.
        Browse(plain), Tip(""), Type("336699"),
        Tip(u8"Swatch 2 of 2\nΔE 0.0"), Menu('x'), Exit()}), "");
    // A path on the command line wins over the last; a file gone by the next start leaves no
    // file, silently.
    EXPECT_EQ(RunSession(named, {Main(Normal), Path(named), Menu('x'), Exit()}), "");
    std::filesystem::remove(named);
    EXPECT_EQ(RunSession("", {Main(Normal), Path(""), Type("336699"), Shows(kBlue, kNone), Tip(""),
        Menu('x'), Exit()}), "");
    // clang-format on
    // A remembered path that is not plain text is passed over (the registry library's test
    // covers texts cut short or too long).
    ASSERT_TRUE(Store(kNormal) && StoreValue(kLastFileValue, REG_EXPAND_SZ, plain + '\0'));
    EXPECT_EQ(RunSession("", {Main(Normal), Path(""), Menu('x'), Exit()}), "");
    std::filesystem::remove(plain);
}

std::string Write(const std::filesystem::path& path, const std::string& bytes) {
    return WriteBytes(path, bytes) ? path.string() : "";
}

// Exchange files, GIMP palettes and colour tables from the command line, the dialog and a drop.
TEST(PaletteFormats, LoadMatchAndNameAsSwatchFilesDo) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "tintwell-palettes";
    // A CMYK colour, held but never matched, then two RGB ones, all in a group whose end block
    // is left out, as it often is.
    const std::string ase =
        Write(folder / "exchange.ase",
              AseFile({AseGroup(u"Blues"), AseColour(u"Ink", "CMYK", {0.2f, 0.4f, 0.6f, 0}),
                       AseColour(u"Sky", "RGB ", {0.2f, 0.4f, 0.6f}, 0),
                       AseColour(u"Brick", "RGB ", {0.8f, 0.2f, 0})}));
    const std::string gpl = Write(folder / "gimp.gpl",
                                  "GIMP Palette\r\nName: Test\r\n#\r\n250 120  10\tOrange peel\r\n"
                                  "  0   0 255\tBlue\r\n");
    // Three colours, the first transparent.
    const std::string act = Write(
        folder / "table.ACT", ActFile({{0, 0, 0, 0}, {0, 10, 20, 30}, {0, 200, 100, 50}}, 3, 0));
    ASSERT_TRUE(Store(kNormal));
    // clang-format off
    EXPECT_EQ(RunSession(ase, {Main(Normal), Path(ase),
        Type("336699"), Shows("51 102 153 336699", "51 102 153 336699"),
        Tip(u8"Blues / Sky (swatch 2 of 3)\nΔE 0.0"),
        Browse(gpl), Path(gpl), Type("ff8000"), Shows("255 128 0 FF8000", "250 120 10 FA780A"),
        Drop(act), Path(act), Type("000000"), Shows("0 0 0 000000", "10 20 30 0A141E"),
        Menu('x'), Exit()}), "");
    // clang-format on
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

// A name in any script, with a blank, quoted in UTF-16 as Explorer passes it, opens that file.
TEST(FileNames, InAnyScriptOpenThatVeryFile) {
    // Best fit would turn the Greek capital omega into O and open the other file; the Japanese
    // name has no look-alike in a Western code page at all.
    const std::filesystem::path other = WriteSwatchFile(L"Omega swatch.aco", {{0, 200, 0, 0}});
    ASSERT_TRUE(Store(kNormal));
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
