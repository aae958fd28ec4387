#include "app/settings.h"

#include <cstdlib>
#include <memory>

#include "app/app_state.h"
#include "app/settings_key.h"
#include "registry/registry_key.h"

using Marrowset::CRegistryKey;

namespace {

// The templates' sizes in dialog units, taken as pixels for the default positions.
constexpr SIZE kNormalNominal = {200, 103};
constexpr SIZE kCompactNominal = {59, 94};

struct FreeBlock {
    void operator()(BYTE* block) const { std::free(block); }
};
using ValueBlock = std::unique_ptr<BYTE, FreeBlock>;

void PlaceAt(RECT* rect, POINT position) {
    rect->left = position.x;
    rect->top = position.y;
}

POINT CentredOnScreen(SIZE nominal) {
    return CentredPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nominal.cx,
                           nominal.cy);
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

// Every writer stores the three values in this order.
void StoreSettings(CRegistryKey& key, ViewMode view, const RECT& normal, const RECT& compact) {
    BYTE options = view != ViewMode::Compact ? 0x01 : 0x00;
    key.SetValue(kOptionsValue, &options, sizeof options);
    SetPosition(key, kNormalPosValue, normal);
    SetPosition(key, kCompactPosValue, compact);
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
        StoreSettings(key, ViewMode::Compact, normal, compact);
        return true;
    } catch (...) {
        return false;
    }
}

// Reads one position value; false when it is missing, of another type or too short.
bool ReadPosition(CRegistryKey& key, const char* name, RECT* rect) {
    BYTE* data = nullptr;
    DWORD length = 0;
    if (!key.QueryValue(name, &data, &length)) {
        return false;
    }
    ValueBlock block(data);
    return DecodePosition(block.get(), length, rect);
}

bool ReadSettings() {
    try {
        CRegistryKey key(HKEY_LOCAL_MACHINE, kSettingsKeyPath, KEY_ALL_ACCESS);
        BYTE* data = nullptr;
        DWORD length = 0;
        if (key.QueryValue(kOptionsValue, &data, &length)) {
            ValueBlock options(data);
            if (length < 1) {
                return false;
            }
            g_app.view = (options.get()[0] & 0x01) ? ViewMode::Normal : ViewMode::Compact;
        } else {
            g_app.view = ViewMode::Normal;
        }
        return ReadPosition(key, kNormalPosValue, &g_app.normalRect) &&
               ReadPosition(key, kCompactPosValue, &g_app.compactRect);
    } catch (...) {
        return false;
    }
}

}  // namespace

POINT CentredPosition(int screenWidth, int screenHeight, int width, int height) {
    return POINT{(screenWidth - width) / 2, (screenHeight - height) / 2};
}

POINT DefaultPosition(ViewMode view) {
    return CentredOnScreen(view != ViewMode::Compact ? kNormalNominal : kCompactNominal);
}

void EncodePosition(const RECT& rect, BYTE value[kPositionSize]) {
    WriteBigEndian32(rect.top, value);
    WriteBigEndian32(rect.left, value + 4);
}

bool DecodePosition(const BYTE* value, DWORD length, RECT* rect) {
    if (value == nullptr || length < kPositionSize) {
        return false;
    }
    rect->top = ReadBigEndian32(value);
    rect->left = ReadBigEndian32(value + 4);
    return true;
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
        StoreSettings(key, g_app.view, g_app.normalRect, g_app.compactRect);
    } catch (...) {
        // Settings are a convenience: a registry the user may not write costs nothing else.
    }
    // Every caller relies on this to end the current dialog.
    EndDialog(g_app.mainWindow, 0);
    return TRUE;
}
