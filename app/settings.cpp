#include "app/settings.h"

#include "app/app_state.h"
#include "app/colour/recent_colours.h"
#include "app/settings_key.h"
#include "app/views/window_placement.h"
#include "registry/registry_key.h"

using Marrowset::CRegistryKey;

namespace {

void PlaceAt(RECT* rect, POINT position) {
    rect->left = position.x;
    rect->top = position.y;
}

void PlaceAtDefaults(RECT* normal, RECT* compact) {
    PlaceAt(normal, DefaultPosition(ViewMode::Normal));
    PlaceAt(compact, DefaultPosition(ViewMode::Compact));
}

void ApplyFallbackDefaults() {
    g_app.view = ViewMode::Normal;
    PlaceAtDefaults(&g_app.normalRect, &g_app.compactRect);
}

void WriteBigEndian32(LONG number, BYTE* out) {
    DWORD bits = static_cast<DWORD>(number);
    out[0] = static_cast<BYTE>(bits >> 24);
    out[1] = static_cast<BYTE>(bits >> 16);
    out[2] = static_cast<BYTE>(bits >> 8);
    out[3] = static_cast<BYTE>(bits);
}

LONG ReadBigEndian32(const BYTE* in) {
    DWORD bits = (DWORD{in[0]} << 24) | (DWORD{in[1]} << 16) | (DWORD{in[2]} << 8) | in[3];
    return static_cast<LONG>(bits);
}

void SetPosition(CRegistryKey& key, const char* name, const RECT& rect) {
    BYTE value[kPositionSize];
    EncodePosition(rect, value);
    key.SetValue(name, value, sizeof value);
}

// Every writer stores the values in this order, the ones added later last, so that where one of
// them cannot be written the others are already stored.
void StoreSettings(CRegistryKey& key, ViewMode view, const RECT& normal, const RECT& compact,
                   MatchMode matching, const RecentColours& recent) {
    BYTE options = view != ViewMode::Compact ? 0x01 : 0x00;
    key.SetValue(kOptionsValue, &options, sizeof options);
    SetPosition(key, kNormalPosValue, normal);
    SetPosition(key, kCompactPosValue, compact);
    key.SetDwordValue(kMatchingValue, static_cast<DWORD>(matching));
    BYTE history[kRecentValueLimit];
    key.SetValue(kHistoryValue, history, EncodeRecentColours(recent, history));
}

// Apart from the others: whatever stands there, the view and the places are read as before.
MatchMode ReadMatching(CRegistryKey& key) {
    DWORD number = 0;
    try {
        if (key.QueryDwordValue(kMatchingValue, &number) &&
            number == static_cast<DWORD>(MatchMode::kPerceptual)) {
            return MatchMode::kPerceptual;
        }
    } catch (...) {
    }
    return MatchMode::kChannelSum;
}

// Apart from the others too: a damaged list is an empty one.
RecentColours ReadRecentColours(CRegistryKey& key) {
    BYTE value[kRecentValueLimit];
    DWORD length = 0;
    try {
        if (key.QueryBinaryValueUpTo(kHistoryValue, value, sizeof value, &length)) {
            return DecodeRecentColours(value, length);
        }
    } catch (...) {
    }
    return RecentColours{};
}

// Missing or not a DWORD: the default; a number beyond the hotkey control's two bytes: none.
WORD ReadPickHotkey(CRegistryKey& key) {
    DWORD number = 0;
    try {
        if (!key.QueryDwordValue(kPickHotkeyValue, &number)) {
            return kDefaultPickHotkey;
        }
    } catch (...) {
        return kDefaultPickHotkey;
    }
    return number <= 0xFFFF ? static_cast<WORD>(number) : 0;
}

// A first run: create the key and store the defaults, Compact view first.
bool CreateDefaults() {
    try {
        CRegistryKey root(HKEY_LOCAL_MACHINE);
        CRegistryKey key =
            root.CreateKey(kSettingsKeyPath, "", REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr);
        RECT normal{};
        RECT compact{};
        PlaceAtDefaults(&normal, &compact);
        StoreSettings(key, ViewMode::Compact, normal, compact, MatchMode::kChannelSum,
                      RecentColours{});
        return true;
    } catch (...) {
        return false;
    }
}

// Reads one position value; false when it is of another type or too short.
bool ReadPosition(CRegistryKey& key, const char* name, RECT* rect) {
    BYTE value[kPositionSize];
    if (key.QueryBinaryValue(name, value, sizeof value) != CRegistryKey::BinaryRead::kRead) {
        return false;
    }
    DecodePosition(value, rect);
    return true;
}

bool ReadSettings() {
    try {
        CRegistryKey key(HKEY_LOCAL_MACHINE, kSettingsKeyPath, KEY_ALL_ACCESS);
        g_app.recent = ReadRecentColours(key);
        g_app.pickHotkey = ReadPickHotkey(key);
        BYTE options = 0;
        switch (key.QueryBinaryValue(kOptionsValue, &options, sizeof options)) {
        case CRegistryKey::BinaryRead::kRead:
            g_app.view = (options & 0x01) ? ViewMode::Normal : ViewMode::Compact;
            break;
        case CRegistryKey::BinaryRead::kOtherType:
            g_app.view = ViewMode::Normal;
            break;
        case CRegistryKey::BinaryRead::kTooShort:
            return false;
        }
        return ReadPosition(key, kNormalPosValue, &g_app.normalRect) &&
               ReadPosition(key, kCompactPosValue, &g_app.compactRect);
    } catch (...) {
        return false;
    }
}

}  // namespace

