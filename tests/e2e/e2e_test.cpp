// Tintwell as a user meets it: the built tintwell.exe runs as a process of its own and is driven
// only from outside, through its windows, the real common dialogs, its menus and its tray popup.
// Each case ends with the program's exit code and the settings it left in the registry.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "res/resource.h"
#include "user_session.h"

namespace {

using remote::IconKind;
using Bytes = std::vector<BYTE>;

std::string g_exe;  // the tintwell.exe under test, from this program's command line

const char kHexError[] =
    "Please enter a valid hexadecimal number or click\n"
    "Colours to choose one from the whole spectrum.";
const char kNoFile[] = "Please select a swatch file.";
const char kNotFound[] = "Tintwell failed to load the file.\nThe file could not be found.";
const char kNoColours[] =
    "Tintwell failed to load the file.\n"
    "The file has no colours, or Tintwell was unable to load colours.";
const char kDamaged[] =
    "Tintwell failed to load the file.\n"
    "Tintwell was unable to load colours.\n"
    "The file might be damaged, or of unknown format.";
const char kNotOpened[] =
    "Tintwell failed to load the file.\n"
    "The file could not be opened. Check the path and that you may read the file.";
const char kUnsupported[] =
    "Tintwell loaded the file, but the file\n"
    "contains unsupported colour formats.\n"
    "Tintwell may not return correct information.";
const char kFewerColours[] =
    "Tintwell loaded the file, but the number of\n"
    "colours reported was more than the number of colours loaded.";

// ---- Swatch files, written for the run ---------------------------------------------------------

struct Record {
    WORD colourSpace;
    BYTE red, green, blue;
};

// A header announcing `count` records, then the records; RGB channels as 16-bit values.
Bytes SwatchFile(WORD count, const std::vector<Record>& records) {
    Bytes bytes = {0, 1, static_cast<BYTE>(count >> 8), static_cast<BYTE>(count)};
    for (const Record& r : records) {
        Bytes record = {static_cast<BYTE>(r.colourSpace >> 8), static_cast<BYTE>(r.colourSpace)};
        for (BYTE channel : {r.red, r.green, r.blue, BYTE{0}}) {
            record.insert(record.end(), {channel, channel});
        }
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    return bytes;
}

struct SwatchFiles {
    std::string folder, web, grey, empty, noColours, unsupported, fewer, missing, noFolder;
    std::vector<std::string> written;

    SwatchFiles() {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder = std::string(temp) + "tintwell-e2e\\";
        CreateDirectoryA(folder.c_str(), nullptr);
        CreateDirectoryA((folder + "my swatches").c_str(), nullptr);
        web = Write(
            "web.aco",
            SwatchFile(4, {{0, 250, 120, 10}, {0, 51, 102, 153}, {0, 0, 0, 255}, {0, 10, 10, 10}}));
        grey =
            Write("my swatches\\grey.aco", SwatchFile(2, {{0, 128, 128, 128}, {0, 255, 255, 255}}));
        empty = Write("empty.aco", {});
        noColours = Write("no-colours.aco", SwatchFile(0, {}));
        // A CMYK record (colour space 2 is fine, 3 to 8 are flagged) beside an RGB one.
        unsupported = Write("cmyk.aco", SwatchFile(2, {{0, 200, 0, 0}, {4, 0, 0, 0}}));
        fewer = Write("fewer.aco", SwatchFile(5, {{0, 0, 200, 0}, {0, 0, 0, 200}}));
        missing = folder + "missing.aco";
        noFolder = folder + "no such folder\\web.aco";
    }
    ~SwatchFiles() {
        for (const std::string& path : written) {
            DeleteFileA(path.c_str());
        }
        RemoveDirectoryA((folder + "my swatches").c_str());
        RemoveDirectoryA(folder.c_str());
    }
    std::string Write(const char* name, const Bytes& bytes) {
        std::string path = folder + name;
        FILE* file = std::fopen(path.c_str(), "wb");
        if (file != nullptr) {
            std::fwrite(bytes.data(), 1, bytes.size(), file);
            std::fclose(file);
        }
        written.push_back(path);
        return path;
    }
};

struct Case {
    std::string name;
    std::optional<Settings> stored;  // what the settings key holds at the start; none: no key
    std::string commandLine;
    std::vector<Step> steps;
};

std::vector<Case> Cases(const SwatchFiles& f) {
    const POINT normalDefault = {(GetSystemMetrics(SM_CXSCREEN) - 200) / 2,
                                 (GetSystemMetrics(SM_CYSCREEN) - 103) / 2};
    const POINT compactDefault = {(GetSystemMetrics(SM_CXSCREEN) - 59) / 2,
                                  (GetSystemMetrics(SM_CYSCREEN) - 94) / 2};
    const POINT normalAt = {100, 60};
    const POINT compactAt = {700, 500};
    const Settings normal = {0x01, normalAt, compactAt};
    const std::string black = "0 0 0 000000";
    const std::string none = "255 255 255 FFFFFF";
    const std::string picked = "48 96 144 306090";
    const std::string pickedMatch = "51 102 153 336699";
    // clang-format off
    return {
        {"first run: Compact view centred, defaults stored, exit from the tray popup",
         std::nullopt, "",
         {Main(Compact, compactDefault), Stored({0x00, normalDefault, compactDefault}),
          Shows(black, black),
          // No swatch file: the colour is shown, nothing matches, and the picker is refused.
          Type("336699"), Shows("51 102 153 336699", none),
          Press(IDC_COLOURS), Box("Tintwell Error", kNoFile, IconKind::Error),
          Tray('x'), Exit(), Stored({0x00, normalDefault, compactDefault})}},

        {"a stored Normal position is restored and a moved window's position saved",
         Settings{0x01, {-20, 5}, compactAt}, "",
         {Main(Normal, {-20, 5}), Path(""), Shows(black, black),
          Move({250, 140}), Close(), Exit(), Stored({0x01, {250, 140}, compactAt})}},

        {"a path on the command line is loaded; typing matches; hex errors are refused",
         normal, f.web,
         {Main(Normal, normalAt), Path(f.web),
          Type("ff8000"), Shows("255 128 0 FF8000", "250 120 10 FA780A"),
          Type("33669"), Shows("255 128 0 33669", "250 120 10 FA780A"),
          Type("12GG00"), Box("Tintwell Error", kHexError, IconKind::Error),
          Shows("255 128 0 12GG00", "250 120 10 FA780A"),
          Menu('x'), Exit(), Stored(normal)}},

        {"a quoted path with a blank, as Explorer passes a dropped file, is loaded",
         std::nullopt, "\"" + f.grey + "\"",
         {Main(Compact, compactDefault),
          Type("7f7f7f"), Shows("127 127 127 7F7F7F", "128 128 128 808080"),
          Tray('x'), Exit()}},

        {"a missing file on the command line is reported before the dialog opens",
         std::nullopt, f.missing,
         {Box("Tintwell", kNotFound, IconKind::Warning), Main(Compact, compactDefault),
          Type("0000ff"), Shows("0 0 255 0000FF", none),
          Close(), Exit()}},

        {"files chosen in the open-file dialog: each failure keeps the previous file",
         normal, f.web,
         {Main(Normal, normalAt),
          Press(IDC_BROWSE), Browse(f.missing), Box("Tintwell", kNotFound, IconKind::Warning),
          Path(f.web),
          Press(IDC_BROWSE), Browse(f.empty), Box("Tintwell", kDamaged, IconKind::Warning),
          Press(IDC_BROWSE), Browse(f.noColours), Box("Tintwell", kNoColours, IconKind::Warning),
          Press(IDC_BROWSE), Browse(f.noFolder), Box("Tintwell", kNotOpened, IconKind::Warning),
          // A new Normal dialog shows the path the program holds: still the loaded file's.
          Menu('v'), Main(Compact), Tray('v'), Main(Normal), Path(f.web),
          Type("0b0b0b"), Shows("11 11 11 0B0B0B", "10 10 10 0A0A0A"),
          Press(IDC_BROWSE), Browse(f.unsupported),
          Box("Tintwell", kUnsupported, IconKind::Warning), Path(f.unsupported),
          Press(IDC_BROWSE), Browse(f.fewer), Box("Tintwell", kFewerColours, IconKind::Warning),
          Path(f.fewer), Type("00c000"), Shows("0 192 0 00C000", "0 200 0 00C800"),
          Menu('x'), Exit()}},

        {"Normal, Compact, Normal: the colours carry over; exit from the innermost dialog",
         normal, f.web,
         {Main(Normal, normalAt),
          Press(IDC_COLOURS), Pick(48, 96, 144), Shows(picked, pickedMatch),
          Menu('v'), Main(Compact, compactAt), Shows(picked, pickedMatch),
          Tray('v'), Main(Normal, normalAt), Path(f.web), Shows(picked, pickedMatch),
          Move({120, 80}), Menu('x'), Exit(), Stored({0x01, {120, 80}, compactAt})}},

        {"the About box closes by its button and with the main dialog, not by Escape or Enter",
         std::nullopt, "",
         {Main(Compact), Tray('a'), About(), Keys(), CloseAbout(), Keys(),
          Tray('a'), About(), Close(), Exit()}},
    };
    // clang-format on
}

TEST(Tintwell, AsAUserMeetsIt) {
    ASSERT_FALSE(g_exe.empty()) << "usage: e2e_test <path of tintwell.exe>";
    SettingsKeeper keeper;
    SwatchFiles files;
    ASSERT_EQ(files.web.find(' '), std::string::npos) << "the plain path must hold no blank";
    for (const Case& c : Cases(files)) {
        SCOPED_TRACE(c.name);
        DWORD start = GetTickCount();
        SettingsKeeper::Forget();
        ASSERT_TRUE(!c.stored || Store(*c.stored));
        Session session;
        ASSERT_TRUE(session.Start(g_exe, c.commandLine)) << "cannot start " << g_exe;
        std::string failure = session.RunAll(c.steps);
        EXPECT_EQ(failure, "");
        std::printf("%5lu ms  %s\n", GetTickCount() - start, c.name.c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1) {
        g_exe = remote::WindowsPath(argv[1]);
    }
    return RUN_ALL_TESTS();
}
