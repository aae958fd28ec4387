// Tintwell as a user meets it: the built tintwell.exe runs as a process of its own and is driven
// only from outside, through its windows, the real common dialogs, its menus and its tray popup.
// Each case ends with the program's exit code and the settings it left in the registry.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "remote_ui.h"
#include "res/resource.h"

namespace {

using remote::IconKind;
using Bytes = std::vector<BYTE>;

std::string g_exe;  // the tintwell.exe under test, from this program's command line

constexpr char kKeyPath[] = "SOFTWARE\\Vexmoor Utils\\Tintwell";
constexpr char kBackupPath[] = "SOFTWARE\\Vexmoor Utils\\Tintwell before e2e_test";
constexpr UINT kTrayNotify = WM_USER + 261;  // the tray icon's callback message
constexpr int kFileNameBox = 0x047C;         // cmb13: the open-file dialog's file name box
constexpr int kOldFileNameBox = 0x0480;      // edt1, in dialogs without the combo box
constexpr int kColourRed = 706;              // the colour dialog's red, green and blue edits

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

// ---- The program's settings key ----------------------------------------------------------------

Bytes Position(POINT at) {
    Bytes value;
    for (LONG coordinate : {at.y, at.x}) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            value.push_back(static_cast<BYTE>(static_cast<DWORD>(coordinate) >> shift));
        }
    }
    return value;
}

Bytes StoredValue(const char* name) {
    BYTE data[64];
    DWORD length = sizeof data;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, kKeyPath, name, RRF_RT_ANY, nullptr, data, &length) !=
        ERROR_SUCCESS) {
        return {};
    }
    return Bytes(data, data + length);
}

// Whatever the key held before the run is put back after it, from a copy kept beside it. A copy
// left by an interrupted run is the original: it is kept, not overwritten.
class KeyKeeper {
  public:
    KeyKeeper() { saved = Exists(kBackupPath) || Copy(kKeyPath, kBackupPath); }
    ~KeyKeeper() {
        Forget();
        if (saved && Copy(kBackupPath, kKeyPath)) {
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, kBackupPath);
        }
    }
    static void Forget() { RegDeleteTreeA(HKEY_LOCAL_MACHINE, kKeyPath); }

  private:
    static bool Exists(const char* path) {
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return false;
        }
        RegCloseKey(key);
        return true;
    }
    static bool Copy(const char* from, const char* to) {
        HKEY source, target;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, from, 0, KEY_READ, &source) != ERROR_SUCCESS) {
            return false;
        }
        bool copied = RegCreateKeyExA(HKEY_LOCAL_MACHINE, to, 0, nullptr, 0, KEY_ALL_ACCESS,
                                      nullptr, &target, nullptr) == ERROR_SUCCESS;
        if (copied) {
            copied = RegCopyTreeA(source, nullptr, target) == ERROR_SUCCESS;
            RegCloseKey(target);
        }
        RegCloseKey(source);
        return copied;
    }
    bool saved = false;
};

// ---- Swatch files, written for the run -------------------------------------------------------

struct Record {
    WORD colourSpace;
    BYTE red, green, blue;
};

