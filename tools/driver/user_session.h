// A user's session with Tintwell as a list of steps, carried out on a separately started
// tintwell.exe from outside: posted keystrokes and clicks go in, window texts and places come out.
// Every wait polls against a deadline, so a window that never comes fails its step.
#ifndef TINTWELL_DRIVER_USER_SESSION_H
#define TINTWELL_DRIVER_USER_SESSION_H

#include <windows.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/palette_writer.h"

struct Session;  // what the steps have found of the program's windows so far

// A step answers what it found otherwise than expected, or nothing.
struct Step {
    std::function<std::string(Session&)> run;
    bool answersBox = false;  // any other step finding a message box of the program fails
};

// Starts ProgramPath() in its own folder (where its icon file lies), as a shortcut would, and
// runs the steps up to the first failure, which the answer names with the step's number. A
// program still running then is killed, so that a failed case leaves nothing behind.
std::string RunSession(const std::string& arguments, const std::vector<Step>& steps);
// With a command line in UTF-16, as Explorer starts a program.
std::string RunSession(const std::wstring& arguments, const std::vector<Step>& steps);
// On a program someone else started, such as the shell opening a file; takes over its handle.
std::string RunSessionOn(HANDLE process, const std::vector<Step>& steps);

std::string& ProgramPath();  // the tintwell.exe driven: by default the program's first argument
// Wine hands arguments over as they were typed: a Unix path becomes one on drive Z:.
std::string WindowsPath(std::string path);
POINT Centred(int width, int height);  // the corner of a window of that size centred on screen

// Windows

enum View { Normal, Compact };
constexpr POINT kAnywhere = {-32768, -32768};

// That view's dialog shows (at `at`), the previous one is gone, and only Compact has a tray icon.
Step Main(View view, POINT at = kAnywhere);
Step Box(const std::string& caption, const std::string& text);  // then answered with OK
Step About();       // the About box shows where a centred main dialog would be
Step CloseAbout();  // by its Close button
Step Keys();        // Escape, and Enter in a main dialog, close nothing
Step Move(POINT to);
Step Close();  // the main dialog's close box
Step Exit();   // the program has ended with code 0

// Input

Step Type(const std::string& text);       // into the emptied hex edit
Step Press(int id);                       // a button of the main dialog
Step Browse(const std::string& path);     // Browse, the path typed into the file dialog, Open
Step Pick(int red, int green, int blue);  // Colours, the values typed into the dialog, OK
Step Menu(char key);                      // the Options menu, then the item with this mnemonic
Step Tray(char key);                      // the tray popup, then the item with this mnemonic
Step Drag(const std::vector<POINT>& to);  // the left button held from the user's sample to each
// WM_LBUTTONUP, WM_RBUTTONDOWN, WM_KEYDOWN (Escape) or WM_CANCELMODE (the capture taken by the
// system); the mouse is then free and the magnifier gone.
Step EndPick(UINT message);
Step Paste(const std::string& text);  // from the clipboard over the whole hex edit
// A right click on a sample, then the menu item with this mnemonic; the clipboard then holds
// `copied`, or for none, what it held before (the item was greyed).
Step Copy(int sample, char key, const std::string& copied);
Step Drop(const std::string& path);  // as Explorer drops a file on the dialog

// Checks

Step Shows(const std::string& user, const std::string& match);  // each "red green blue hex"
Step Path(const std::filesystem::path& path);                   // as the Normal view shows it
Step Painted(COLORREF user, COLORREF match);  // the samples' middle pixels on the screen
// The mouse rests on the matched sample; the tooltip reads `text` (UTF-8), or for "" none shows.
Step Tip(const std::string& text);

// A top-most 80-pixel square of one colour at `corner`, never focused; `shown` once on the screen.
struct ColourPatch {
    ColourPatch(COLORREF colour, POINT corner);
    ColourPatch(const ColourPatch&) = delete;
    ColourPatch& operator=(const ColourPatch&) = delete;
    ~ColourPatch();
    HBRUSH brush;
    HWND window;
    POINT middle;
    bool shown;
};

// The settings key

struct Settings {
    BYTE options;  // 1 for the Normal view, 0 for the Compact one
    POINT normal, compact;
};
// The program's settings key written anew; none: no key, so that the next start is a first run.
bool Store(const std::optional<Settings>& settings);
Step Stored(const Settings& settings);
// Values as stored, for what the program makes of values it did not write itself.
std::string Position(POINT at);  // top, then left, each big-endian
bool StoreValue(const char* name, DWORD type, const std::string& bytes);

// Picks beyond a drag: started without a button, the magnifier, the keys, the hotkey, the history.

// The Pick from Screen command, or the hotkey as Windows hands it over; the mouse is then held.
Step PickFromScreen(bool byHotkey);
Step Hover(const std::vector<POINT>& to);  // the cursor, without a button, to each point
// Keys as the keyboard types them, into the window in front: `key` `times` times, with Shift
// held if `shift`; the cursor is then at `cursor` (kAnywhere: not looked at).
Step Nudge(WORD key, bool shift, int times, POINT cursor = kAnywhere);
// The magnifier is whole on the screen and clear of the pixels around `at`; `cells`, unless
// empty, is its middle square's colour, the one left of it and its text: "RRGGBB RRGGBB text".
Step Magnified(POINT at, const std::string& cells = "");
Step NoMagnifier();
// Whether this program may register the pick hotkey's default chord while Tintwell runs.
Step HotkeyFree(bool free);
// A right click on a sample, its Recent Colours submenu, then the colour of that number ('1' the
// newest) or, for 'c', the clearing command.
Step Recent(int sample, char key);
Step StoredHistory(const std::string& colours);  // "RRGGBB RRGGBB ..." as stored, newest first

#endif
