// The program's one process-wide state record. Everything after start-up runs in the modal loop of
// one main dialog at a time, and each view switch replaces that dialog, so whatever must survive a
// switch lives here.
#ifndef TINTWELL_APP_STATE_H
#define TINTWELL_APP_STATE_H

#include <windows.h>
#include <commdlg.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "app/views/tray_icon.h"
#include "app/unique_handle.h"
#include "swatch/swatch_names.h"
#include "swatch/swatch_table.h"

// Stored in the registry as the low bit of "Options"; any nonzero value counts as Normal.
enum class ViewMode : std::int32_t { Compact = 0, Normal = 1 };

// Stored in the registry as "Matching"; any other number counts as the channel sum.
enum class MatchMode : DWORD {
    kChannelSum = 0,  // the smallest sum of red, green and blue differences, RGB swatches only
    kPerceptual = 1,  // the smallest CIEDE2000 difference, every convertible colour space
};

constexpr std::size_t kSwatchPathSize = 512;
// A stored colour in the file's own terms, "Lab -100.00 -327.68 -327.68" at the longest.
constexpr std::size_t kStoredColourSize = 40;
// "<name> (swatch 65535 of 65535)" with the longest name kept, then "\nΔE 9999.9 · " and a stored
// colour, and the zero.
constexpr std::size_t kMatchTipSize = SwatchNames::kMaxUnits + 32 + 16 + kStoredColourSize;

// Handles of the current main dialog's controls; a control the view lacks stays null.
struct Controls {
    HWND swatchPath = nullptr;
    HWND browse = nullptr;
    HWND colours = nullptr;
    HWND userHex = nullptr;
    HWND userSample = nullptr;
    HWND userRed = nullptr;
    HWND userGreen = nullptr;
    HWND userBlue = nullptr;
    HWND userRedChip = nullptr;
    HWND userGreenChip = nullptr;
    HWND userBlueChip = nullptr;
    HWND matchHex = nullptr;
    HWND matchSample = nullptr;
    HWND matchRed = nullptr;
    HWND matchGreen = nullptr;
    HWND matchBlue = nullptr;
    HWND matchRedChip = nullptr;
    HWND matchGreenChip = nullptr;
    HWND matchBlueChip = nullptr;
};

// The swatch colour shown as the match, and where the table holds it; the tooltip's text is
// derived from it.
struct Match {
    static constexpr std::size_t kNone = SIZE_MAX;
    COLORREF colour = 0;  // SWATCH_NO_COLOUR: the search found none
    std::size_t position = kNone;
};

// What the main dialog shows of the user's colour and its match, to be put back later.
struct ShownColours {
    COLORREF user;
    Match match;
};

// Pixels on each side of the magnifier's square; the one under the cursor is in the middle.
constexpr int kMagnifiedSide = 11;

// A pick of the user's colour from the screen: with the left button held from the user's sample,
// or started by the command or the hotkey without a button.
struct ScreenPick {
    bool active = false;
    bool held = false;              // the left button is held: moves without it are not the user's
    bool cancelledByRight = false;  // ended by a right press whose release is still to come
    bool read = false;              // a pixel was read, so a kept pick keeps a colour
    POINT at{};                     // the screen point last read
    // Where the arrow keys put the cursor, oldest first, until the moves this causes arrive.
    POINT nudges[8]{};
    std::size_t nudgeCount = 0;
    ShownColours before{};  // what a cancelled pick puts back
    UniqueHook keys;        // the arrow keys, Enter and Escape while the pick lasts
    // The magnifier beside the cursor, an owned popup of the main dialog, while the pick lasts.
    UniqueWindow magnifier;
    UniqueFont magnifierFont;
    int cellSize = 0;  // of one magnified pixel, scaled for the monitor's DPI
    COLORREF magnified[kMagnifiedSide * kMagnifiedSide]{};
};

// Ctrl+Alt+Shift+C: Windows keeps no Ctrl+Alt+Shift chord for itself, and another common picker
// has Win+Shift+C. HOTKEYF_CONTROL | HOTKEYF_ALT | HOTKEYF_SHIFT, then 'C'.
constexpr WORD kDefaultPickHotkey = 0x0743;

// The colours the user kept last, newest first, without repeats.
constexpr std::size_t kRecentLimit = 12;
struct RecentColours {
    COLORREF colours[kRecentLimit]{};
    std::size_t count = 0;
};

struct AppState {
    ViewMode view = ViewMode::Compact;
    RECT normalRect{};   // only left and top are used: where the Normal dialog goes
    RECT compactRect{};  // the same for the Compact dialog
    COLORREF userColour = 0;
    Match match;
    MatchMode matching = MatchMode::kChannelSum;

    std::unique_ptr<SwatchTable> swatchTable;
    // The table keeps a pointer to this very buffer as its file name, so it lives as long as the
    // process. Narrow text in the process code page (UTF-8 where the manifest takes effect).
    char swatchPath[kSwatchPathSize]{};
    SwatchNames swatchNames;  // of the file the table holds

    // The tooltip's copy of what it says of the match shown; empty: no tooltip.
    wchar_t matchTipText[kMatchTipSize]{};
    UniqueWindow matchTip;  // the current main dialog's tooltip, an owned popup of it

    UniqueIcon smallIcon;  // window icon of the Normal view and image of the tray icon
    UniqueIcon largeIcon;  // About box; kept until the process ends
    // The current command menu: in the Normal view the dialog's own menu bar, in the Compact view
    // a loaded copy used as the tray popup.
    UniqueMenu menu;
    std::unique_ptr<TrayIcon> trayIcon;  // only while a Compact dialog is shown

    HWND mainWindow = nullptr;   // the main dialog now shown; owner of boxes and common dialogs
    HWND aboutWindow = nullptr;  // the About box while it is open
    // Set by a view switch from the end of one main dialog until the next one opens: the ending
    // dialog then gives up only what is its own, not what the run holds.
    bool switchPending = false;
    // Set while the program itself rewrites the hex edit, whose change notification would
    // otherwise be taken as the user typing; only HexEchoGuard sets it.
    bool ignoreHexChange = false;

    // Filled on first use and kept for the run, so the dialogs remember the user's choices.
    OPENFILENAMEW fileDialog{};  // wide: the chosen name arrives as UTF-16
    CHOOSECOLORA colourDialog{};
    COLORREF customColours[16]{};

    Controls controls;
    ScreenPick pick;
    RecentColours recent;
    // The hotkey that starts a pick from anywhere, as the hotkey control hands it out: modifiers
    // in the high byte, virtual key in the low one; 0: none. `pickHotkeyHeld` while it is ours.
    WORD pickHotkey = kDefaultPickHotkey;
    bool pickHotkeyHeld = false;
};

extern AppState g_app;

// The program's own module: templates and the menu always come from it.
HINSTANCE ProgramModule();

#endif
