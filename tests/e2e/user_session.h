// A user's session with Tintwell as a list of steps, and the driver that carries them out on a
// separately started tintwell.exe, from outside: what the user does and what the user sees.
#ifndef TINTWELL_TESTS_E2E_USER_SESSION_H
#define TINTWELL_TESTS_E2E_USER_SESSION_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "remote_ui.h"

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
    Snap,          // a picture of the main dialog or the About box, saved as a BMP file
    Keys,          // Escape (and Enter, in the main dialog) pressed in the dialog in front
};

enum View { Normal, Compact };

struct Settings {
    BYTE options;  // 1 for the Normal view, 0 for the Compact one
    POINT normal, compact;
};

constexpr POINT kAnywhere = {-32768, -32768};

struct Step {
    Op op;
    std::vector<std::string> texts;
    POINT at = kAnywhere;
    POINT at2 = kAnywhere;
    remote::IconKind icon = remote::IconKind::None;
};

// clang-format off
inline Step Main(View view, POINT at = kAnywhere) { return {Op::Main, {view == Normal ? "Normal" : "Compact"}, at}; }
inline Step Shows(const std::string& user, const std::string& match) { return {Op::Shows, {user, match}}; }
inline Step Path(const std::string& path) { return {Op::Path, {path}}; }
inline Step Type(const std::string& text) { return {Op::Type, {text}}; }
inline Step Box(const char* caption, const char* text, remote::IconKind icon) { return {Op::Box, {caption, text}, kAnywhere, kAnywhere, icon}; }
inline Step Press(int id) { return {Op::Press, {}, {id, 0}}; }
inline Step Browse(const std::string& path) { return {Op::FileDialog, {path}}; }
inline Step Pick(int red, int green, int blue) { return {Op::ColourDialog, {std::to_string(red), std::to_string(green), std::to_string(blue)}}; }
// With a file name, a picture of the dialog and its open popup is taken before the choice.
inline Step Menu(char key, const std::string& snap = "") { return {Op::Menu, {std::string(1, key), snap}}; }
inline Step Tray(char key, const std::string& snap = "") { return {Op::Tray, {std::string(1, key), snap}}; }
inline Step About() { return {Op::About, {}}; }
inline Step CloseAbout() { return {Op::CloseAbout, {}}; }
inline Step Move(POINT to) { return {Op::Move, {}, to}; }
inline Step Close() { return {Op::Close, {}}; }
inline Step Keys() { return {Op::Keys, {}}; }
inline Step Exit() { return {Op::Exit, {}}; }
inline Step Stored(const Settings& s) { return {Op::Stored, {std::string(1, static_cast<char>(s.options))}, s.normal, s.compact}; }
inline Step SnapMain(const std::string& file) { return {Op::Snap, {"main", file}}; }
inline Step SnapAbout(const std::string& file) { return {Op::Snap, {"about", file}}; }
// clang-format on

class Session {
  public:
    bool Start(const std::string& exe, const std::string& commandLine) {
        return program.Start(exe, commandLine);
    }
    // Runs the steps in order up to the first failure; the answer names the step and the failure,
    // and is empty when every step went as expected.
    std::string RunAll(const std::vector<Step>& steps);

  private:
    // A message box that the next step does not answer is a failure: the program showed it in
    // reply to this step.
    std::string Run(const Step& step, bool boxNext);
    std::string Do(const Step& step);
    HWND Find(const char* windowClass, const std::function<bool(HWND)>& accept);
    HWND WaitFor(const char* windowClass, const std::function<bool(HWND)>& accept);
    HWND Control(int id) const { return GetDlgItem(main, id); }
    std::string Row(int red, int green, int blue, int hex) const;
    std::string ChooseFromPopup(const Step& step);
    std::string Type(const std::string& text);
    std::string AnswerBox(const Step& step);

    remote::Program program;
    HWND main = nullptr;
    HWND compact = nullptr;  // the last Compact dialog, whose tray icon must go with it
    HWND about = nullptr;
};

// The program's settings key, HKEY_LOCAL_MACHINE "SOFTWARE\Vexmoor Utils\Tintwell".
std::vector<BYTE> Position(POINT at);  // top, then left, each big-endian
std::vector<BYTE> StoredValue(const char* name);
bool Store(const Settings& settings);

// Whatever the key held is put back when this goes, from a copy kept beside it meanwhile.
class SettingsKeeper {
  public:
    SettingsKeeper();
    ~SettingsKeeper();
    SettingsKeeper(const SettingsKeeper&) = delete;
    SettingsKeeper& operator=(const SettingsKeeper&) = delete;
    static void Forget();  // removes the key: the next start is a first run

  private:
    bool saved = false;
};

#endif
