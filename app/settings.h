// The remembered settings under HKEY_LOCAL_MACHINE "SOFTWARE\Vexmoor Utils\Tintwell\": the view
// and window positions, the way of matching, the recent colours, the pick hotkey and the last
// swatch file that loaded (the README's settings table says how each is stored).
#ifndef TINTWELL_SETTINGS_H
#define TINTWELL_SETTINGS_H

#include <windows.h>

#include "app/app_state.h"

// Sets the view, both positions, the recent colours and the pick hotkey, from the registry or from
// defaults; never fails.
void LoadSettings();
// Stores the view, both positions, the way of matching and the recent colours, then ends the
// current main dialog, whatever happened.
BOOL SaveSettings();

// Sets the way of matching from the registry, or the channel sum; read first of all, since it
// decides the warnings of the first file's load.
void RecallMatching();

// Stores the path of the swatch file just loaded; silently nothing where the key cannot be
// written or does not exist yet.
void RememberSwatchFile();
// The remembered path into `path` (kSwatchPathSize bytes); false, with `path` empty, when there
// is none or it is not a whole text that fits.
bool RecallSwatchFile(char* path);

// A position value: top, then left, each a big-endian signed 32-bit number.
constexpr DWORD kPositionSize = 8;
void EncodePosition(const RECT& rect, BYTE value[kPositionSize]);
void DecodePosition(const BYTE value[kPositionSize], RECT* rect);

#endif
