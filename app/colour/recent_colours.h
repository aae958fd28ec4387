// The last colours the user kept (typed, pasted, chosen in the colour dialog, picked from the
// screen or chosen from this list), newest first and each once, as the samples' menus offer them
// and as the settings store them: three bytes a colour, red first.
#ifndef TINTWELL_RECENT_COLOURS_H
#define TINTWELL_RECENT_COLOURS_H

#include <windows.h>

#include "app/app_state.h"

// Puts `colour` first, taking it out from further down; the oldest goes beyond the limit.
void RememberColour(COLORREF colour);
void ClearRecentColours();

constexpr DWORD kRecentValueLimit = 3 * kRecentLimit;
// The list as stored; the number of bytes written.
DWORD EncodeRecentColours(const RecentColours& recent, BYTE value[kRecentValueLimit]);
// A stored list; an empty one for a value that is not whole colours or holds more than the limit.
RecentColours DecodeRecentColours(const BYTE* value, DWORD length);

#endif
