// The program's settings key, prepared before a start and read after an exit.
#include <cstdio>

#include "app/settings_key.h"
#include "session.h"

namespace {

// A value's bytes as stored, and its type; none when it is missing.
std::optional<std::string> Read(const char* name, DWORD* type = nullptr) {
    char data[64];
    DWORD length = sizeof data;
    return RegGetValueA(HKEY_LOCAL_MACHINE, kSettingsKeyPath, name, RRF_RT_ANY, type, data,
                        &length) == ERROR_SUCCESS
               ? std::optional<std::string>(std::string(data, length))
               : std::nullopt;
}

// The bytes in hex, each followed by a blank.
std::string Bytes(const std::string& value) {
    std::string text;
    char byte[4];
    for (unsigned char b : value) {
        std::snprintf(byte, sizeof byte, "%02X ", b);
        text += byte;
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
    const std::string expected = Bytes(std::string(1, settings.options)) + "| " +
                                 Bytes(Position(settings.normal)) + "| " +
                                 Bytes(Position(settings.compact));
    return {[=](Session&) {
        return Expect("stored settings", expected, [] {
            return Bytes(Read(kOptionsValue).value_or("")) + "| " +
                   Bytes(Read(kNormalPosValue).value_or("")) + "| " +
                   Bytes(Read(kCompactPosValue).value_or(""));
        });
    }};
}

Step StoredHistory(const std::string& colours) {
    return {[=](Session&) {
        return Expect("stored History", colours + ", binary", [] {
            DWORD type = REG_NONE;
            const std::string value = Read("History", &type).value_or("");
            std::string stored;
            for (std::size_t i = 0; i + 2 < value.size(); i += 3) {
                const auto* rgb = reinterpret_cast<const unsigned char*>(value.data() + i);
                stored += (stored.empty() ? "" : " ") + Hex(RGB(rgb[0], rgb[1], rgb[2]));
            }
            return stored + (type == REG_BINARY && value.size() % 3 == 0
                                 ? ", binary"
                                 : ", " + std::to_string(value.size()) + " bytes of type " +
                                       std::to_string(type));
        });
    }};
}
