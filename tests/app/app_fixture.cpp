#include "app_fixture.h"

#include <cstdio>

#include "app/settings.h"
#include "ui_script.h"

namespace {

void DeleteProgramKey() { RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSettingsKeyPath); }

}  // namespace

ProgramKeyGuard::ProgramKeyGuard() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettingsKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return;
    }
    existed = true;
    for (DWORD index = 0; index < 64; ++index) {
        char name[256];
        DWORD nameLength = sizeof name;
        BYTE data[1024];
        DWORD dataLength = sizeof data;
        DWORD type = 0;
        if (RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data, &dataLength) !=
            ERROR_SUCCESS) {
            break;
        }
        saved.push_back({name, type, std::vector<BYTE>(data, data + dataLength)});
    }
    RegCloseKey(key);
    DeleteProgramKey();
}

ProgramKeyGuard::~ProgramKeyGuard() {
    DeleteProgramKey();
    if (existed) {
        HKEY key;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSettingsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr);
        for (const Value& value : saved) {
            RegSetValueExA(key, value.name.c_str(), 0, value.type, value.data.data(),
                           static_cast<DWORD>(value.data.size()));
        }
        RegCloseKey(key);
    }
}

void AppTest::SetUp() {
    g_app = AppState{};
    g_app.swatchTable.reset(new SwatchTable);
}

void AppTest::TearDown() {
    g_app = AppState{};
    for (const std::string& file : files) {
        DeleteFileA(file.c_str());
    }
}

std::string AppTest::WriteSwatchFile(const std::vector<COLORREF>& colours, const char* name) {
    char directory[MAX_PATH];
    GetTempPathA(sizeof directory, directory);
    std::string path = std::string(directory) + name;
    std::vector<BYTE> bytes = {0, 1, static_cast<BYTE>(colours.size() >> 8),
                               static_cast<BYTE>(colours.size())};
    for (COLORREF colour : colours) {
        BYTE record[10] = {0, 0, GetRValue(colour), 0, GetGValue(colour), 0, GetBValue(colour), 0};
        bytes.insert(bytes.end(), record, record + sizeof record);
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    files.push_back(path);
    return path;
}

void AppTest::LoadSwatchFile(const std::string& path) {
    std::snprintf(g_app.swatchPath, sizeof g_app.swatchPath, "%s", path.c_str());
    g_app.swatchTable->SetFileName(g_app.swatchPath);
    ASSERT_TRUE(g_app.swatchTable->Load());
}

std::vector<BYTE> ReadProgramValue(const char* name, DWORD* type) {
    BYTE data[64];
    DWORD length = sizeof data;
    DWORD valueType = 0;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, kSettingsKeyPath, name, RRF_RT_ANY, &valueType, data,
                     &length) != ERROR_SUCCESS) {
        return {};
    }
    if (type != nullptr) {
        *type = valueType;
    }
    return std::vector<BYTE>(data, data + length);
}

void WriteProgramValue(const char* name, DWORD type, const std::vector<BYTE>& data) {
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

std::vector<std::string> ShownUserColour() {
    const Controls& c = g_app.controls;
    return {WindowText(c.userRed), WindowText(c.userGreen), WindowText(c.userBlue),
            WindowText(c.userHex)};
}

std::vector<std::string> ShownMatchedColour() {
    const Controls& c = g_app.controls;
    return {WindowText(c.matchRed), WindowText(c.matchGreen), WindowText(c.matchBlue),
            WindowText(c.matchHex)};
}
