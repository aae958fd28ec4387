#include "app_fixture.h"

#include "app/main_dialog.h"
#include "app/settings.h"
#include "ui_script.h"

namespace {

const char* const kValueNames[] = {"Options", "LastNormalPos", "LastCompactPos"};

}  // namespace

Bytes ReadProgramValue(const char* name) {
    BYTE data[64];
    DWORD length = sizeof data;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, kSettingsKeyPath, name, RRF_RT_ANY, nullptr, data,
                     &length) != ERROR_SUCCESS) {
        return {};
    }
    return Bytes(data, data + length);
}

void WriteProgramValue(const char* name, DWORD type, const Bytes& data) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSettingsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, type, data.data(), static_cast<DWORD>(data.size()));
    RegCloseKey(key);
}

bool ProgramKeyExists() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettingsKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

ProgramKeyGuard::ProgramKeyGuard() : existed(ProgramKeyExists()) {
    for (int i = 0; i < 3; ++i) {
        saved[i] = ReadProgramValue(kValueNames[i]);
    }
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSettingsKeyPath);
}

ProgramKeyGuard::~ProgramKeyGuard() {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSettingsKeyPath);
    for (int i = 0; existed && i < 3; ++i) {
        if (!saved[i].empty()) {
            WriteProgramValue(kValueNames[i], REG_BINARY, saved[i]);
        }
    }
}

void AppTest::SetUp() {
    g_app = AppState{};
    g_app.swatchTable.reset(new SwatchTable);
}

void AppTest::TearDown() {
    g_app = AppState{};
}

INT_PTR AppTest::RunDialog(ViewMode view, UiScript& script) {
    g_app.view = view;
    script.Start();
    return RunViews();
}
