// The remembered view and window positions, kept as REG_BINARY values under
// HKEY_LOCAL_MACHINE "SOFTWARE\Vexmoor Utils\Tintwell\", and the last swatch file that loaded,
// a REG_SZ value beside them.
#ifndef TINTWELL_SETTINGS_H
#define TINTWELL_SETTINGS_H

#include <windows.h>

#include "app/app_state.h"

// Sets the view and both positions, from the registry or from defaults; never fails.
void LoadSettings();
// Stores the view and both positions, then ends the current main dialog, whatever happened.
BOOL SaveSettings();

// Stores the path of the swatch file just loaded; silently nothing where the key cannot be
// written or does not exist yet.
void RememberSwatchFile();
// The remembered path into `path` (kSwatchPathSize bytes); false, with `path` empty, when there
// is none or it is not a whole text that fits.
bool RecallSwatchFile(char* path);

// A position value: top, then left, each a big-endian signed 32-bit number.
constexpr DWORD kPositionSize = 8;
void EncodePosition(const RECT& rect, BYTE value[kPositionSize]);
// False, leaving `rect` alone, when the value is too short to hold a position.
bool DecodePosition(const BYTE* value, DWORD length, RECT* rect);

// A view's default place: its template's size, taken as pixels, centred on the primary screen.
POINT DefaultPosition(ViewMode view);

// Where a window of the nominal size goes to stand centred on a screen of the given size.
POINT CentredPosition(int screenWidth, int screenHeight, int width, int height);

#endif
