// Where the settings live: values under this key of HKEY_LOCAL_MACHINE, named here once for the
// program and for the end-to-end driver that prepares and reads them.
#ifndef TINTWELL_SETTINGS_KEY_H
#define TINTWELL_SETTINGS_KEY_H

constexpr char kSettingsKeyPath[] = "SOFTWARE\\Vexmoor Utils\\Tintwell\\";
constexpr char kOptionsValue[] = "Options";
constexpr char kNormalPosValue[] = "LastNormalPos";
constexpr char kCompactPosValue[] = "LastCompactPos";
constexpr char kLastFileValue[] = "LastSwatchFile";
constexpr char kMatchingValue[] = "Matching";
constexpr char kHistoryValue[] = "History";
constexpr char kPickHotkeyValue[] = "PickHotkey";

#endif
