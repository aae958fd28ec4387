#include "app/input/pick_hotkey.h"

#include <commctrl.h>

#include <cstring>

#include "app/app_state.h"

namespace {

// The hotkey control's modifier bits, which the setting holds, as RegisterHotKey wants them.
UINT HotkeyModifiers(BYTE control) {
    return ((control & HOTKEYF_CONTROL) ? MOD_CONTROL : 0) |
           ((control & HOTKEYF_ALT) ? MOD_ALT : 0) | ((control & HOTKEYF_SHIFT) ? MOD_SHIFT : 0);
}

void Append(char* text, std::size_t size, const char* part) {
    std::size_t length = std::strlen(text);
    std::size_t room = size - length - 1;
    std::strncat(text, part, room);
}

}  // namespace

void HoldPickHotkey(HWND dialog) {
    const WORD hotkey = g_app.pickHotkey;
    g_app.pickHotkeyHeld =
        hotkey != 0 &&
        RegisterHotKey(dialog, kPickHotkeyId, HotkeyModifiers(HIBYTE(hotkey)), LOBYTE(hotkey));
}

void ReleasePickHotkey(HWND dialog) {
    if (g_app.pickHotkeyHeld) {
        UnregisterHotKey(dialog, kPickHotkeyId);
        g_app.pickHotkeyHeld = false;
    }
}

void DescribeHotkey(WORD hotkey, char* text, std::size_t size) {
    text[0] = '\0';
    const BYTE modifiers = HIBYTE(hotkey);
    const BYTE key = LOBYTE(hotkey);
    if (modifiers & HOTKEYF_CONTROL) {
        Append(text, size, "Ctrl+");
    }
    if (modifiers & HOTKEYF_ALT) {
        Append(text, size, "Alt+");
    }
    if (modifiers & HOTKEYF_SHIFT) {
        Append(text, size, "Shift+");
    }
    char name[32] = {};
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
        name[0] = static_cast<char>(key);
    } else {
        LONG scan = static_cast<LONG>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC)) << 16;
        if ((modifiers & HOTKEYF_EXT) != 0) {
            scan |= 1 << 24;
        }
        GetKeyNameTextA(scan, name, sizeof name);
    }
    Append(text, size, name);
}
