// The program's settings key, prepared before a start and read after an exit.
#include <cstdio>

#include "app/settings_key.h"
#include "session.h"

namespace {

const char* const kValueNames[] = {kOptionsValue, kNormalPosValue, kCompactPosValue};

// The three values' bytes in hex, each followed by a bar; an empty one is missing.
std::string Hex(const std::string (&values)[3]) {
    std::string text;
    char byte[4];
    for (const std::string& value : values) {
        for (unsigned char b : value) {
            std::snprintf(byte, sizeof byte, "%02X ", b);
            text += byte;
        }
        text += "| ";
    }
    return text;
}

}  // namespace

std::string Position(POINT at) {
    std::string value;
    for (LONG coordinate : {at.y, at.x}) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            value += static_cast<char>(static_cast<DWORD>(coordinate) >> shift);
        }
    }
    return value;
}

bool StoreValue(const char* name, DWORD type, const std::string& bytes) {
    return RegSetKeyValueA(HKEY_LOCAL_MACHINE, kSettingsKeyPath, name, type, bytes.data(),
                           static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

bool Store(const std::optional<Settings>& settings) {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSettingsKeyPath);
    return !settings || (StoreValue(kOptionsValue, REG_BINARY, std::string(1, settings->options)) &&
                         StoreValue(kNormalPosValue, REG_BINARY, Position(settings->normal)) &&
                         StoreValue(kCompactPosValue, REG_BINARY, Position(settings->compact)));
}

Step Stored(const Settings& settings) {
    const std::string expected[3] = {std::string(1, settings.options), Position(settings.normal),
                                     Position(settings.compact)};
    return {[=](Session&) {
        return Expect("stored settings", Hex(expected), [] {
            std::string values[3];
            for (int i = 0; i < 3; ++i) {
                char data[64];
                DWORD length = sizeof data;
                bool read = RegGetValueA(HKEY_LOCAL_MACHINE, kSettingsKeyPath, kValueNames[i],
                                         RRF_RT_ANY, nullptr, data, &length) == ERROR_SUCCESS;
                values[i].assign(data, read ? length : 0);
            }
            return Hex(values);
        });
    }};
}