// A header announcing `count` records, then the records; RGB channels as 16-bit values.
Bytes SwatchFile(WORD count, const std::vector<Record>& records) {
    Bytes bytes = {0, 1, static_cast<BYTE>(count >> 8), static_cast<BYTE>(count)};
    for (const Record& r : records) {
        BYTE record[10] = {static_cast<BYTE>(r.colourSpace >> 8),
                           static_cast<BYTE>(r.colourSpace),
                           r.red,
                           r.red,
                           r.green,
                           r.green,
                           r.blue,
                           r.blue,
                           0,
                           0};
        bytes.insert(bytes.end(), record, record + sizeof record);
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

// ---- What a case does, step by step ----------------------------------------------------------

enum class Op {
    Main,          // the main dialog of a view is shown, at a position if given
    Shows,         // the user's and the matched colour as shown: "red green blue hex"
    Path,          // the swatch path shown by the Normal view
    Type,          // typed into the hex edit
    Box,           // a message box with this caption, text and icon, answered with OK
    Press,         // a button of the main dialog
    FileDialog,    // the path typed into the open-file dialog, then Open
    ColourDialog,  // red, green and blue typed into the colour dialog, then OK
    Menu,          // the menu bar's Options menu, then the item with this mnemonic
    Tray,          // a right click on the tray icon, then the item with this mnemonic
    About,         // the About box is shown, centred by the main dialog's size
    CloseAbout,    // its Close button
    Move,          // the main dialog moved, as by dragging its caption
    Close,         // the main dialog's close box
    Exit,          // the program has ended with exit code 0 and left no tray icon
    Stored,        // the settings values: options byte, Normal position, Compact position
};

enum View { Normal, Compact };

struct Settings {
    BYTE options;
    POINT normal, compact;
};

constexpr POINT kAnywhere = {-32768, -32768};

struct Step {
    Op op;
    std::vector<std::string> texts;
    POINT at = kAnywhere;
    POINT at2 = kAnywhere;
    IconKind icon = IconKind::None;
};

Step Main(View view, POINT at = kAnywhere) {
    return {Op::Main, {view == Normal ? "Normal" : "Compact"}, at};
}
Step Shows(const std::string& user, const std::string& match) {
    return {Op::Shows, {user, match}};
}
Step Path(const std::string& path) {
    return {Op::Path, {path}};
}
Step Type(const std::string& text) {
    return {Op::Type, {text}};
}
Step Box(const char* caption, const char* text, IconKind icon) {
    return {Op::Box, {caption, text}, kAnywhere, kAnywhere, icon};
}
Step Press(int id) {
    return {Op::Press, {}, {id, 0}};
}
Step Browse(const std::string& path) {
    return {Op::FileDialog, {path}};
}
Step Pick(int red, int green, int blue) {
    return {Op::ColourDialog, {std::to_string(red), std::to_string(green), std::to_string(blue)}};
}
Step Menu(char key) {
    return {Op::Menu, {std::string(1, key)}};
}
Step Tray(char key) {
    return {Op::Tray, {std::string(1, key)}};
}
Step About() {
    return {Op::About, {}};
}
Step CloseAbout() {
    return {Op::CloseAbout, {}};
}
Step Move(POINT to) {
    return {Op::Move, {}, to};
}
Step Close() {
    return {Op::Close, {}};
}
Step Exit() {
    return {Op::Exit, {}};
}
Step Stored(const Settings& settings) {
    return {Op::Stored,
            {std::string(1, static_cast<char>(settings.options))},
            settings.normal,
            settings.compact};
}

void Store(const Settings& settings) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    const std::pair<const char*, Bytes> values[] = {{"Options", {settings.options}},
                                                    {"LastNormalPos", Position(settings.normal)},
                                                    {"LastCompactPos", Position(settings.compact)}};
    for (const auto& [name, data] : values) {
        RegSetValueExA(key, name, 0, REG_BINARY, data.data(), static_cast<DWORD>(data.size()));
    }
    RegCloseKey(key);
}

struct Case {
    std::string name;
    std::optional<Settings> stored;  // what the settings key holds at the start; none: no key
    std::string commandLine;
    std::vector<Step> steps;
};

// ---- The driver ------------------------------------------------------------------------------

bool IsMainDialog(HWND window) {
    return IsWindowVisible(window) && GetDlgItem(window, IDC_USER_HEX) != nullptr;
}

// The program's message boxes carry its name as their caption; its main dialogs do too, but they
// have the hex edit.
bool IsProgramMessageBox(HWND window) {
    std::string caption = remote::Text(window);
    return (caption == "Tintwell" || caption == "Tintwell Error") &&
           GetDlgItem(window, IDC_USER_HEX) == nullptr;
}

bool SamePlace(HWND window, POINT at) {
    RECT rect;
    return GetWindowRect(window, &rect) && rect.left == at.x && rect.top == at.y;
}

std::string Where(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return "(" + std::to_string(rect.left) + ", " + std::to_string(rect.top) + ")";
}

std::string Hex(const Bytes& bytes) {
    std::string text;
    char byte[4];
    for (BYTE b : bytes) {
        std::snprintf(byte, sizeof byte, "%02X ", b);
        text += byte;
    }
    return text;
}

class Session {
  public:
    // An empty answer means the step went as expected. A message box that the next step does not
    // answer is a failure: the program showed it in reply to this step.
    std::string Run(const Step& step, bool boxNext) {
        std::string failure = Do(step);
        if (failure.empty() && !boxNext && program.Running()) {
            if (HWND box = Find("#32770", IsProgramMessageBox)) {
                failure = "unexpected message box: " + remote::Text(GetDlgItem(box, 0xFFFF));
            }
        }
        return failure;
    }
    bool Start(const std::string& commandLine) { return program.Start(g_exe, commandLine); }

  private:
    HWND Find(const char* windowClass, const std::function<bool(HWND)>& accept) {
        return remote::FindWindowOf(program.Id(), windowClass, accept);
    }
    HWND WaitFor(const char* windowClass, const std::function<bool(HWND)>& accept) {
        return remote::WaitForWindowOf(program.Id(), windowClass, accept);
    }
    HWND Control(int id) const { return GetDlgItem(main, id); }
    std::string Row(int red, int green, int blue, int hex) const {
        return remote::Text(Control(red)) + " " + remote::Text(Control(green)) + " " +
               remote::Text(Control(blue)) + " " + remote::Text(Control(hex));
    }
    // Waits until `shown` gives `expected`; the answer names what was shown instead.
    static std::string Expect(const std::string& what, const std::string& expected,
                              const std::function<std::string()>& shown) {
        std::string last;
        if (remote::WaitUntil([&] { return (last = shown()) == expected; })) {
            return "";
        }
        return what + ": expected \"" + expected + "\", shown \"" + last + "\"";
    }
    // Opens a popup menu by `open`, then picks the item by its mnemonic as a keyboard user would.
    std::string ChooseFromPopup(const std::function<void()>& open, char key, bool fromTray) {
        open();
        HWND popup = WaitFor("#32768", IsWindowVisible);
        if (popup == nullptr) {
            return "no popup menu";
        }
        RECT rect;
        GetWindowRect(popup, &rect);
        POINT cursor{};
        GetCursorPos(&cursor);
        // The tray popup's corner sits at the cursor's x, a fixed 28 pixels above the screen's end.
        if (fromTray &&
            (rect.right != cursor.x || rect.bottom != GetSystemMetrics(SM_CYSCREEN) - 28)) {
            return "tray popup's bottom-right corner at (" + std::to_string(rect.right) + ", " +
                   std::to_string(rect.bottom) + ")";
        }
        PostMessageA(popup, WM_CHAR, static_cast<unsigned char>(key), 1);
        if (!remote::WaitUntil([&] { return !IsWindowVisible(popup); })) {
            return "the popup menu stayed open";
        }
        return "";
    }

    std::string Do(const Step& step) {
        switch (step.op) {
        case Op::Main: {
            bool normal = step.texts[0] == "Normal";
            HWND found = WaitFor("#32770", [&](HWND w) {
                return IsMainDialog(w) && (GetDlgItem(w, IDC_BROWSE) != nullptr) == normal;
            });
            if (found == nullptr) {
                return "no " + step.texts[0] + " dialog shown";
            }
            if (remote::Text(found) != "Tintwell") {
                return "main dialog titled " + remote::Text(found);
            }
            if (main != nullptr && IsWindowVisible(main)) {
                return "the previous dialog is still shown";
            }
            main = found;
            if (step.at.x != kAnywhere.x && !SamePlace(main, step.at)) {
                return "dialog at " + Where(main);
            }
            // The Compact view keeps an icon in the notification area; a switch away removes it
            // while the old dialog still exists.
            if (!normal && !remote::TrayKnowsIcon(main, 0)) {
                return "no tray icon with the Compact view";
            }
            if (normal && compact != nullptr && remote::TrayKnowsIcon(compact, 0)) {
                return "the tray icon outlived the Compact view";
            }
            if (!normal) {
                compact = main;
            }
            return "";
        }
        case Op::Shows: {
            std::string failure = Expect("user's colour", step.texts[0], [&] {
                return Row(IDC_USER_RED, IDC_USER_GREEN, IDC_USER_BLUE, IDC_USER_HEX);
            });
            if (!failure.empty()) {
                return failure;
            }
            return Expect("matched colour", step.texts[1], [&] {
                return Row(IDC_MATCH_RED, IDC_MATCH_GREEN, IDC_MATCH_BLUE, IDC_MATCH_HEX);
            });
        }
        case Op::Path:
            return Expect("path", step.texts[0],
                          [&] { return remote::Text(Control(IDC_SWATCH_PATH)); });
        case Op::Type: {
            HWND edit = Control(IDC_USER_HEX);
            // Select everything and delete it, then type: the edit takes at most six characters.
            PostMessageA(edit, EM_SETSEL, 0, -1);
            PostMessageA(edit, WM_CHAR, VK_BACK, 1);
            if (!remote::WaitUntil([&] { return remote::Text(edit).empty(); })) {
                return "the hex edit was not cleared";
            }
            remote::TypeChars(edit, step.texts[0]);
            // Each character is handled before the edit answers for it, so once all are there
            // the program has done what typing them does (a message box it shows also answers).
            std::size_t length = std::min<std::size_t>(step.texts[0].size(), 6);
            if (!remote::WaitUntil([&] { return remote::Text(edit).size() == length; })) {
                return "the typing did not arrive: " + remote::Text(edit);
            }
            return "";
        }
        case Op::Box: {
            HWND box = WaitFor("#32770",
                               [](HWND w) { return IsWindowVisible(w) && IsProgramMessageBox(w); });
            if (box == nullptr) {
                return std::string("no message box for: ") + step.texts[1];
            }
            std::string caption = remote::Text(box);
            std::string text = remote::Text(GetDlgItem(box, 0xFFFF));
            IconKind icon = IconKind::None;
            remote::WaitUntil([&] { return (icon = remote::MessageBoxIcon(box)) == step.icon; },
                              2000);
            remote::Click(GetDlgItem(box, IDOK));
            if (!remote::WaitUntil([&] { return !IsWindow(box); })) {
                return "the message box did not close";
            }
            if (caption != step.texts[0] || text != step.texts[1]) {
                return "message box \"" + caption + "\": \"" + text + "\"";
            }
            if (icon != step.icon) {
                return "message box icon " + std::to_string(static_cast<int>(icon));
            }
            return "";
        }
        case Op::Press:
            remote::Click(Control(step.at.x));
            return "";
        case Op::FileDialog: {
            HWND dialog = WaitFor("#32770", [](HWND w) {
                return IsWindowVisible(w) && (GetDlgItem(w, kFileNameBox) != nullptr ||
                                              GetDlgItem(w, kOldFileNameBox) != nullptr);
            });
            if (dialog == nullptr) {
                return "no open-file dialog";
            }
            HWND name = GetDlgItem(dialog, kFileNameBox);
            remote::SetText(name != nullptr ? name : GetDlgItem(dialog, kOldFileNameBox),
                            step.texts[0]);
            remote::Click(GetDlgItem(dialog, IDOK));
            if (!remote::WaitUntil([&] { return !IsWindow(dialog); })) {
                return "the open-file dialog did not take " + step.texts[0];
            }
            return "";
        }
        case Op::ColourDialog: {
            HWND dialog = WaitFor("#32770", [](HWND w) {
                return IsWindowVisible(w) && GetDlgItem(w, kColourRed) != nullptr;
            });
            if (dialog == nullptr) {
                return "no colour dialog";
            }
            for (int i = 0; i < 3; ++i) {
                remote::SetText(GetDlgItem(dialog, kColourRed + i), step.texts[i]);
            }
            remote::Click(GetDlgItem(dialog, IDOK));
            if (!remote::WaitUntil([&] { return !IsWindow(dialog); })) {
                return "the colour dialog did not close";
            }
            return "";
        }
        case Op::Menu:
            return ChooseFromPopup([&] { PostMessageA(main, WM_SYSCOMMAND, SC_KEYMENU, 'o'); },
                                   step.texts[0][0], false);
        case Op::Tray:
            return ChooseFromPopup([&] { PostMessageA(main, kTrayNotify, 0, WM_RBUTTONDOWN); },
                                   step.texts[0][0], true);
        case Op::About: {
            about = WaitFor("#32770", [](HWND w) {
                return IsWindowVisible(w) && remote::Text(w) == "About Tintwell";
            });
            if (about == nullptr) {
                return "no About box";
            }
            RECT mainRect;
            GetWindowRect(main, &mainRect);
            POINT centred = {
                (GetSystemMetrics(SM_CXSCREEN) - (mainRect.right - mainRect.left)) / 2,
                (GetSystemMetrics(SM_CYSCREEN) - (mainRect.bottom - mainRect.top)) / 2};
            if (!SamePlace(about, centred)) {
                return "About box at " + Where(about);
            }
            std::string terms = remote::Text(GetDlgItem(about, IDC_ABOUT_TERMS));
            std::size_t gap = terms.find("\r\n\r\n");
            if (gap == std::string::npos || terms.find("\r\n\r\n", gap + 4) == std::string::npos) {
                return "terms not in three paragraphs: " + terms;
            }
            return "";
        }
        case Op::CloseAbout:
            remote::Click(GetDlgItem(about, IDC_ABOUT_CLOSE));
            if (!remote::WaitUntil([&] { return !IsWindow(about); })) {
                return "the About box stayed open";
            }
            return IsWindowVisible(main) ? "" : "the main dialog went with the About box";
        case Op::Move:
            SetWindowPos(main, nullptr, step.at.x, step.at.y, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
            return remote::WaitUntil([&] { return SamePlace(main, step.at); })
                       ? ""
                       : "the dialog did not move";
        case Op::Close:
            PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
            return "";
        case Op::Exit: {
            DWORD code = 0;
            if (!program.WaitForExit(&code)) {
                return "the program did not end";
            }
            if (code != 0) {
                return "exit code " + std::to_string(code);
            }
            if (compact != nullptr && remote::TrayKnowsIcon(compact, 0)) {
                return "the tray icon outlived the program";
            }
            return "";
        }
        case Op::Stored: {
            Bytes options = StoredValue("Options");
            Bytes normal = StoredValue("LastNormalPos");
            Bytes compactPos = StoredValue("LastCompactPos");
            if (options != Bytes{static_cast<BYTE>(step.texts[0][0])} ||
                normal != Position(step.at) || compactPos != Position(step.at2)) {
                return "stored Options " + Hex(options) + "| LastNormalPos " + Hex(normal) +
                       "| LastCompactPos " + Hex(compactPos);
            }
            return "";
        }
        }
        return "unknown step";
    }

    remote::Program program;
    HWND main = nullptr;
    HWND compact = nullptr;  // the last Compact dialog, whose tray icon must go with it
    HWND about = nullptr;
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

        {"the About box closes by its button, and along with the main dialog",
         std::nullopt, "",
         {Main(Compact), Tray('a'), About(), CloseAbout(),
          Tray('a'), About(), Close(), Exit()}},
    };
    // clang-format on
}

TEST(Tintwell, AsAUserMeetsIt) {
    ASSERT_FALSE(g_exe.empty()) << "usage: e2e_test <path of tintwell.exe>";
    KeyKeeper keeper;
    SwatchFiles files;
    ASSERT_EQ(files.web.find(' '), std::string::npos) << "the plain path must hold no blank";
    for (const Case& c : Cases(files)) {
        SCOPED_TRACE(c.name);
        DWORD start = GetTickCount();
        KeyKeeper::Forget();
        if (c.stored) {
            Store(*c.stored);
        }
        Session session;
        ASSERT_TRUE(session.Start(c.commandLine)) << "cannot start " << g_exe;
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            bool boxNext = i + 1 < c.steps.size() && c.steps[i + 1].op == Op::Box;
            std::string failure = session.Run(c.steps[i], boxNext);
            if (!failure.empty()) {
                ADD_FAILURE() << "step " << i + 1 << ": " << failure;
                break;
            }
        }
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