void EncodePosition(const RECT& rect, BYTE value[kPositionSize]) {
    WriteBigEndian32(rect.top, value);
    WriteBigEndian32(rect.left, value + 4);
}

void DecodePosition(const BYTE value[kPositionSize], RECT* rect) {
    rect->top = ReadBigEndian32(value);
    rect->left = ReadBigEndian32(value + 4);
}

void RecallMatching() {
    try {
        CRegistryKey key(HKEY_LOCAL_MACHINE, kSettingsKeyPath, KEY_READ);
        g_app.matching = ReadMatching(key);
    } catch (...) {
        g_app.matching = MatchMode::kChannelSum;
    }
}

void RememberSwatchFile() {
    try {
        CRegistryKey key(HKEY_LOCAL_MACHINE, kSettingsKeyPath, KEY_ALL_ACCESS);
        key.SetStringValue(kLastFileValue, g_app.swatchPath);
    } catch (...) {
    }
}

bool RecallSwatchFile(char* path) {
    bool read = false;
    try {
        CRegistryKey key(HKEY_LOCAL_MACHINE, kSettingsKeyPath, KEY_ALL_ACCESS);
        read = key.QueryStringValue(kLastFileValue, path, kSwatchPathSize);
    } catch (...) {
    }
    if (!read) {
        path[0] = '\0';
    }
    return path[0] != '\0';
}

void LoadSettings() {
    bool keyOpens = false;
    try {
        CRegistryKey probe(HKEY_LOCAL_MACHINE, kSettingsKeyPath, KEY_ALL_ACCESS);
        keyOpens = true;
    } catch (...) {
    }
    if (!keyOpens && !CreateDefaults()) {
        ApplyFallbackDefaults();
        return;
    }
    // Any failure replaces all three settings, also a view or position already read.
    if (!ReadSettings()) {
        ApplyFallbackDefaults();
    }
}

BOOL SaveSettings() {
    try {
        CRegistryKey key(HKEY_LOCAL_MACHINE, kSettingsKeyPath, KEY_ALL_ACCESS);
        // Only the window on screen is measured; the other view's position is the one held.
        // When the window is gone (a later save while the nested dialogs unwind) the
        // rectangle keeps its last value.
        RECT& current = g_app.view != ViewMode::Compact ? g_app.normalRect : g_app.compactRect;
        RECT measured;
        if (GetWindowRect(g_app.mainWindow, &measured)) {
            current = measured;
        }
        StoreSettings(key, g_app.view, g_app.normalRect, g_app.compactRect, g_app.matching,
                      g_app.recent);
    } catch (...) {
        // Settings are a convenience: a registry the user may not write costs nothing else.
    }
    // Every caller relies on this to end the current dialog.
    EndDialog(g_app.mainWindow, 0);
    return TRUE;
}
