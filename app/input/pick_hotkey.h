// The global hotkey that starts a pick from the screen from anywhere. Each main dialog holds it
// from its set-up until it is destroyed; where another program holds the chord, Tintwell runs on
// without it and says nothing.
#ifndef TINTWELL_PICK_HOTKEY_H
#define TINTWELL_PICK_HOTKEY_H

#include <windows.h>

#include <cstddef>

constexpr int kPickHotkeyId = 1;

// Registers g_app.pickHotkey for `dialog`; g_app.pickHotkeyHeld says whether it was granted.
void HoldPickHotkey(HWND dialog);
void ReleasePickHotkey(HWND dialog);

// The chord as a menu shows it, "Ctrl+Alt+Shift+C", into `text` of `size` characters.
void DescribeHotkey(WORD hotkey, char* text, std::size_t size);

#endif
