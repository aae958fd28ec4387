#include "tests/support/palette_writer.h"

#include <fstream>

std::string Be16(unsigned value) {
    return {static_cast<char>(value >> 8 & 0xFF), static_cast<char>(value & 0xFF)};
}

std::string AcoHeader(unsigned version, unsigned count) {
    return Be16(version) + Be16(count);
}

std::string AcoRecord(unsigned space, unsigned c1, unsigned c2, unsigned c3, unsigned c4) {
    return Be16(space) + Be16(c1) + Be16(c2) + Be16(c3) + Be16(c4);
}

std::string AcoName(unsigned length, const std::u16string& units) {
    std::string bytes = Be16(length >> 16) + Be16(length & 0xFFFF);
    for (char16_t unit : units) {
        bytes += Be16(unit);
    }
    return bytes;
}

std::string AcoFile(const std::vector<Swatch>& swatches, bool named, int count) {
    const unsigned announced = count < 0 ? static_cast<unsigned>(swatches.size()) : count;
    std::string plain = AcoHeader(1, announced), names = AcoHeader(2, announced);
    for (const Swatch& s : swatches) {
        const std::string record = AcoRecord(s.space, s.red * 257, s.green * 257, s.blue * 257);
        plain += record;
        names += record + AcoName(static_cast<unsigned>(s.name.size() + 1), s.name + u'\0');
    }
    return named ? plain + names : plain;
}

bool WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    std::ofstream file(path, std::ios::binary);
    return file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush().good();
}

std::filesystem::path WriteSwatchFile(const std::filesystem::path& name,
                                      const std::vector<Swatch>& swatches, bool named, int count) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
    return WriteBytes(path, AcoFile(swatches, named, count)) ? path : std::filesystem::path();
}
